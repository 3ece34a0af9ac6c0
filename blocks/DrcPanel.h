#pragma once

#include "BlockPanel.h"
#include "DisplayStrip.h"

#include <array>
#include <functional>
#include <optional>

class DecimalHexRow;
class IMainWindowHooks;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;
class TCompression;
class TConfigDataUnit;

// The dynamic range compression panel: the alphas of the selected
// compressor's energy, attack and decay filters as decimal numbers and as
// bytes (scratch copies until SEND), the compressor selector, the control
// mode, the alpha calculator, and the parameter files with their LOAD button
// and the examples document.
class TDrcPanel : public BlockPanel {
    Q_OBJECT
public:
    static constexpr const char* ExamplesDocument = "QMX4600DRC.PDF";

    // `strip` must hold AutoDetectStatusLabel and HelpfulCommentsLabel;
    // `sampleRate` gives the device's sample rate in hertz.
    TDrcPanel(TConfigDataUnit& table, TCompression& compression, const DisplayStrip& strip,
              IMainWindowHooks& hooks, const QString& startDirectory, std::function<int()> sampleRate,
              QWidget* parent = nullptr);

    // The hex edits from the selected compressor's registers, the control
    // mode (a different mode rewrites the control registers in their
    // canonical form), then each alpha from its bytes. Skipped while this
    // panel shows and automatic Fs detection is on.
    void RefreshDrc();
    // Renames the compressors for the rate mode when it changed since the
    // last time (and the first time); the selection goes back to DRC1.
    void AdjustToSampleRate(bool highRate);
    // Rebuilds the parameter file list and puts it into the combo box.
    void FillDrcFileCombo();

    void DRCAlphaEgosuiButtonClick();
    void DRCAlphaAgosuiButtonClick();
    void DRCAlphaDgosuiButtonClick();
    void EnergyAlphaChange();
    void AttackAlphaChange();
    void DecayAlphaChange();
    void DRCAlphaEHexgosuiButtonClick();
    void DRCAlphaAHexgosuiButtonClick();
    void DRCAlphaDHexgosuiButtonClick();
    void DRCApplysuiButtonClick();
    void DRCCancellsuiButtonClick();
    void DRCSelectRadioGroupClick();
    void DRCControlRadioGroupClick();
    void DRCAlphaCalcsuiButtonClick();
    void DRCAlphaUpdateEsuiButtonClick();
    void DRCAlphaUpdateAsuiButtonClick();
    void DRCAlphaUpdateDsuiButtonClick();
    void DRCParameterssuiButtonClick();
    void DRCExamplesuiButtonClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum { Energy, Attack, Decay, FilterCount };
    struct Filter {
        DecimalHexRow* alpha = nullptr; // alpha field and hex edits 1-4
        DecimalHexRow* minus = nullptr; // 1 - alpha field and hex edits 5-8
        QLabel* timeConstant = nullptr;
    };

    void BuildFilters();
    void BuildSelectors();
    void BuildCalculator();
    void BuildFiles();
    // ENTER: alpha -> bytes 1-4, 1 - alpha -> its field and bytes 5-8. A
    // text that is no number raises an error after the first step, unless
    // `whileTyping`, where the rest simply waits for a number.
    void Enter(int filter, bool whileTyping);
    void ConvertHexToFloat(int filter);
    void TransferAlpha(int filter);
    void ShowTimeConstant(int filter);
    int EnergyRegister() const;
    std::vector<uint8_t> FilterBytes(int filter) const;

    TConfigDataUnit& table_;
    TCompression& compression_;
    DisplayStrip strip_;
    IMainWindowHooks& hooks_;
    QString startDirectory_;
    std::function<int()> sampleRate_;
    std::array<Filter, FilterCount> filters_{};
    RadioGroup* selectGroup_ = nullptr;
    RadioGroup* controlGroup_ = nullptr;
    QLineEdit* timeConstantEdit_ = nullptr;
    QLineEdit* sampleRateEdit_ = nullptr;
    QLineEdit* alphaEdit_ = nullptr;
    QPushButton* calculateButton_ = nullptr;
    QComboBox* fileCombo_ = nullptr;
    QWidget* filtersPage_ = nullptr;
    QWidget* settingsPage_ = nullptr;
    // The rate mode the selector's items were last built for.
    std::optional<bool> selectorBuiltForHighRate_;
};
