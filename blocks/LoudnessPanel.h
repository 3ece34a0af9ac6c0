#pragma once

#include "BlockPanel.h"
#include "DisplayStrip.h"

#include <array>

class DecimalHexRow;
class IMainWindowHooks;
class QComboBox;
class TConfigDataUnit;
class TLoudness;

// The loudness panel: the four loudness parameters, each as a decimal
// number and as register bytes (scratch copies until SEND), the list of
// loudness filter files with their LOAD button, and the examples document.
class TLoudnessPanel : public BlockPanel {
    Q_OBJECT
public:
    // `strip` must hold AutoDetectStatusLabel and HelpfulCommentsLabel.
    TLoudnessPanel(TConfigDataUnit& table, TLoudness& loudness, const DisplayStrip& strip,
                   IMainWindowHooks& hooks, const QString& startDirectory, QWidget* parent = nullptr);

    static constexpr const char* ExamplesDocument = "QMX4600Loudness.PDF";

    // Byte edits from the table, then each decimal edit from its bytes.
    // Skipped while this panel shows and automatic Fs detection is on, so
    // that the poll does not overwrite what the user is typing.
    void RefreshLoudness();
    // Rebuilds the loudness file list and puts it into the combo box.
    void FillLoudnessFileCombo();

    void LGFloatsuiButtonClick();
    void GFloatsuiButtonClick();
    void LOFloatsuiButtonClick();
    void OFloatsuiButtonClick();
    void LGHEXsuiButtonClick();
    void GHEXsuiButtonClick();
    void LOHEXsuiButtonClick();
    void OHEXsuiButtonClick();
    void LoudnessApplysuiButtonClick();
    void LoudnessCancelsuiButtonClick();
    void LoudnessFileLoadsuiButtonClick();
    void LoudnessExamplesuiButtonClick();

private:
    // The parameters in the order the panel shows them: LG, G, LO, O.
    enum { LG, G, LO, O, ParameterCount };

    void BuildParameters();
    void BuildNotes();
    void BuildFiles();
    void StoreAndWrite(int parameter);

    TConfigDataUnit& table_;
    TLoudness& loudness_;
    DisplayStrip strip_;
    IMainWindowHooks& hooks_;
    QString startDirectory_;
    std::array<DecimalHexRow*, ParameterCount> rows_{};
    std::array<int, ParameterCount> subAddresses_{};
    QComboBox* fileCombo_ = nullptr;
};
