// The response graph of the equaliser panel: one biquad from the edits, or
// the cascade of the selected channel's seven biquads.

#include "Conversions.h"
#include "Dataclocksunit.h"
#include "EqChart.h"
#include "EqPanel.h"
#include "FileDialogs.h"
#include "RadioGroup.h"

#include <QLabel>
#include <QLineEdit>

BiquadCoefficients TEqPanel::EditCoefficients() {
    const TEQ::BiquadFields fields = Fields();
    double value[TEQ::CoefficientCount];
    for (int row = 0; row < TEQ::CoefficientCount; ++row) {
        std::string text;
        ByteEditsToText4(TEQ::Row(fields, row), text);
        dummyEdit_->setText(QString::fromStdString(text));
        value[row] = ParseDecimal(dummyEdit_->text().toStdString());
    }
    return {value[0], value[1], value[2], value[3], value[4]};
}

void TEqPanel::EvaluateBiquad(const BiquadCoefficients& coefficients) {
    strip_.HelpfulCommentsLabel->setText(IsStableBiquad(coefficients) ? "Initialized OK"
                                                                      : "Warning: Unstable BQ Filter");
}

void TEqPanel::TakeSampleRate() {
    strip_.LabelFsUnits->setText(QString::fromStdString(clocks_.GetRateText()));
    const int rate = clocks_.GetSampleRate();
    // The grid's sines and cosines depend only on the rate.
    if (grid_.SampleRate() != rate)
        grid_ = FrequencyGrid(rate);
}

void TEqPanel::ComputeBiquadCurve() {
    TakeSampleRate();
    curveBiquads_.assign(1, EditCoefficients());
    EvaluateBiquad(curveBiquads_.front());
    CascadeResponse(grid_, curveBiquads_, curveDb_);
}

void TEqPanel::ComputeEqCurve() {
    TakeSampleRate();
    curveBiquads_.clear();
    // Stepping the selection shows each stored biquad in the edits; BQ1 is
    // taken from the edits as they stand when it is already selected.
    for (int i = 0; i < TEQ::BiquadCount; ++i) {
        eqGroup_->SetItemIndex(i);
        curveBiquads_.push_back(EditCoefficients());
        EvaluateBiquad(curveBiquads_.back());
    }
    eqGroup_->SetItemIndex(0);
    CascadeResponse(grid_, curveBiquads_, curveDb_);
}

void TEqPanel::PlotCurve() {
    chart_->SetFrequencyMaximum(grid_.SampleRate() * 0.5);
    chart_->SetCurve(grid_.Frequencies(), curveDb_);
    chart_->replot();
}

void TEqPanel::EQBQGraphsuiButtonClick() {
    ComputeBiquadCurve();
    PlotCurve();
}

void TEqPanel::EQGraphsuiButtonClick() {
    ComputeEqCurve();
    PlotCurve();
}
