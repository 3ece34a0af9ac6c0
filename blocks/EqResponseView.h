#pragma once

#include "EqResponse.h"

#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QCustomPlot;
class QLabel;
class QMouseEvent;

// The larger response view opened from the equaliser panel's chart. Beside
// the curve the panel last graphed, it overlays the stored cascades of all
// four DAP channels in their own colours, the phase of the selected
// channel's cascade (right axis), and, after the designer has filled a
// biquad, that filter as designed against as stored in 5.23. Under the mouse
// it reads out the selected channel: "1000 Hz, -3.01 dB, 45.0°".
class TEqResponseView : public QWidget {
    Q_OBJECT
public:
    struct Curves {
        int sampleRate = 48000;
        int selectedChannel = 0; // 0..3
        std::array<std::vector<BiquadCoefficients>, 4> channels;
        std::vector<double> panelFrequencies, panelGainDb;  // the panel's last graph, if any
        std::optional<BiquadCoefficients> designed, stored; // the designer's last filter
    };

    explicit TEqResponseView(QWidget* parent = nullptr);

    void ShowCurves(const Curves& curves);
    QCustomPlot* Plot() const { return plot_; }
    // The read-out for the grid point nearest to `x` pixels along the
    // frequency axis; empty without a curve.
    QString HoverText(double x) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MouseMoved(QMouseEvent* event);

    QCustomPlot* plot_;
    QLabel* hover_;
    std::vector<double> frequencies_, selectedDb_, selectedPhase_;
};
