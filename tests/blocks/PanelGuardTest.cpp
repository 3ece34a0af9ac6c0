// Panel handlers run through the guard: an error raised while a handler
// runs is reported for the panel's window, what was sent before stays sent,
// and the panel goes on handling the next event.

#include "Dataclocksunit.h"
#include "DeviceRig.h"
#include "FsDetection.h"
#include "HandlerGuard.h"
#include "RecordingHooks.h"
#include "TrackBar.h"
#include "UpDown.h"
#include "VolumePanel.h"
#include "Volumeunit.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Timeline = std::vector<std::string>;

class PanelGuardTest : public ::testing::Test {
protected:
    PanelGuardTest() {
        SetHandlerErrorReport(
            [this](QWidget* window, const QString& message) { reports.emplace_back(window, message); });
        strip.LabelVolumeUnits = &labelVolumeUnits;
        strip.MainMasterUpDown = &mainMasterUpDown;
        strip.LabelFsUnits = &fs;
        strip.LabelMclkUnits = &mclk;
        strip.AutoDetectStatusLabel = &status;
    }
    ~PanelGuardTest() override { SetHandlerErrorReport({}); }

    DeviceRig rig;
    TVolume volume{rig.table};
    TDataClocks clocks{rig.table, rig.bus};
    QLabel labelVolumeUnits, fs, mclk, status;
    UpDown mainMasterUpDown{0, 581, -12};
    DisplayStrip strip;
    RecordingHooks hooks{rig};
    std::vector<std::pair<QWidget*, QString>> reports;
};

TEST_F(PanelGuardTest, AVolumeHandlerThatFailsIsReportedAndThePanelGoesOn) {
    TVolumePanel panel(rig.table, volume, strip, hooks);
    panel.show();
    hooks.onRefresh = [] { throw std::runtime_error("refresh failed"); };

    QTest::mouseClick(panel.findChild<QPushButton*>("MasterVMutesuiButton"), Qt::LeftButton);

    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, &panel);
    EXPECT_EQ(reports[0].second, "refresh failed");
    // The master's mute value went out before the refresh failed.
    EXPECT_EQ(hooks.Take(), (Timeline{"d9: 00 00 02 46", "RefreshAll"}));

    panel.findChild<TrackBar*>("Ch1VTrackBar")->SetPosition(80);
    mainMasterUpDown.SetPosition(73);
    mainMasterUpDown.ClickUp();

    EXPECT_EQ(hooks.Take(), (Timeline{"d1: 00 00 00 50", "d9: 00 00 00 3d", "RefreshAll"}));
    EXPECT_EQ(reports.size(), 2u);
}

TEST_F(PanelGuardTest, APollTickThatFailsIsReportedAndThePollGoesOn) {
    TFsDetection detection(clocks, strip, hooks);
    auto* timer = detection.findChild<QTimer*>("FsPollTimer");
    ASSERT_NE(timer, nullptr);
    detection.AutomaticFsDetectionClick();
    int adjustments = 0;
    hooks.onAdjust = [&adjustments] {
        if (++adjustments == 1)
            throw std::runtime_error("adjustment failed");
    };
    hooks.Take();

    QMetaObject::invokeMethod(timer, "timeout");
    QMetaObject::invokeMethod(timer, "timeout");

    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].second, "adjustment failed");
    EXPECT_EQ(hooks.Take(), (Timeline{"AdjustToSampleRateMode", "AdjustToSampleRateMode", "RefreshAll"}));
    EXPECT_TRUE(timer->isActive());
}

} // namespace
