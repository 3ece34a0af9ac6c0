#pragma once

#include "BlockPanel.h"
#include "DisplayStrip.h"
#include "EqResponse.h"
#include "Equnit.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

class ByteEdit;
class EqChart;
class IMainWindowHooks;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class RadioGroup;
class TDataClocks;
class UpDown;

// The equaliser panel: pick a DAP channel and one of its seven biquads, see
// and edit the biquad's 20 register bytes, apply them, reset the biquad to
// pass-through, load a whole channel from an EQ file, and plot the response
// of one biquad or of the channel's cascade.
//
// The byte edits are a scratch copy of one register: only APPLY and AllPass
// BQ write; a click on either radio group, CANCEL and LOAD reload them from
// the register table.
class TEqPanel : public BlockPanel {
    Q_OBJECT
public:
    // `strip` must hold LabelBiquadUnits, LabelFsUnits and HelpfulCommentsLabel.
    TEqPanel(TConfigDataUnit& table, TEQ& eq, TDataClocks& clocks, const DisplayStrip& strip,
             IMainWindowHooks& hooks, const QString& startDirectory, QWidget* parent = nullptr);

    // At 176.4 and 192 kHz the device has no DAP 3 biquads. The channel
    // items are rebuilt only when the rate mode differs from the one they
    // were built for (and on the first call); a rebuild selects Ch1, which
    // runs the channel click.
    void AdjustToSampleRate(bool highRate);
    // Rebuilds the EQ file list and puts it into the combo box.
    void FillEqFileCombo();
    // Selects a channel and biquad as a click would (an item beyond the last
    // selects the last), graphs that biquad and shows this panel.
    void JumpToBiquad(int channelItem, int biquadItem);

    EqChart* Chart() const { return chart_; }
    // The two halves of a graph, for the benchmark: the response of the
    // edits (one biquad) or of the channel's cascade into the curve, then
    // the curve handed to the chart and drawn.
    void ComputeBiquadCurve();
    void ComputeEqCurve();
    void PlotCurve();

    void EQDAPCHRadioGroupClick();
    void EQEQRadioGroupClick();
    void EQBQApplysuiButtonClick();
    void EQBQCancelsuiButtonClick();
    void suiButton3Click();
    void EQBQGraphsuiButtonClick();
    void EQGraphsuiButtonClick();
    void EQFileLoadsuiButtonClick();
    void EQExamplesuiButtonClick();
    void MaxScaleUpDownClick();
    void MinScaleUpDownClick();

private:
    void BuildSelectors();
    void BuildBiquadGrid();
    void BuildButtons();
    void BuildChart();
    void Connect();
    int SelectedSubAddress() const;
    void ShowBiquad(int subAddress);
    TEQ::BiquadFields Fields() const;
    void SetFields(const TEQ::BiquadFields& fields);
    // The coefficients in the edits, each row read through DummyEdit as a
    // decimal text, so the precision of that text applies.
    BiquadCoefficients EditCoefficients();
    // The pole test of one biquad, reported in the comment label.
    void EvaluateBiquad(const BiquadCoefficients& coefficients);
    // The sample rate shown and used for the next graph; prepares its grid.
    void TakeSampleRate();
    void PlaceCh3Cover();

    TConfigDataUnit& table_;
    TEQ& eq_;
    TDataClocks& clocks_;
    DisplayStrip strip_;
    IMainWindowHooks& hooks_;
    QString startDirectory_;

    RadioGroup* dapGroup_ = nullptr;
    RadioGroup* eqGroup_ = nullptr;
    QGroupBox* hideCh3_ = nullptr;
    QGroupBox* biquadGroup_ = nullptr;
    std::array<ByteEdit*, TEQ::BiquadBytes> edits_{};
    QLineEdit* dummyEdit_ = nullptr;
    QComboBox* fileCombo_ = nullptr;
    EqChart* chart_ = nullptr;
    UpDown* maxScale_ = nullptr;
    UpDown* minScale_ = nullptr;
    std::optional<bool> itemsBuiltForHighRate_;

    FrequencyGrid grid_;
    std::vector<BiquadCoefficients> curveBiquads_;
    std::vector<double> curveDb_;
};
