#pragma once

#include <qcustomplot.h>

#include <vector>

// The equaliser's response chart: magnitude in dB over a logarithmic
// frequency axis. Series1 (red) is the only curve drawn; Series2 (green) is
// there but inactive. The left axis (gain) and the bottom axis (frequency)
// keep the ranges they are given; the right axis is a fixed -50..20 dB scale
// no curve uses.
//
// A curve is handed over in one call with its points in ascending frequency;
// the text for a point ("1000 Hz, -3.01 dB") is made only when the mouse
// hovers near it.
class EqChart : public QCustomPlot {
    Q_OBJECT
public:
    static constexpr double StartFrequencyMaximum = 24000.0;
    static constexpr double StartGainMaximum = 20.0;
    static constexpr double StartGainMinimum = -122.0;

    explicit EqChart(QWidget* parent = nullptr);

    QCPGraph* Series1() const { return series1_; }
    QCPGraph* Series2() const { return series2_; }

    // Replaces Series1's points; does not redraw. `gainDb` values that are
    // not finite (a response of exactly zero) are points the chart does not
    // draw.
    void SetCurve(const std::vector<double>& frequencies, const std::vector<double>& gainDb);
    // The bottom axis runs from 1 Hz to `hz`.
    void SetFrequencyMaximum(double hz);
    void SetGainMaximum(double dB);
    void SetGainMinimum(double dB);

    // The text shown for the point of Series1 nearest to `x` pixels along the
    // bottom axis; empty when there is no curve.
    QString PointText(double x) const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QCPGraph* series1_;
    QCPGraph* series2_;
};
