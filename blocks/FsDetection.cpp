#include "FsDetection.h"

#include "Dataclocksunit.h"
#include "HandlerGuard.h"
#include "MainWindowHooks.h"

#include <QLabel>
#include <QTimer>

namespace {

constexpr int LastRateCode = 7;
constexpr int LastMclkCode = 6;

} // namespace

TFsDetection::TFsDetection(TDataClocks& clocks, const DisplayStrip& strip, IMainWindowHooks& hooks,
                           QObject* parent)
    : QObject(parent), clocks_(clocks), strip_(strip), hooks_(hooks), fsPollTimer_(new QTimer(this)) {
    fsPollTimer_->setObjectName("FsPollTimer");
    fsPollTimer_->setInterval(FirstInterval);
    // A precise timer: a coarse one may fire up to 5 % of its interval
    // early, a quarter of a second off the five-second poll.
    fsPollTimer_->setTimerType(Qt::PreciseTimer);
    ConnectGuarded(fsPollTimer_, &QTimer::timeout, this, &TFsDetection::FsPollTimerTimer);
}

void TFsDetection::AutomaticFsDetectionClick() {
    autoDetect_ = !autoDetect_;
    strip_.AutoDetectStatusLabel->setText(autoDetect_ ? "ON" : "OFF");
    if (autoDetect_)
        fsPollTimer_->start();
    else
        fsPollTimer_->stop();
}

void TFsDetection::FsPollTimerTimer() {
    // Only the very first tick comes after one second.
    fsPollTimer_->setInterval(PollInterval);
    strip_.LabelFsUnits->setText(QString::fromStdString(clocks_.GetRateText()));
    strip_.LabelMclkUnits->setText(QString::fromStdString(clocks_.GetMclkText()));
    hooks_.AdjustToSampleRateMode();
    hooks_.RefreshAll();
}

void TFsDetection::ToggleFsHiddenButtonClick() {
    if (toggleRate_ > LastRateCode)
        toggleRate_ = 0;
    if (toggleMclk_ > LastMclkCode)
        toggleMclk_ = 0;
    clocks_.SetClockCodes(toggleRate_, toggleMclk_);
    ++toggleRate_;
    ++toggleMclk_;
}

void TFsDetection::StopFsPoll() {
    fsPollTimer_->stop();
}

void TFsDetection::ResumeFsPoll() {
    if (autoDetect_ && !fsPollTimer_->isActive())
        fsPollTimer_->start();
}
