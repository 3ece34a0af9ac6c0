#pragma once

#include "DisplayStrip.h"

#include <QObject>

class IMainWindowHooks;
class QTimer;
class TDataClocks;

// Automatic sample-rate detection: while it is on, a timer re-reads the
// device's clock register and refreshes the window. Also the hidden test
// button that steps the stored clock register through every rate and ratio.
class TFsDetection : public QObject {
    Q_OBJECT
public:
    static constexpr int FirstInterval = 1000;
    static constexpr int PollInterval = 5000;

    // `strip` must hold LabelFsUnits, LabelMclkUnits and AutoDetectStatusLabel.
    TFsDetection(TDataClocks& clocks, const DisplayStrip& strip, IMainWindowHooks& hooks,
                 QObject* parent = nullptr);

    QTimer* FsPollTimer() const { return fsPollTimer_; }
    bool IsAutoDetectOn() const { return autoDetect_; }

    void AutomaticFsDetectionClick();
    void FsPollTimerTimer();
    void ToggleFsHiddenButtonClick();
    // Around raw register transfers the poll must not run.
    void StopFsPoll();
    void ResumeFsPoll();

private:
    TDataClocks& clocks_;
    DisplayStrip strip_;
    IMainWindowHooks& hooks_;
    QTimer* fsPollTimer_;
    bool autoDetect_ = false;
    // Next rate and MCLK codes of the test button.
    int toggleRate_ = 0;
    int toggleMclk_ = 0;
};
