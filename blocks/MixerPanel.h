#pragma once

#include "BlockPanel.h"
#include "MixingPoint.h"

#include <array>
#include <vector>

class IGainEntry;
class QComboBox;
class QGroupBox;
class QPushButton;
class TConfigDataUnit;
class TMixers;

// "MIXER CONTROL": the input mixer as a matrix of 8 serial inputs by 4 DAP
// channels and the output mixer's 10 rows, each point a picture button that
// opens the gain entry window on its register with its row ready for typing.
// The panel writes nothing itself: every write goes through that window.
class TMixerPanel : public BlockPanel {
    Q_OBJECT
public:
    TMixerPanel(const TConfigDataUnit& table, TMixers& mixers, IGainEntry& gain, QWidget* parent = nullptr);

    // The source combos from the output-mixer registers.
    void RefreshMixer();
    // The pictures and tooltips of every mixing point, registers 0x41 ...
    // 0x44 then 0xAA, 0xAB, 0xB0, 0xB1, and the legend.
    void ShowGainIndicators(TGainPictures& pictures);
    // DAP 3 and DAP 4 stay in both rate modes; the blank box stays hidden.
    void AdjustToSampleRate(bool highRate);

    const std::vector<MixingPoint>& MixingPoints() const { return points_; }

    void MixerInputsuiButtonClick();
    void MixerOutputsuiButtonClick();
    // Input mixing point of DAP channel n (1..4) and serial input m (1..8).
    void InputPointClick(int dap, int input);
    // Output row (1..3) of PWM output (1..4); a combo change runs the same.
    void OutputPointClick(int pwm, int row);

private:
    void BuildInputMixer();
    void BuildOutputMixer();

    const TConfigDataUnit& table_;
    TMixers& mixers_;
    IGainEntry& gain_;
    QGroupBox* inputBox_ = nullptr;
    QGroupBox* outputBox_ = nullptr;
    std::vector<MixingPoint> points_;
    // Source combos of each PWM output, rows a, b (and c).
    std::array<std::vector<QComboBox*>, 4> combos_;
    std::array<QToolButton*, 3> legend_{};
};
