// The guard every control handler runs through: errors end the action and
// are reported for the handler's window; arguments reach the handler.

#include "HandlerGuard.h"

#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

struct Reported {
    QWidget* window;
    QString message;
};

// Records what the guard reports while a test runs.
class HandlerGuardTest : public ::testing::Test {
protected:
    HandlerGuardTest() {
        SetHandlerErrorReport([this](QWidget* window, const QString& message) {
            reports.push_back({window, message});
        });
    }
    ~HandlerGuardTest() override { SetHandlerErrorReport({}); }

    std::vector<Reported> reports;
};

class Panel : public QWidget {
public:
    int seen = -1;
    void Changed(int value) {
        seen = value;
        if (value == 13)
            throw std::runtime_error("unlucky value");
    }
    void Pressed() { throw 42; }
};

TEST_F(HandlerGuardTest, AnErrorIsReportedForTheWindowAndTheNextEventRuns) {
    QWidget window;
    auto* panel = new Panel;
    panel->setParent(&window);
    auto* slider = new QSlider(panel);
    auto* button = new QPushButton("press", panel);
    ConnectGuarded(slider, &QSlider::valueChanged, panel, &Panel::Changed);
    ConnectGuarded(button, &QPushButton::clicked, panel, &Panel::Pressed);
    window.show();

    slider->setValue(13);
    QTest::mouseClick(button, Qt::LeftButton);
    slider->setValue(14);

    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].window, &window);
    EXPECT_EQ(reports[0].message, "unlucky value");
    EXPECT_EQ(reports[1].message, "An unknown error occurred.");
    EXPECT_EQ(panel->seen, 14);
}

TEST_F(HandlerGuardTest, CallablesGetTheSignalsArgumentsWhenTheyTakeThem) {
    QSlider slider;
    int withArgument = -1, withoutArgument = 0;
    ConnectGuarded(&slider, &QSlider::valueChanged, &slider, [&](int value) { withArgument = value; });
    ConnectGuarded(&slider, &QSlider::valueChanged, &slider, [&] { ++withoutArgument; });

    slider.setValue(7);

    EXPECT_EQ(withArgument, 7);
    EXPECT_EQ(withoutArgument, 1);
    EXPECT_TRUE(reports.empty());
}

TEST(HandlerGuardWithoutReport, AnErrorStillEndsOnlyTheAction) {
    SetHandlerErrorReport({});
    QSlider slider;
    int runs = 0;
    ConnectGuarded(&slider, &QSlider::valueChanged, &slider, [&] {
        ++runs;
        throw std::runtime_error("written to the error output");
    });
    slider.setValue(1);
    slider.setValue(2);
    EXPECT_EQ(runs, 2);
}

} // namespace
