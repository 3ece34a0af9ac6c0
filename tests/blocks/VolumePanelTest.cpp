#include "VolumePanel.h"
#include "Accessibility.h"
#include "Dataclocksunit.h"
#include "DeviceRig.h"
#include "RecordingHooks.h"
#include "TrackBar.h"
#include "UpDown.h"
#include "Volumeunit.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Timeline = std::vector<std::string>;

struct ColumnCase {
    const char* stem; // "Master", "Ch1", ...
    int subAddress;
};

const ColumnCase Columns[] = {{"Master", 0xD9}, {"Ch1", 0xD1}, {"Ch2", 0xD2}, {"Ch3", 0xD7}, {"Ch4", 0xD8}};

std::string Step(int subAddress, int step) {
    const auto n = static_cast<uint32_t>(step);
    return WriteText(static_cast<uint8_t>(subAddress),
                     {static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                      static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)});
}

template <class T> T* FindIn(const QObject& parent, const QString& name) {
    T* found = parent.findChild<T*>(name);
    if (!found)
        throw std::runtime_error("no control named " + name.toStdString());
    return found;
}

// The volume panel over the simulated device, refreshed once as the window
// does at start-up: every volume at step 72 (0 dB), nothing muted.
class VolumePanelTest : public ::testing::Test {
protected:
    VolumePanelTest() {
        hooks.onRefresh = [this] { panel.RefreshVolume(); };
        panel.RefreshVolume();
        hooks.Take();
    }

    TrackBar* Bar(const QString& stem) { return FindIn<TrackBar>(panel, stem + "VTrackBar"); }
    QLabel* DbLabel(const QString& stem) { return FindIn<QLabel>(panel, stem + "VdBLabel"); }
    QCheckBox* MuteBox(const QString& stem) { return FindIn<QCheckBox>(panel, stem + "VMuteCheckBox"); }
    QPushButton* Button(const QString& name) { return FindIn<QPushButton>(panel, name); }
    UpDown* ColumnUpDown(const QString& stem) { return FindIn<UpDown>(panel, stem + "UpDownVolume"); }

    // Puts a column at a position and forgets the writes that made.
    void Place(const QString& stem, int position) {
        Bar(stem)->SetPosition(position);
        hooks.Take();
    }

    DeviceRig rig;
    TVolume volume{rig.table};
    QLabel labelVolumeUnits{"00.0 dB"};
    UpDown mainMasterUpDown{0, 581, -12};
    DisplayStrip strip = [this] {
        DisplayStrip s;
        s.LabelVolumeUnits = &labelVolumeUnits;
        s.MainMasterUpDown = &mainMasterUpDown;
        return s;
    }();
    RecordingHooks hooks{rig};
    TVolumePanel panel{rig.table, volume, strip, hooks};
};

TEST_F(VolumePanelTest, MasterTrackBarToEightyReachesTheDevice) {
    Bar("Master")->SetPosition(80);

    EXPECT_EQ(DbLabel("Master")->text(), "-2");
    EXPECT_EQ(labelVolumeUnits.text(), "-2");
    EXPECT_EQ(ColumnUpDown("Master")->Position(), 80);
    EXPECT_EQ(mainMasterUpDown.Position(), 80);
    EXPECT_EQ(hooks.Take(), Timeline{"d9: 00 00 00 50"});
    EXPECT_EQ(rig.device->Register(0xD9), (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x50}));
}

TEST_F(VolumePanelTest, TrackBarShowsItsGainAndWritesItsOwnRegister) {
    struct Position {
        int position;
        const char* text;
    };
    const Position positions[] = {{72, "0"}, {0, "18"}, {580, "-127"}, {581, "MUTE"}};
    for (const ColumnCase& column : Columns) {
        const bool master = column.subAddress == TVolume::MasterRegister;
        for (const Position& p : positions) {
            SCOPED_TRACE(testing::Message() << column.stem << " at " << p.position);
            Place(column.stem, 300);
            labelVolumeUnits.setText("unchanged");
            mainMasterUpDown.SetPosition(5);

            Bar(column.stem)->SetPosition(p.position);

            EXPECT_EQ(DbLabel(column.stem)->text(), p.text);
            EXPECT_EQ(ColumnUpDown(column.stem)->Position(), p.position);
            EXPECT_EQ(labelVolumeUnits.text(), master ? p.text : "unchanged");
            EXPECT_EQ(mainMasterUpDown.Position(), master ? p.position : 5);
            EXPECT_EQ(hooks.Take(), Timeline{Step(column.subAddress, p.position)});
        }
    }
}

TEST_F(VolumePanelTest, RefreshMovesTheBarToTheStoredStepAndWritesTheClampedStep) {
    struct Case {
        std::vector<uint8_t> stored;
        int position;
        Timeline writes;
    };
    const Case cases[] = {
        {{0x00, 0x00, 0xF2, 0x45}, 581, {"d7: 00 00 02 45"}},
        {{0x00, 0x00, 0x02, 0x46}, 581, {"d7: 00 00 02 45"}},
        {{0xFF, 0xFF, 0xF0, 0x10}, 16, {"d7: 00 00 00 10"}},
        {{0x00, 0x00, 0x00, 0x48}, 72, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(WriteText(0xD7, c.stored));
        Place("Ch3", 72);
        rig.Store(0xD7, c.stored);

        panel.RefreshVolume();

        EXPECT_EQ(Bar("Ch3")->Position(), c.position);
        EXPECT_EQ(hooks.Take(), c.writes);
    }
}

TEST_F(VolumePanelTest, MuteButtonSendsTheMuteValueAroundTheRefresh) {
    struct Case {
        const char* stem;
        int before;
        Timeline timeline;
    };
    // The master goes out before the refresh, a channel after it; a bar
    // not yet at the end moves there during the refresh and writes 581.
    const Case cases[] = {
        {"Master", 72, {"d9: 00 00 02 46", "RefreshAll", "d9: 00 00 02 45"}},
        {"Master", 581, {"d9: 00 00 02 46", "RefreshAll"}},
        {"Ch2", 72, {"RefreshAll", "d2: 00 00 02 45", "d2: 00 00 02 45"}},
        {"Ch2", 581, {"RefreshAll", "d2: 00 00 02 46"}},
        {"Ch4", 100, {"RefreshAll", "d8: 00 00 02 45", "d8: 00 00 02 45"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stem << " from " << c.before);
        Place(c.stem, c.before);

        Button(QString(c.stem) + "VMutesuiButton")->click();

        EXPECT_EQ(hooks.Take(), c.timeline);
        EXPECT_EQ(DbLabel(c.stem)->text(), "MUTE");
        EXPECT_EQ(Bar(c.stem)->Position(), 581);
    }
}

TEST_F(VolumePanelTest, MasterMuteBoxMutesEveryChannelOneWriteEach) {
    // Channels this tool does not control keep their bits.
    rig.Store(0x0F, {0x3C});
    Place("Master", 80);
    Place("Ch1", 0);
    Place("Ch2", 1);
    Place("Ch3", 580);
    Place("Ch4", 73);
    labelVolumeUnits.setText("unchanged");

    MuteBox("Master")->click();

    EXPECT_EQ(hooks.Take(), (Timeline{"0f: 3d", "0f: 3f", "0f: 7f", "0f: ff"}));
    for (const ColumnCase& column : Columns) {
        SCOPED_TRACE(column.stem);
        EXPECT_TRUE(MuteBox(column.stem)->isChecked());
        EXPECT_EQ(DbLabel(column.stem)->text(), "MUTE");
    }
    EXPECT_EQ(labelVolumeUnits.text(), "unchanged");

    MuteBox("Master")->click();

    EXPECT_EQ(hooks.Take(), (Timeline{"d9: 00 00 00 50", "0f: fe", "0f: fc", "0f: bc", "0f: 3c"}));
    const char* restored[] = {"-2", "18", "17.75", "-127", "-0.25"};
    for (size_t i = 0; i < std::size(Columns); ++i) {
        SCOPED_TRACE(Columns[i].stem);
        EXPECT_FALSE(MuteBox(Columns[i].stem)->isChecked());
        EXPECT_EQ(DbLabel(Columns[i].stem)->text(), restored[i]);
    }
    EXPECT_EQ(labelVolumeUnits.text(), "-2");
}

TEST_F(VolumePanelTest, ChannelMuteBoxTogglesItsBitAndLabel) {
    struct Case {
        const char* stem;
        const char* muted;
        const char* unmuted;
    };
    const Case cases[] = {
        {"Ch1", "0f: 01", "0f: 00"},
        {"Ch2", "0f: 02", "0f: 00"},
        {"Ch3", "0f: 40", "0f: 00"},
        {"Ch4", "0f: 80", "0f: 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stem);
        Place(c.stem, 80);

        MuteBox(c.stem)->click();
        EXPECT_EQ(hooks.Take(), Timeline{c.muted});
        EXPECT_EQ(DbLabel(c.stem)->text(), "MUTE");
        EXPECT_FALSE(MuteBox("Master")->isChecked());

        MuteBox(c.stem)->click();
        EXPECT_EQ(hooks.Take(), Timeline{c.unmuted});
        EXPECT_EQ(DbLabel(c.stem)->text(), "-2");
    }
}

TEST_F(VolumePanelTest, RefreshSetsTheMuteBoxesWithoutRunningTheirClicks) {
    struct Case {
        uint8_t stored;
        std::array<bool, 5> checked; // master, DAP 1 .. DAP 4
    };
    const Case cases[] = {
        {0x03, {false, true, true, false, false}},   {0xC3, {true, true, true, true, true}},
        {0x3C, {false, false, false, false, false}}, {0x80, {false, false, false, false, true}},
        {0x00, {false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stored));
        rig.Store(0x0F, {c.stored});

        panel.RefreshVolume();

        for (size_t i = 0; i < std::size(Columns); ++i) {
            SCOPED_TRACE(Columns[i].stem);
            EXPECT_EQ(MuteBox(Columns[i].stem)->isChecked(), c.checked[i]);
            EXPECT_EQ(DbLabel(Columns[i].stem)->text(), "0");
        }
        EXPECT_EQ(hooks.Take(), Timeline{});
    }
}

TEST_F(VolumePanelTest, ZeroButtonSetsZeroDecibelsAndWritesAgain) {
    for (const ColumnCase& column : Columns) {
        for (int before : {100, 72}) {
            SCOPED_TRACE(testing::Message() << column.stem << " from " << before);
            Place(column.stem, before);
            DbLabel(column.stem)->setText("unchanged");

            Button(QString(column.stem) + "VZerosuiButton")->click();

            EXPECT_EQ(Bar(column.stem)->Position(), 72);
            EXPECT_EQ(DbLabel(column.stem)->text(), "0");
            Timeline expected(before == 72 ? 1 : 2, Step(column.subAddress, 72));
            EXPECT_EQ(hooks.Take(), expected);
        }
    }
}

TEST_F(VolumePanelTest, UpDownClickMovesTheBarTheOtherWay) {
    struct Case {
        int before;
        bool up;
        int position;
        const char* text;
    };
    // An up click lowers the step: the volume rises by 0.25 dB. At the end
    // of the range the bar stays and nothing is sent, but the click still
    // shows its step everywhere.
    const Case cases[] = {
        {72, true, 71, "0.25"}, {72, false, 73, "-0.25"}, {0, true, 0, "18"}, {581, false, 581, "MUTE"}};
    for (const ColumnCase& column : Columns) {
        const bool master = column.subAddress == TVolume::MasterRegister;
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << column.stem << " from " << c.before << (c.up ? " up" : " down"));
            Place(column.stem, c.before);
            mainMasterUpDown.SetPosition(5);
            DbLabel(column.stem)->setText("unchanged");
            UpDown* upDown = ColumnUpDown(column.stem);

            c.up ? upDown->ClickUp() : upDown->ClickDown();

            EXPECT_EQ(upDown->Position(), c.position);
            EXPECT_EQ(Bar(column.stem)->Position(), c.position);
            EXPECT_EQ(DbLabel(column.stem)->text(), c.text);
            EXPECT_EQ(mainMasterUpDown.Position(), master ? c.position : 5);
            const Timeline writes =
                c.before == c.position ? Timeline{} : Timeline{Step(column.subAddress, c.position)};
            EXPECT_EQ(hooks.Take(), writes);
            EXPECT_EQ(volume.GetVolumeStep(column.subAddress), c.position);
        }
    }
}

TEST_F(VolumePanelTest, DisplayUpDownStepsTheMasterByThreeDecibelsAndRefreshes) {
    struct Case {
        int before;
        bool up;
        int position;
        const char* text;
    };
    const Case cases[] = {{72, true, 60, "3"}, {72, false, 84, "-3"}, {0, true, 0, "18"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.before << (c.up ? " up" : " down"));
        Place("Master", c.before);
        DbLabel("Master")->setText("unchanged");
        labelVolumeUnits.setText("unchanged");

        c.up ? mainMasterUpDown.ClickUp() : mainMasterUpDown.ClickDown();

        EXPECT_EQ(mainMasterUpDown.Position(), c.position);
        EXPECT_EQ(ColumnUpDown("Master")->Position(), c.position);
        EXPECT_EQ(Bar("Master")->Position(), c.position);
        EXPECT_EQ(DbLabel("Master")->text(), c.text);
        EXPECT_EQ(labelVolumeUnits.text(), c.text);
        Timeline timeline{"RefreshAll"};
        if (c.before != c.position)
            timeline.insert(timeline.begin(), Step(0xD9, c.position));
        EXPECT_EQ(hooks.Take(), timeline);
        EXPECT_EQ(Bar("Ch1")->Position(), 72);
    }
}

TEST_F(VolumePanelTest, HighSampleRatesReplaceTheDap3Column) {
    TDataClocks clocks(rig.table, rig.bus);
    auto* blank = FindIn<QLabel>(panel, "BlankVolumePanel");
    EXPECT_TRUE(blank->isHidden());
    EXPECT_EQ(blank->text(), "Channel 3 Vol. Not available at Fs>96K");

    struct Case {
        int hertz;
        bool highRate;
    };
    const Case cases[] = {{192000, true}, {96000, false}, {176400, true}, {48000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hertz);
        rig.device->SetSampleRate(c.hertz);
        clocks.GetRateText();

        panel.AdjustToSampleRate(clocks.IsHighRate());

        EXPECT_EQ(FindIn<QWidget>(panel, "VolCh3Panel")->isHidden(), c.highRate);
        EXPECT_EQ(blank->isHidden(), !c.highRate);
        for (const char* shown : {"VolMasterPanel", "VolCh1Panel", "VolCh2Panel", "VolCh4Panel"})
            EXPECT_FALSE(FindIn<QWidget>(panel, shown)->isHidden()) << shown;
    }
}

// Through the desktop's accessibility interface: every control of a column
// is named after the column, and its actions do what the user's do.
TEST_F(VolumePanelTest, AccessibleControlsAreNamedAndActLikeTheUsers) {
    const char* captions[] = {"MASTER", "DAP 1", "DAP 2", "DAP 3", "DAP 4"};
    const char* muted[] = {"0f: c3", "0f: 01", "0f: 02", "0f: 40", "0f: 80"};
    for (size_t i = 0; i < std::size(Columns); ++i) {
        const QString stem = Columns[i].stem;
        const QString caption = captions[i];
        SCOPED_TRACE(Columns[i].stem);
        auto spoken = [&](QWidget* control) {
            QAccessibleInterface* found = QAccessible::queryAccessibleInterface(control);
            if (!found)
                throw std::runtime_error("no accessible interface");
            return found;
        };

        QAccessibleInterface* bar = spoken(Bar(stem));
        EXPECT_EQ(bar->text(QAccessible::Name), caption + " volume");
        ASSERT_NE(bar->valueInterface(), nullptr);
        bar->valueInterface()->setCurrentValue(80);
        EXPECT_EQ(hooks.Take(), Timeline{Step(Columns[i].subAddress, 80)});
        EXPECT_EQ(DbLabel(stem)->text(), "-2");

        EXPECT_EQ(spoken(ColumnUpDown(stem))->text(QAccessible::Name), caption + " volume up/down");
        EXPECT_EQ(
            spoken(ColumnUpDown(stem)->findChild<QWidget*>(stem + "UpDownVolumeUp"))->text(QAccessible::Name),
            caption + " volume up");
        EXPECT_EQ(spoken(Button(stem + "VMutesuiButton"))->text(QAccessible::Name), caption + " mute");

        QAccessibleInterface* zero = spoken(Button(stem + "VZerosuiButton"));
        EXPECT_EQ(zero->text(QAccessible::Name), caption + " 0 dB");
        zero->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_TRUE(QTest::qWaitFor([&] { return Bar(stem)->Position() == 72; }));
        hooks.Take();

        QAccessibleInterface* box = spoken(MuteBox(stem));
        EXPECT_EQ(box->text(QAccessible::Name), caption + " soft mute");
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_TRUE(MuteBox(stem)->isChecked());
        const Timeline timeline = hooks.Take();
        ASSERT_FALSE(timeline.empty());
        EXPECT_EQ(timeline.back(), muted[i]);
        EXPECT_EQ(DbLabel(stem)->text(), "MUTE");
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_FALSE(MuteBox(stem)->isChecked());
        EXPECT_EQ(hooks.Take().back(), "0f: 00");
    }
    EXPECT_EQ(ControlsNotToldApart(&panel), QStringList());
}

TEST(VolumePanelLayout, ColumnsAsDesigned) {
    DeviceRig rig;
    TVolume volume(rig.table);
    QLabel labelVolumeUnits("00.0 dB");
    UpDown mainMasterUpDown(0, 581, -12);
    DisplayStrip strip;
    strip.LabelVolumeUnits = &labelVolumeUnits;
    strip.MainMasterUpDown = &mainMasterUpDown;
    RecordingHooks hooks(rig);
    TVolumePanel panel(rig.table, volume, strip, hooks);

    EXPECT_EQ(panel.objectName(), "PanelVolume");
    EXPECT_EQ(FindIn<QLabel>(panel, "LabelVolumeControl")->text(), "VOLUME CONTROL");
    const char* captions[] = {"MASTER", "DAP 1", "DAP 2", "DAP 3", "DAP 4"};
    for (size_t i = 0; i < std::size(Columns); ++i) {
        const QString stem = Columns[i].stem;
        SCOPED_TRACE(Columns[i].stem);
        auto* column = FindIn<QWidget>(panel, "Vol" + stem + "Panel");
        QStringList texts;
        for (const QLabel* label : column->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            texts << label->text();
        EXPECT_TRUE(texts.contains(captions[i])) << texts.join("|").toStdString();
        EXPECT_TRUE(texts.contains("18"));
        EXPECT_TRUE(texts.contains("-127"));

        auto* bar = FindIn<TrackBar>(*column, stem + "VTrackBar");
        EXPECT_EQ(bar->orientation(), Qt::Vertical);
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 581);
        EXPECT_EQ(bar->pageStep(), 12);
        EXPECT_EQ(bar->tickInterval(), 20);
        EXPECT_EQ(bar->Position(), 73);
        auto* upDown = FindIn<UpDown>(*column, stem + "UpDownVolume");
        EXPECT_EQ(upDown->Minimum(), 0);
        EXPECT_EQ(upDown->Maximum(), 581);
        EXPECT_EQ(upDown->Increment(), -1);
        EXPECT_EQ(FindIn<QLabel>(*column, stem + "VdBLabel")->text(), "0.0 dB");
        EXPECT_EQ(FindIn<QPushButton>(*column, stem + "VMutesuiButton")->text(), "mute");
        EXPECT_EQ(FindIn<QCheckBox>(*column, stem + "VMuteCheckBox")->text(), "mute");
        FindIn<QPushButton>(*column, stem + "VZerosuiButton");
    }
    EXPECT_TRUE(rig.TakeWrites().empty());
}

} // namespace
