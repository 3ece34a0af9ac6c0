#pragma once

#include "BlockPanel.h"

#include <array>

class IMainWindowHooks;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class TConfigDataUnit;
class TTone;
class TrackBar;

// The tone panel: a filter set and a level for each of the four tone
// controls (bass and treble, each for DAP channel 4 and for DAP channels
// 1,2,3), and the two buttons that put the tone stages inline or bypass them.
// Every change is stored in the register table and sent at once.
class TTonePanel : public BlockPanel {
    Q_OBJECT
public:
    TTonePanel(TConfigDataUnit& table, TTone& tone, IMainWindowHooks& hooks, QWidget* parent = nullptr);

    // Filter-set boxes and level bars from the table; a bar that moves
    // writes its register back. The inline/bypass buttons keep their state.
    void RefreshTone();
    // At 176.4 and 192 kHz control 2 serves DAP channels 1 and 2 only.
    void AdjustToSampleRate(bool highRate);

    void BassFilterSet1suiComboBoxChange();
    void BassFilterSet2suiComboBoxChange();
    void TrebleFilterSet1suiComboBoxChange();
    void TrebleFilterSet2suiComboBoxChange();

    void BassToneTrackBar1Change();
    void BassToneTrackBar2Change();
    void TrebleToneTrackBar1Change();
    void TrebleToneTrackBar2Change();
    void BassTonesuiScrollBar1Change();
    void BassTonesuiScrollBar2Change();
    void TrebleTonesuiScrollBar1Change();
    void TrebleTonesuiScrollBar2Change();
    void BassToneZerosuiButton1Click();
    void BassToneZerosuiButton2Click();
    void TrebleToneZerosuiButton1Click();
    void TrebleToneZerosuiButton2Click();

    void BassTonesuiButton1Click();
    void BassTonesuiButton2Click();

private:
    // Level controls 0, 1 are bass 1, 2; 2, 3 are treble 1, 2.
    static constexpr int LevelCount = 4;
    struct Level {
        int subAddress = 0;
        int control = 1; // 1 = DAP Ch 4, 2 = DAP Ch 1,2,3
        TrackBar* trackBar = nullptr;
        QScrollBar* scrollBar = nullptr;
        QPushButton* zeroButton = nullptr;
        QLabel* valueLabel = nullptr;
    };
    // One kind's pair of filter-set boxes (0 = bass, 1 = treble).
    struct FilterSets {
        int subAddress = 0;
        QComboBox* set1 = nullptr;
        QComboBox* set2 = nullptr;
        QLabel* set2Label = nullptr;
    };

    void BuildLevels();
    void BuildFilterSets();
    void BuildNotes();
    void BuildSwitches();
    void TrackBarChange(int level);
    void ScrollBarChange(int level);
    void ZeroButtonClick(int level);
    void WriteLevel(int level);
    void FilterSetChange(int kind);
    void SwitchClick(int button);

    TConfigDataUnit& table_;
    TTone& tone_;
    IMainWindowHooks& hooks_;
    std::array<Level, LevelCount> levels_;
    std::array<FilterSets, 2> filterSets_;
    std::array<QLabel*, 2> numLabels2_{};
    std::array<QFrame*, 2> blankPanels_{};
    QFrame* panelLessThan96K_ = nullptr;
    QFrame* panelGreaterThan96K_ = nullptr;
    std::array<QPushButton*, 2> switches_{};
    // Inline/bypass states kept by the program; the device is not asked.
    std::array<bool, 2> switchOn_{};
};
