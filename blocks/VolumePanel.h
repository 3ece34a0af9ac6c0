#pragma once

#include "BlockPanel.h"
#include "DisplayStrip.h"

#include <array>

class IMainWindowHooks;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class TConfigDataUnit;
class TVolume;
class TrackBar;
class UpDown;

// The volume panel: five columns (master and DAP 1..4), each a track bar
// with its up-down, dB label, zero button, mute button and mute check box.
// Every control's event stores the new step in the register table and sends
// it at once, in the order the device expects.
class TVolumePanel : public BlockPanel {
    Q_OBJECT
public:
    // `strip` must hold LabelVolumeUnits and MainMasterUpDown.
    TVolumePanel(TConfigDataUnit& table, TVolume& volume, const DisplayStrip& strip, IMainWindowHooks& hooks,
                 QWidget* parent = nullptr);

    // Track bars from their registers (a bar that moves writes its register
    // back), then the mute check boxes from the soft-mute register.
    void RefreshVolume();
    // At 176.4 and 192 kHz the device has no DAP 3 volume: its column gives
    // way to a notice.
    void AdjustToSampleRate(bool highRate);

    void MasterVTrackBarChange();
    void Ch1VTrackBarChange();
    void Ch2VTrackBarChange();
    void Ch3VTrackBarChange();
    void Ch4VTrackBarChange();

    void MasterVZerosuiButtonClick();
    void Ch1VZerosuiButtonClick();
    void Ch2VZerosuiButtonClick();
    void Ch3VZerosuiButtonClick();
    void Ch4VZerosuiButtonClick();

    void MasterVMutesuiButtonClick();
    void Ch1VMutesuiButtonClick();
    void Ch2VMutesuiButtonClick();
    void Ch3VMutesuiButtonClick();
    void Ch4VMutesuiButtonClick();

    void MasterVMuteCheckBoxClick();
    void Ch1VMuteCheckBoxClick();
    void Ch2VMuteCheckBoxClick();
    void Ch3VMuteCheckBoxClick();
    void Ch4VMuteCheckBoxClick();

    void MasterUpDownVolumeClick();
    void Ch1UpDownVolumeClick();
    void Ch2UpDownVolumeClick();
    void Ch3UpDownVolumeClick();
    void Ch4UpDownVolumeClick();

    void MainMasterUpDownClick();

private:
    // Column 0 is the master, columns 1..4 are the channels of the same number.
    static constexpr int ColumnCount = 5;
    static constexpr int Master = 0;

    struct Column {
        int subAddress = 0;
        QFrame* panel = nullptr;
        TrackBar* trackBar = nullptr;
        QLabel* dBLabel = nullptr;
        QPushButton* zeroButton = nullptr;
        QPushButton* muteButton = nullptr;
        QCheckBox* muteCheckBox = nullptr;
        UpDown* upDown = nullptr;
    };

    void BuildColumns();
    void TrackBarChange(int column);
    void ZeroButtonClick(int column);
    void MuteButtonClick(int column);
    void ChannelMuteCheckBoxClick(int channel);
    void UpDownClick(int column);
    void ShowVolume(int step, QLabel* label);
    void ShowMuteBoxes();

    TConfigDataUnit& table_;
    TVolume& volume_;
    DisplayStrip strip_;
    IMainWindowHooks& hooks_;
    std::array<Column, ColumnCount> columns_;
    QLabel* blankVolumePanel_ = nullptr;
};
