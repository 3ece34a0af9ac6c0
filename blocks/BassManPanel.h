#pragma once

#include "BlockPanel.h"
#include "MixingPoint.h"

#include <QString>

#include <array>
#include <functional>
#include <vector>

class IGainEntry;
class IMainWindowHooks;
class QComboBox;
class QLabel;
class QPushButton;
class TConfigDataUnit;
struct DisplayStrip;

// "BASS MANAGEMENT CONTROL": the block diagram of channels 1, 2, 7 and 8
// with a picture button on each of its eight gains, three predefined
// configurations loaded as configuration files, and jumps to the mixers and
// to the equaliser stages drawn on the diagram.
class TBassManPanel : public BlockPanel {
    Q_OBJECT
public:
    // Where the jump buttons lead: the mixer panel with its input (true) or
    // output box in front, and the equaliser panel on a channel item and
    // biquad item.
    struct Jumps {
        std::function<void(bool input)> mixer;
        std::function<void(int channelItem, int biquadItem)> equaliser;
    };
    static constexpr const char* PresetFiles[3] = {"QMX4600BassManOne.cfg", "QMX4600BassManTwo.cfg",
                                                   "QMX4600BassManThree.cfg"};
    static constexpr const char* FourChannelPicture = "QMX4600BassMan4Ch.jpg";
    static constexpr const char* ThreeChannelPicture = "QMX4600BassMan3Ch.jpg";

    TBassManPanel(TConfigDataUnit& table, IGainEntry& gain, IMainWindowHooks& hooks,
                  const DisplayStrip& strip, QString startDirectory, Jumps jumps, QWidget* parent = nullptr);

    // The pictures and tooltips of the eight gains (0x49 ... 0x50) and the
    // legend.
    void ShowGainIndicators(TGainPictures& pictures);
    // At 176.4 and 192 kHz: the three-channel diagram, without the gain
    // buttons, their labels and channel 7's equaliser jumps; the
    // four-channel diagram with all of them otherwise. The visibility is set
    // first; a diagram that cannot be read raises an error naming it.
    void AdjustToSampleRate(bool highRate);

    const std::vector<MixingPoint>& MixingPoints() const { return points_; }

    // Opens the gain window on the point's register; then the pictures.
    void GainPointClick(int subAddress);
    // Loads the chosen preset inside the mute bracket.
    void BassMansuiComboBoxChange();

private:
    void BuildDiagram();
    void BuildJumps();
    void BuildOptions();
    void WriteSoftMute(uint8_t value);

    TConfigDataUnit& table_;
    IGainEntry& gain_;
    IMainWindowHooks& hooks_;
    const DisplayStrip& strip_;
    QString startDirectory_;
    Jumps jumps_;
    QLabel* image_ = nullptr;
    QComboBox* presets_ = nullptr;
    std::vector<MixingPoint> points_;
    // Hidden at the high rates with the gain buttons.
    std::vector<QWidget*> fourChannelOnly_;
    std::array<QToolButton*, 3> legend_{};
};
