#include "Workingunit.h"

#include <QEvent>
#include <QLabel>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

int OffCentre(const QWidget& window) {
    return (window.geometry().center() - window.screen()->availableGeometry().center()).manhattanLength();
}

// The window is centred before the window system adds its frame.
int FrameAllowance(const QWidget& window) {
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    return frame.width() + frame.height() + 2;
}

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

TEST(WorkingFormTest, SaysWorking) {
    TWorkingForm form;
    auto* label = form.findChild<QLabel*>("WorkingLabel");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "WORKING");
    EXPECT_EQ(form.windowTitle(), "WORKING");
}

// The start-up work after show() keeps the event loop away, so the window
// must have painted its label before show() returns.
TEST(WorkingFormTest, ShowPaintsBeforeReturning) {
    TWorkingForm form;
    auto* label = form.findChild<QLabel*>("WorkingLabel");
    ASSERT_NE(label, nullptr);
    PaintCounter counter;
    label->installEventFilter(&counter);

    form.show();

    EXPECT_TRUE(form.isVisible());
    EXPECT_GT(counter.paints, 0);
    EXPECT_LE(OffCentre(form), FrameAllowance(form));
    form.close();
    EXPECT_FALSE(form.isVisible());
}

} // namespace
