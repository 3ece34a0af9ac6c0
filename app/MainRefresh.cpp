// Bringing the main window in line with the register table and with the
// device's sample-rate mode.

#include "Mainunit.h"

#include "ClockPanel.h"
#include "I2cunit.h"
#include "Look.h"
#include "VolumePanel.h"

#include <QLabel>

void TMainForm::AdjustToSampleRateMode() {
    strip_.LabelFsUnits->setText(QString::fromStdString(dataClocks_->GetRateText()));
    panelVolume_->AdjustToSampleRate(dataClocks_->IsHighRate());
}

void TMainForm::RefreshAll() {
    panelVolume_->RefreshVolume();
    panelClockControl_->RefreshClocks();
    ShowBusStatus();
}

void TMainForm::ShowBusStatus() {
    QLabel* status = strip_.LabelStatusUnits;
    if (!transport_.IsUsbConnected()) {
        status->setText("USB Error");
        SetTextColour(status, Colours::Red);
    } else if (!transport_.IsTransferOk()) {
        status->setText("I2C Error");
        SetTextColour(status, Colours::Red);
    } else {
        status->setText("OK");
        SetTextColour(status, Colours::Green);
    }
}
