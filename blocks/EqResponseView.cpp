#include "EqResponseView.h"

#include "HandlerGuard.h"

#include <QLabel>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QColor ChannelColours[4] = {QColor(0x1f, 0x4e, 0xd8), QColor(0xe0, 0x7b, 0x00),
                                  QColor(0x1a, 0x9a, 0x3a), QColor(0xb0, 0x1e, 0xb0)};

QVector<QCPGraphData> Points(const std::vector<double>& x, const std::vector<double>& y) {
    const size_t n = std::min(x.size(), y.size());
    QVector<QCPGraphData> points(static_cast<qsizetype>(n));
    for (size_t i = 0; i < n; ++i)
        points[static_cast<qsizetype>(i)] =
            QCPGraphData(x[i], std::isfinite(y[i]) ? y[i] : std::numeric_limits<double>::quiet_NaN());
    return points;
}

QCPGraph* AddCurve(QCustomPlot* plot, QCPAxis* valueAxis, const QString& name, const QPen& pen,
                   const std::vector<double>& x, const std::vector<double>& y) {
    QCPGraph* graph = plot->addGraph(plot->xAxis, valueAxis);
    graph->setName(name);
    graph->setPen(pen);
    graph->setAdaptiveSampling(true);
    graph->data()->set(Points(x, y), true);
    return graph;
}

} // namespace

TEqResponseView::TEqResponseView(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("EQResponseWindow");
    setWindowTitle("EQ Response");
    setAccessibleName("EQ Response");
    resize(900, 560);

    plot_ = new QCustomPlot(this);
    plot_->setObjectName("EQResponsePlot");
    plot_->setAccessibleName("Magnitude and phase response");
    plot_->xAxis->setScaleType(QCPAxis::stLogarithmic);
    auto ticker = QSharedPointer<QCPAxisTickerLog>::create();
    ticker->setLogBase(10);
    plot_->xAxis->setTicker(ticker);
    plot_->xAxis->setNumberFormat("gb");
    plot_->xAxis->setLabel("Frequency (Hz)");
    plot_->yAxis->setLabel("Gain (dB)");
    plot_->yAxis->setRange(-30, 20);
    plot_->yAxis2->setVisible(true);
    plot_->yAxis2->setLabel("Phase (degrees)");
    plot_->yAxis2->setRange(-180, 180);
    plot_->legend->setVisible(true);
    plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot_->axisRect()->setRangeDragAxes(plot_->xAxis, plot_->yAxis);
    plot_->axisRect()->setRangeZoomAxes(plot_->xAxis, plot_->yAxis);
    plot_->setMouseTracking(true);

    hover_ = new QLabel(this);
    hover_->setObjectName("EQResponseHoverLabel");
    hover_->setAccessibleName("Value under the mouse");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(plot_, 1);
    layout->addWidget(hover_);
    plot_->installEventFilter(this);
}

void TEqResponseView::ShowCurves(const Curves& curves) {
    plot_->clearGraphs();
    const FrequencyGrid grid(curves.sampleRate);
    frequencies_ = grid.Frequencies();
    if (!curves.panelGainDb.empty())
        AddCurve(plot_, plot_->yAxis, "EQ panel graph", QPen(Qt::red, 1.5), curves.panelFrequencies,
                 curves.panelGainDb);
    for (int c = 0; c < 4; ++c) {
        std::vector<double> db;
        const bool selected = c == curves.selectedChannel;
        CascadeResponse(grid, curves.channels[static_cast<size_t>(c)], db,
                        selected ? &selectedPhase_ : nullptr);
        if (selected)
            selectedDb_ = db;
        AddCurve(plot_, plot_->yAxis, QString("Ch%1 cascade").arg(c + 1),
                 QPen(ChannelColours[c], selected ? 2.5 : 1.2), frequencies_, db);
    }
    QPen phasePen(ChannelColours[curves.selectedChannel & 3], 1.0, Qt::DashLine);
    AddCurve(plot_, plot_->yAxis2, QString("Ch%1 phase").arg((curves.selectedChannel & 3) + 1), phasePen,
             frequencies_, selectedPhase_);
    if (curves.designed && curves.stored) {
        std::vector<double> designed, stored;
        CascadeResponse(grid, std::span(&*curves.designed, 1), designed);
        CascadeResponse(grid, std::span(&*curves.stored, 1), stored);
        AddCurve(plot_, plot_->yAxis, "Designed", QPen(Qt::black, 1.5, Qt::DotLine), frequencies_, designed);
        AddCurve(plot_, plot_->yAxis, "Stored (5.23)", QPen(Qt::darkGray, 1.2), frequencies_, stored);
    }
    plot_->xAxis->setRange(1, std::max(2.0, curves.sampleRate / 2.0));
    plot_->replot();
}

QString TEqResponseView::HoverText(double x) const {
    if (frequencies_.empty() || selectedDb_.size() != frequencies_.size())
        return {};
    const double f = plot_->xAxis->pixelToCoord(x);
    const long k = std::clamp(std::lround(f), 1L, static_cast<long>(frequencies_.size()));
    const size_t i = static_cast<size_t>(k - 1);
    if (!std::isfinite(selectedDb_[i]))
        return QString::asprintf("%.0f Hz, no signal", frequencies_[i]);
    return QString::asprintf("%.0f Hz, %.2f dB, %.1f", frequencies_[i], selectedDb_[i], selectedPhase_[i]) +
           QChar(0x00B0);
}

bool TEqResponseView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == plot_ && event->type() == QEvent::MouseMove)
        RunGuarded(this, [&] { MouseMoved(static_cast<QMouseEvent*>(event)); });
    return QWidget::eventFilter(watched, event);
}

void TEqResponseView::MouseMoved(QMouseEvent* event) {
    hover_->setText(plot_->axisRect()->rect().contains(event->position().toPoint())
                        ? HoverText(event->position().x())
                        : QString());
}
