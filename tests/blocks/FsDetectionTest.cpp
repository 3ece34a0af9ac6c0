#include "FsDetection.h"
#include "Dataclocksunit.h"
#include "DeviceRig.h"
#include "RecordingHooks.h"

#include <QLabel>
#include <QMetaObject>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Timeline = std::vector<std::string>;

// The detection with the display strip labels it writes; the window's
// panel adjustment notes what the strip showed when it ran.
class FsDetectionTest : public ::testing::Test {
protected:
    FsDetectionTest() {
        hooks.onAdjust = [this] {
            hooks.Note("strip " + fs.text().toStdString() + ", " + mclk.text().toStdString());
        };
        timer = detection.findChild<QTimer*>("FsPollTimer");
        if (!timer)
            throw std::runtime_error("no FsPollTimer");
    }

    DeviceRig rig;
    TDataClocks clocks{rig.table, rig.bus};
    QLabel fs{"-"}, mclk{"-"}, status{"OFF"};
    DisplayStrip strip = [this] {
        DisplayStrip s;
        s.LabelFsUnits = &fs;
        s.LabelMclkUnits = &mclk;
        s.AutoDetectStatusLabel = &status;
        return s;
    }();
    RecordingHooks hooks{rig};
    TFsDetection detection{clocks, strip, hooks};
    QTimer* timer = nullptr;
};

TEST_F(FsDetectionTest, StartsOffWithTheOneSecondInterval) {
    EXPECT_FALSE(detection.IsAutoDetectOn());
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);
    // A coarse timer may fire 5 % early: 4.75 s instead of 5.
    EXPECT_EQ(timer->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(detection.FsPollTimer(), timer);
}

TEST_F(FsDetectionTest, FirstTickAfterOneSecondThenEveryFiveEvenAfterSwitchingAgain) {
    enum Action { Switch, Tick };
    struct Step {
        Action action;
        bool on;
        const char* label;
        int interval;
    };
    const Step steps[] = {
        {Switch, true, "ON", 1000},   {Tick, true, "ON", 5000},   {Tick, true, "ON", 5000},
        {Switch, false, "OFF", 5000}, {Switch, true, "ON", 5000}, {Switch, false, "OFF", 5000},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(++n);
        if (s.action == Switch)
            detection.AutomaticFsDetectionClick();
        else
            QMetaObject::invokeMethod(timer, "timeout");
        EXPECT_EQ(detection.IsAutoDetectOn(), s.on);
        EXPECT_EQ(timer->isActive(), s.on);
        EXPECT_EQ(status.text(), s.label);
        EXPECT_EQ(timer->interval(), s.interval);
    }
}

TEST_F(FsDetectionTest, TickReadsTheClocksThenAdaptsThenRefreshes) {
    rig.device->SetSampleRate(176400);
    rig.device->SetMclkRatio(768);
    detection.AutomaticFsDetectionClick();
    hooks.Take();

    QMetaObject::invokeMethod(timer, "timeout");

    EXPECT_EQ(hooks.Take(), (Timeline{"AdjustToSampleRateMode", "strip 176.4k, 768 * fs", "RefreshAll"}));
    EXPECT_EQ(rig.table.GetData(0x00), std::vector<uint8_t>{0xD8});
    EXPECT_TRUE(clocks.IsHighRate());
}

TEST_F(FsDetectionTest, TickWithoutTransfersShowsTheStoredClocks) {
    rig.BreakBus();
    rig.Store(0x00, {0x7C});

    detection.FsPollTimerTimer();

    EXPECT_EQ(fs.text(), "48k");
    EXPECT_EQ(mclk.text(), "256 * fs");
    EXPECT_TRUE(rig.TakeReads().empty());
}

TEST_F(FsDetectionTest, ResumeRunsThePollOnlyWhileDetectionIsOn) {
    for (bool on : {false, true}) {
        SCOPED_TRACE(on);
        if (detection.IsAutoDetectOn() != on)
            detection.AutomaticFsDetectionClick();

        detection.StopFsPoll();
        EXPECT_FALSE(timer->isActive());
        detection.ResumeFsPoll();
        EXPECT_EQ(timer->isActive(), on);
        EXPECT_EQ(detection.IsAutoDetectOn(), on);
    }
}

TEST_F(FsDetectionTest, ToggleFsStepsTheStoredClockRegisterThroughEveryCode) {
    rig.Store(0x00, {0x6D});
    // Rate codes wrap after 7, ratio codes after 6; the low bits stay 01.
    const uint8_t expected[] = {0x01, 0x25, 0x49, 0x6D, 0x91, 0xB5, 0xD9, 0xE1, 0x05, 0x29};
    for (size_t press = 0; press < std::size(expected); ++press) {
        SCOPED_TRACE(press + 1);
        detection.ToggleFsHiddenButtonClick();
        EXPECT_EQ(rig.table.GetData(0x00), std::vector<uint8_t>{expected[press]});
    }
    EXPECT_TRUE(rig.device->TakeCalls().empty());
    EXPECT_EQ(hooks.Take(), Timeline{});
}

TEST_F(FsDetectionTest, EightTogglesShowTheTopRateWhenTheDeviceIsNotRead) {
    rig.BreakBus();
    for (int press = 0; press < 8; ++press)
        detection.ToggleFsHiddenButtonClick();

    EXPECT_EQ(clocks.GetRateText(), "192k");
    EXPECT_EQ(clocks.GetMclkText(), "64 * fs");
    EXPECT_EQ(rig.table.GetData(0x00)[0] & 0x03, 0x00);
}

} // namespace
