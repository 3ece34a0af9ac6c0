// Start-up display, reading the device back, and the RESET, REINIT and EXIT
// buttons.

#include "Mainunit.h"

#include "ClockPanel.h"
#include "ConfigControlPanel.h"
#include "I2cunit.h"
#include "Look.h"

#include <QLabel>

void TMainForm::SetInitialDisplay() {
    panelClockControl_->ShowFormatLabels();
    const int bankItem = panelConfigControl_->SelectionItem();
    strip_.LabelBankAutoMan->setText(QString::fromStdString(configControl_->BankModeText(bankItem)));
    strip_.LabelBankSelected->setText(QString::fromStdString(configControl_->BankNumberText(bankItem)));
    strip_.LabelBiquadUnits->setText("NONE");
    ShowStatus("OK", Colours::Green);
    strip_.LabelVolumeUnits->setText("00.0 dB");
}

void TMainForm::ResyncFromDevice() {
    table_->ReadRegisters(0x00, 0xFF);
    ShowStatus("OK", Colours::Green);
    if (!transport_.IsTransferOk()) {
        // The bus refuses every write now, so the init file only fills the
        // table and the panels show defined values.
        ShowProblems(QString(InitFileName) + ": ",
                     table_->LoadConfigFile(StartFileName(InitFileName)).problems);
        UpdateGainIndicators();
        RefreshAll();
    }
    ShowBusStatus();
}

void TMainForm::RESETsuiButtonClick() {
    RestoreStartDirectory();
    transport_.Reconnect();
    ResyncFromDevice();
    RefreshAll();
    FillFileLists();
    ShowBusStatus();
}

void TMainForm::REINITsuiButtonClick() {
    RestoreStartDirectory();
    // The temp file is the only copy of the user's settings once the device
    // has been reset: without a complete one, the device is left alone.
    if (table_->SaveConfigFileNoPrompt(StartFileName(TempFileName)) != SaveOutcome::Saved) {
        SetComment(QString("REINIT not done: cannot write %1 in %2").arg(TempFileName, startDirectory_));
        return;
    }
    transport_.Reconnect();
    ShowProblems(QString(TempFileName) + ": ", table_->LoadConfigFile(StartFileName(TempFileName)).problems);
    UpdateGainIndicators();
    RefreshAll();
    ResyncFromDevice();
    RefreshAll();
    FillFileLists();
    ShowBusStatus();
}

void TMainForm::ExitsuiButtonClick() {
    dataLog_->CloseLog();
    close();
}

void TMainForm::exitClick() {
    close();
}
