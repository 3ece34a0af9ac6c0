#include "EqChart.h"

#include <QToolTip>

#include <cmath>
#include <limits>

namespace {

void StyleAxis(QCPAxis* axis, const QString& title) {
    axis->setLabel(title);
    QFont font = axis->tickLabelFont();
    font.setPointSizeF(7.5);
    axis->setTickLabelFont(font);
    font.setPointSizeF(8);
    axis->setLabelFont(font);
    axis->setTickLengthOut(0);
}

} // namespace

EqChart::EqChart(QWidget* parent) : QCustomPlot(parent) {
    setObjectName("EQChart");
    setAccessibleName("Magnitude Response");
    legend->setVisible(false);

    plotLayout()->insertRow(0);
    auto* title = new QCPTextElement(this, "Magnitude Response", QFont(font().family(), 9, QFont::Bold));
    title->setObjectName("EQChartTitle");
    plotLayout()->addElement(0, 0, title);

    // Frequency: logarithmic, labels at the decades, no minor ticks.
    StyleAxis(xAxis, "Frequency (Hz)");
    xAxis->setScaleType(QCPAxis::stLogarithmic);
    auto logTicker = QSharedPointer<QCPAxisTickerLog>::create();
    logTicker->setLogBase(10);
    logTicker->setSubTickCount(0);
    xAxis->setTicker(logTicker);
    xAxis->setNumberFormat("gb");
    xAxis->setNumberPrecision(6);
    xAxis->setSubTicks(false);
    xAxis->setRange(1.0, StartFrequencyMaximum);

    StyleAxis(yAxis, "Gain (dB)");
    yAxis->setTickLengthIn(5);
    yAxis->setSubTickLengthIn(2);
    yAxis->setRange(StartGainMinimum, StartGainMaximum);

    // A fixed scale on the right, 10 dB apart.
    StyleAxis(yAxis2, QString());
    yAxis2->setVisible(true);
    auto fixedTicker = QSharedPointer<QCPAxisTickerFixed>::create();
    fixedTicker->setTickStep(10.0);
    fixedTicker->setScaleStrategy(QCPAxisTickerFixed::ssNone);
    yAxis2->setTicker(fixedTicker);
    yAxis2->setRange(-50.0, 20.0);

    series1_ = addGraph(xAxis, yAxis);
    series1_->setName("Series1");
    series1_->setPen(QPen(Qt::red, 1.5));
    series1_->setLineStyle(QCPGraph::lsLine);
    series1_->setScatterStyle(QCPScatterStyle::ssNone);
    series1_->setAdaptiveSampling(true);

    series2_ = addGraph(xAxis, yAxis);
    series2_->setName("Series2");
    series2_->setPen(QPen(Qt::green));
    series2_->setVisible(false);

    setMouseTracking(true);
    setNoAntialiasingOnDrag(true);
}

void EqChart::SetCurve(const std::vector<double>& frequencies, const std::vector<double>& gainDb) {
    const size_t n = std::min(frequencies.size(), gainDb.size());
    QVector<QCPGraphData> points(static_cast<qsizetype>(n));
    for (size_t i = 0; i < n; ++i) {
        const double value = gainDb[i];
        points[static_cast<qsizetype>(i)] = QCPGraphData(
            frequencies[i], std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN());
    }
    auto data = QSharedPointer<QCPGraphDataContainer>::create();
    data->set(points, true);
    series1_->setData(data);
}

void EqChart::SetFrequencyMaximum(double hz) {
    xAxis->setRange(1.0, hz);
}

void EqChart::SetGainMaximum(double dB) {
    yAxis->setRangeUpper(dB);
}

void EqChart::SetGainMinimum(double dB) {
    yAxis->setRangeLower(dB);
}

QString EqChart::PointText(double x) const {
    const QSharedPointer<QCPGraphDataContainer> data = series1_->data();
    if (data->isEmpty())
        return {};
    const double frequency = xAxis->pixelToCoord(x);
    auto at = data->findBegin(frequency, false);
    if (at == data->constEnd())
        --at;
    if (at != data->constBegin()) {
        auto before = at - 1;
        if (std::abs(before->key - frequency) < std::abs(at->key - frequency))
            at = before;
    }
    if (std::isnan(at->value))
        return QString::asprintf("%1.0f Hz, no signal", at->key);
    return QString::asprintf("%1.0f Hz, %.2f dB", at->key, at->value);
}

void EqChart::mouseMoveEvent(QMouseEvent* event) {
    QCustomPlot::mouseMoveEvent(event);
    const QPointF position = event->position();
    if (!axisRect()->rect().contains(position.toPoint())) {
        QToolTip::hideText();
        return;
    }
    const QString text = PointText(position.x());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
}
