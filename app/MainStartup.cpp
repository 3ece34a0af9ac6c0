// Start-up display, reading the device back, and the RESET, REINIT and EXIT
// buttons.

#include "Mainunit.h"

#include "ClockPanel.h"
#include "I2cunit.h"
#include "Look.h"
#include "RadioGroup.h"

#include <QLabel>

void TMainForm::SetInitialDisplay() {
    const int format = panelClockControl_->findChild<RadioGroup*>("SerialFormatRadioGroup")->ItemIndex();
    strip_.LabelFormatType->setText(QString::fromStdString(TDataClocks::GetFormatType(format)));
    strip_.LabelFormatBits->setText(QString::fromStdString(TDataClocks::GetFormatBits(format)));
    // The bank panel starts on its first item, manual bank 1.
    constexpr int bankItem = 0;
    strip_.LabelBankAutoMan->setText(QString::fromStdString(TConfigControl::BankModeText(bankItem)));
    strip_.LabelBankSelected->setText(QString::fromStdString(TConfigControl::BankNumberText(bankItem)));
    strip_.LabelBiquadUnits->setText("NONE");
    strip_.LabelStatusUnits->setText("OK");
    SetTextColour(strip_.LabelStatusUnits, Colours::Green);
    strip_.LabelVolumeUnits->setText("00.0 dB");
}

void TMainForm::ResyncFromDevice() {
    table_->ReadRegisters(0x00, 0xFF);
    strip_.LabelStatusUnits->setText("OK");
    SetTextColour(strip_.LabelStatusUnits, Colours::Green);
    if (!transport_.IsTransferOk()) {
        // The bus refuses every write now, so the init file only fills the
        // table and the panels show defined values.
        ShowFileProblems(InitFileName, table_->LoadConfigFile(InStartDirectory(InitFileName).toStdString()));
        RefreshAll();
    }
    ShowBusStatus();
}

void TMainForm::RESETsuiButtonClick() {
    RestoreStartDirectory();
    transport_.Reconnect();
    ResyncFromDevice();
    RefreshAll();
    ShowBusStatus();
}

void TMainForm::REINITsuiButtonClick() {
    RestoreStartDirectory();
    // The temp file is the only copy of the user's settings once the device
    // has been reset: without a complete one, the device is left alone.
    if (table_->SaveConfigFileNoPrompt(InStartDirectory(TempFileName).toStdString()) != SaveOutcome::Saved) {
        SetComment(QString("REINIT not done: cannot write %1 in %2").arg(TempFileName, startDirectory_));
        return;
    }
    transport_.Reconnect();
    ShowFileProblems(TempFileName, table_->LoadConfigFile(InStartDirectory(TempFileName).toStdString()));
    RefreshAll();
    ResyncFromDevice();
    RefreshAll();
    ShowBusStatus();
}

void TMainForm::ExitsuiButtonClick() {
    dataLog_->CloseLog();
    close();
}

void TMainForm::exitClick() {
    close();
}
