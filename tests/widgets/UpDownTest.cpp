#include "UpDown.h"

#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

enum class Press { UpArrow, DownArrow, UpKey, DownKey };

struct StepCase {
    const char* what;
    int minimum, maximum, increment;
    int start;
    Press press;
    int position;
};

class UpDownStepTest : public ::testing::TestWithParam<StepCase> {};

// Every press is a click, also one at the end of the range that cannot move.
TEST_P(UpDownStepTest, PressAddsTheIncrementWithinTheRangeAndClicksOnce) {
    const StepCase& c = GetParam();
    UpDown upDown(c.minimum, c.maximum, c.increment);
    upDown.setObjectName("MasterUpDownVolume");
    upDown.SetPosition(c.start);
    upDown.show();
    int clicks = 0;
    int seen = -9999;
    QObject::connect(&upDown, &UpDown::Click, [&] {
        ++clicks;
        seen = upDown.Position();
    });

    switch (c.press) {
    case Press::UpArrow:
    case Press::DownArrow: {
        const char* arrow = c.press == Press::UpArrow ? "MasterUpDownVolumeUp" : "MasterUpDownVolumeDown";
        auto* button = upDown.findChild<QToolButton*>(arrow);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        break;
    }
    case Press::UpKey:
        QTest::keyClick(&upDown, Qt::Key_Up);
        break;
    case Press::DownKey:
        QTest::keyClick(&upDown, Qt::Key_Down);
        break;
    }

    EXPECT_EQ(upDown.Position(), c.position);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seen, c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, UpDownStepTest,
    ::testing::Values(StepCase{"NegativeIncrementUpLowers", 0, 581, -1, 80, Press::UpArrow, 79},
                      StepCase{"NegativeIncrementDownRaises", 0, 581, -1, 80, Press::DownArrow, 81},
                      StepCase{"LargeStepUpClampsAtTheMinimum", 0, 581, -12, 5, Press::UpArrow, 0},
                      StepCase{"LargeStepDownClampsAtTheMaximum", 0, 581, -12, 575, Press::DownArrow, 581},
                      StepCase{"UpAtTheMinimumStays", 0, 581, -1, 0, Press::UpArrow, 0},
                      StepCase{"PositiveIncrementUpRaises", 0, 36, 1, 18, Press::UpArrow, 19},
                      StepCase{"PositiveIncrementUpAtTheMaximumStays", 0, 36, 1, 36, Press::UpArrow, 36},
                      StepCase{"NegativeRangeDownAtTheMinimumStays", -120, 20, 1, -120, Press::DownArrow,
                               -120},
                      StepCase{"KeyUp", 0, 581, -1, 72, Press::UpKey, 71},
                      StepCase{"KeyDown", 0, 581, -12, 72, Press::DownKey, 84}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(UpDownTest, SetPositionClampsAndDoesNotClick) {
    UpDown upDown(0, 581, -12);
    int clicks = 0;
    QObject::connect(&upDown, &UpDown::Click, [&] { ++clicks; });

    const int asked[] = {80, 700, -3, 581};
    const int held[] = {80, 581, 0, 581};
    for (size_t i = 0; i < std::size(asked); ++i) {
        SCOPED_TRACE(asked[i]);
        upDown.SetPosition(asked[i]);
        EXPECT_EQ(upDown.Position(), held[i]);
    }
    EXPECT_EQ(clicks, 0);
}

TEST(UpDownTest, ReversedRangeIsPutInOrder) {
    UpDown upDown(20, -120, 1);
    upDown.SetPosition(50);

    EXPECT_EQ(upDown.Minimum(), -120);
    EXPECT_EQ(upDown.Maximum(), 20);
    EXPECT_EQ(upDown.Position(), 20);
}

TEST(UpDownTest, ArrowsFollowARename) {
    UpDown upDown(0, 10, 1);
    upDown.setObjectName("Ch1UpDownVolume");
    upDown.setObjectName("MainMasterUpDown");

    EXPECT_NE(upDown.findChild<QToolButton*>("MainMasterUpDownUp"), nullptr);
    EXPECT_NE(upDown.findChild<QToolButton*>("MainMasterUpDownDown"), nullptr);
    EXPECT_EQ(upDown.findChild<QToolButton*>("Ch1UpDownVolumeUp"), nullptr);
}

} // namespace
