#include "Workingunit.h"

#include "Look.h"
#include "SkinColours.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QVBoxLayout>
#include <QWindow>

namespace {
constexpr int ExposeWaitMs = 500;
constexpr int ExposeStepMs = 10;
} // namespace

TWorkingForm::TWorkingForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint),
      workingLabel_(new QLabel("WORKING", this)) {
    setObjectName("WorkingForm");
    setWindowTitle("WORKING");
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, SkinColours::Navy);
    setPalette(colours);

    workingLabel_->setObjectName("WorkingLabel");
    workingLabel_->setAlignment(Qt::AlignCenter);
    QFont font = workingLabel_->font();
    font.setBold(true);
    font.setPointSize(32);
    font.setLetterSpacing(QFont::PercentageSpacing, 112);
    workingLabel_->setFont(font);
    SetTextColour(workingLabel_, Rgb{255, 214, 10});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 28, 40, 28);
    layout->addWidget(workingLabel_);
}

void TWorkingForm::setVisible(bool visible) {
    if (visible && !isVisible()) {
        CentreOnScreen(this);
    }
    QWidget::setVisible(visible);
    if (visible)
        PaintNow();
}

// The window system maps a new window in its own time; until it is exposed a
// paint shows nothing. The wait is bounded, so a window system that never
// exposes it (a minimised session) does not hold up the start.
void TWorkingForm::PaintNow() {
    const QDeadlineTimer deadline(ExposeWaitMs);
    while (windowHandle() != nullptr && !windowHandle()->isExposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, ExposeStepMs);
    repaint();
}
