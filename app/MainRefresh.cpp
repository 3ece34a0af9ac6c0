// Bringing the main window in line with the register table and with the
// device's sample-rate mode.

#include "Mainunit.h"

#include "ClockPanel.h"
#include "DrcPanel.h"
#include "ConfigControlPanel.h"
#include "EqPanel.h"
#include "I2cunit.h"
#include "Look.h"
#include "LoudnessPanel.h"
#include "HandlerGuard.h"
#include "MixerPanel.h"
#include "BassManPanel.h"
#include "TonePanel.h"
#include "VolumePanel.h"

#include <QLabel>

void TMainForm::AdjustToSampleRateMode() {
    strip_.LabelFsUnits->setText(QString::fromStdString(dataClocks_->GetRateText()));
    panelVolume_->AdjustToSampleRate(dataClocks_->IsHighRate());
    panelTone_->AdjustToSampleRate(dataClocks_->IsHighRate());
    panelDRC_->AdjustToSampleRate(dataClocks_->IsHighRate());
    panelBiquad_->AdjustToSampleRate(dataClocks_->IsHighRate());
    panelMixer_->AdjustToSampleRate(dataClocks_->IsHighRate());
    // A diagram that cannot be shown is reported; the panels are adapted all the same.
    RunGuarded(this, [this] { panelBassManagement_->AdjustToSampleRate(dataClocks_->IsHighRate()); });
}

void TMainForm::RefreshAll() {
    panelVolume_->RefreshVolume();
    panelTone_->RefreshTone();
    panelLoudness_->RefreshLoudness();
    panelDRC_->RefreshDrc();
    panelBiquad_->AdjustToSampleRate(dataClocks_->IsHighRate());
    panelClockControl_->RefreshClocks();
    // The source combos hold a choice not yet written while the user looks
    // at them; the five-second poll must not put them back.
    if (!(!panelMixer_->isHidden() && strip_.AutoDetectStatusLabel->text() == "ON"))
        panelMixer_->RefreshMixer();
    // The bank panel is not set from register 0x40; it only says when the
    // register no longer holds what the panel shows.
    panelConfigControl_->ShowRegisterNotice();
    if (firstRefresh_) {
        firstRefresh_ = false;
        FillFileLists();
    }
    ShowBusStatus();
}

void TMainForm::UpdateGainIndicators() {
    RunGuarded(this, [this] {
        TGainPictures pictures(startDirectory_);
        panelBassManagement_->ShowGainIndicators(pictures);
        panelMixer_->ShowGainIndicators(pictures);
    });
}

void TMainForm::FillFileLists() {
    panelDRC_->FillDrcFileCombo();
    panelLoudness_->FillLoudnessFileCombo();
    panelBiquad_->FillEqFileCombo();
}

void TMainForm::ShowStatus(const QString& text, Rgb colour) {
    strip_.LabelStatusUnits->setText(text);
    SetTextColour(strip_.LabelStatusUnits, colour);
}

void TMainForm::ShowBusStatus() {
    if (!transport_.IsUsbConnected())
        ShowStatus("USB Error", Colours::Red);
    else if (!transport_.IsTransferOk())
        ShowStatus("I2C Error", Colours::Red);
    else
        ShowStatus("OK", Colours::Green);
}
