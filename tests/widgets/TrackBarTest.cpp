#include "TrackBar.h"

#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// The volume track bar: 0 (top, +18 dB) to 581, page 12, ticks every 20, at 73.
class VolumeTrackBar : public TrackBar {
public:
    VolumeTrackBar() : TrackBar(0, 581, 12, 20, 73) {}

    QRect Thumb() {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    }
};

TEST(TrackBarTest, StandsUprightWithTheMinimumAtTheTop) {
    VolumeTrackBar bar;
    bar.resize(30, 200);
    bar.show();

    EXPECT_EQ(bar.orientation(), Qt::Vertical);
    EXPECT_EQ(bar.Position(), 73);
    EXPECT_EQ(bar.pageStep(), 12);
    EXPECT_EQ(bar.tickInterval(), 20);
    EXPECT_NE(bar.tickPosition(), QSlider::NoTicks);
    bar.SetPosition(0);
    const int top = bar.Thumb().center().y();
    bar.SetPosition(581);
    const int bottom = bar.Thumb().center().y();
    EXPECT_LT(top, bottom);
}

struct MoveCase {
    const char* what;
    int start;
    std::function<void(TrackBar&)> move;
    std::vector<int> changes;
};

class TrackBarChangeTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(TrackBarChangeTest, ChangesOnlyWhenThePositionMoves) {
    const MoveCase& c = GetParam();
    VolumeTrackBar bar;
    bar.resize(30, 200);
    bar.show();
    bar.SetPosition(c.start);
    std::vector<int> changes;
    QObject::connect(&bar, &TrackBar::Change, [&](int position) { changes.push_back(position); });

    c.move(bar);

    EXPECT_EQ(changes, c.changes);
    if (!c.changes.empty()) {
        EXPECT_EQ(bar.Position(), c.changes.back());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Moves, TrackBarChangeTest,
    ::testing::Values(
        MoveCase{"ProgramMoves", 73, [](TrackBar& b) { b.SetPosition(80); }, {80}},
        MoveCase{"ProgramSetsTheSamePosition", 80, [](TrackBar& b) { b.SetPosition(80); }, {}},
        MoveCase{"ProgramBeyondTheEndIsClamped", 100, [](TrackBar& b) { b.SetPosition(582); }, {581}},
        MoveCase{"ProgramBeyondTheEndWhenAtTheEnd", 581, [](TrackBar& b) { b.SetPosition(4095); }, {}},
        MoveCase{"ProgramBelowTheStartIsClamped", 5, [](TrackBar& b) { b.SetPosition(-1); }, {0}},
        MoveCase{"KeyUpMovesTowardsTheTop", 73, [](TrackBar& b) { QTest::keyClick(&b, Qt::Key_Up); }, {72}},
        MoveCase{"KeyUpAtTheTopStays", 0, [](TrackBar& b) { QTest::keyClick(&b, Qt::Key_Up); }, {}},
        MoveCase{"PageDownMovesAPage", 73, [](TrackBar& b) { QTest::keyClick(&b, Qt::Key_PageDown); }, {85}}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
