#include "ClockPanel.h"
#include "Dataclocksunit.h"
#include "DeviceRig.h"
#include "RadioGroup.h"

#include <QAccessible>
#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

using Writes = std::vector<std::string>;

// The serial interface panel over the simulated device, with the display
// strip labels it writes.
struct ClockPanelRig {
    ClockPanelRig() {
        strip.LabelFsUnits = &fs;
        strip.LabelMclkUnits = &mclk;
        strip.LabelFormatType = &formatType;
        strip.LabelFormatBits = &formatBits;
        panel = std::make_unique<TClockControlPanel>(rig.table, clocks, strip);
        group = panel->findChild<RadioGroup*>("SerialFormatRadioGroup");
        if (!group)
            throw std::runtime_error("no SerialFormatRadioGroup");
    }

    // Clicks the radio button of an item as the user would.
    void Choose(int item) {
        const QString text = QString::fromStdString(TDataClocks::FormatItemText(item));
        for (QRadioButton* button : group->findChildren<QRadioButton*>())
            if (button->text() == text) {
                button->click();
                return;
            }
        throw std::runtime_error("no radio button " + text.toStdString());
    }

    DeviceRig rig;
    TDataClocks clocks{rig.table, rig.bus};
    QLabel fs{"-"}, mclk{"-"}, formatType{"-"}, formatBits{"-"};
    DisplayStrip strip;
    std::unique_ptr<TClockControlPanel> panel;
    RadioGroup* group = nullptr;
};

class ClockPanelTest : public ::testing::Test, protected ClockPanelRig {};

TEST_F(ClockPanelTest, BuiltWithItemOneAndNothingSent) {
    EXPECT_EQ(panel->objectName(), "PanelClockControl");
    EXPECT_EQ(panel->TitleLabel()->text(), "SERIAL INTERFACE & CLOCK CONTROL");
    EXPECT_EQ(group->title(), "SERIAL FORMAT (Address 0x0E)");
    const QStringList items = {
        "Right Justified 16 bits  (data=0x00)",
        "Right Justified 20 bits  (data=0x01)",
        "Right Justified 24 bits  (data=0x02)",
        "I2S 16 bits  (data=0x03)",
        "I2S 20 bits  (data=0x04)",
        "I2S 24 bits  (data=0x05)",
        "Left Justified 16 bits  (data=0x06)",
        "Left Justified 20 bits  (data=0x07)",
        "Left Justified 24 bits  (data=0x08)",
    };
    EXPECT_EQ(group->Items(), items);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(formatType.text(), "-");
    EXPECT_TRUE(rig.TakeWrites().empty());

    panel->ShowFormatLabels();
    EXPECT_EQ(formatType.text(), "RJ");
    EXPECT_EQ(formatBits.text(), "20");
    EXPECT_TRUE(rig.TakeWrites().empty());
}

TEST_F(ClockPanelTest, ChoosingAFormatShowsItAndWritesItsCode) {
    struct Case {
        int item;
        const char* type;
        const char* bits;
        const char* write;
    };
    const Case cases[] = {
        {7, "LJ", "20", "0e: 07"}, {0, "RJ", "16", "0e: 00"},  {5, "I2S", "24", "0e: 05"},
        {8, "LJ", "24", "0e: 08"}, {3, "I2S", "16", "0e: 03"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        Choose(c.item);
        EXPECT_EQ(group->ItemIndex(), c.item);
        EXPECT_EQ(formatType.text(), c.type);
        EXPECT_EQ(formatBits.text(), c.bits);
        EXPECT_EQ(rig.TakeWrites(), Writes{c.write});
    }
}

// A screen reader's "Toggle" on a format item is the user's choice.
TEST_F(ClockPanelTest, ChoosingAFormatThroughAccessibilityWritesItsCode) {
    auto* item = group->findChild<QRadioButton*>("SerialFormatRadioGroupItem4");
    ASSERT_NE(item, nullptr);
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(item);
    ASSERT_NE(spoken, nullptr);
    ASSERT_NE(spoken->actionInterface(), nullptr);
    EXPECT_EQ(spoken->text(QAccessible::Name), "I2S 20 bits  (data=0x04)");

    spoken->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());

    EXPECT_EQ(group->ItemIndex(), 4);
    EXPECT_EQ(formatType.text(), "I2S");
    EXPECT_EQ(rig.TakeWrites(), Writes{"0e: 04"});
}

TEST(ClockPanelRefresh, FollowsTheStoredFormatAndWritesOnlyWhenTheItemChanges) {
    struct Case {
        uint8_t stored;
        int item;
        Writes writes;
        const char* type;
        const char* bits;
    };
    // Each case starts from the designed item 1 with blank labels.
    const Case cases[] = {
        {0x09, 5, {"0e: 05"}, "I2S", "24"},
        {0x01, 1, {}, "-", "-"},
        {0x07, 7, {"0e: 07"}, "LJ", "20"},
        {0xFF, 5, {"0e: 05"}, "I2S", "24"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stored));
        ClockPanelRig fresh;
        fresh.rig.Store(0x0E, {c.stored});

        fresh.panel->RefreshClocks();

        EXPECT_EQ(fresh.group->ItemIndex(), c.item);
        EXPECT_EQ(fresh.rig.TakeWrites(), c.writes);
        EXPECT_EQ(fresh.formatType.text(), c.type);
        EXPECT_EQ(fresh.formatBits.text(), c.bits);
    }
}

TEST_F(ClockPanelTest, RefreshShowsTheClocksTheDeviceDetects) {
    struct Case {
        int hertz, ratio;
        const char* fs;
        const char* mclk;
        bool highRate;
    };
    const Case cases[] = {
        {176400, 768, "176.4k", "768 * fs", true},
        {48000, 256, "48k", "256 * fs", false},
        {192000, 128, "192k", "128 * fs", true},
        {32000, 64, "32k", "64 * fs", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hertz);
        rig.device->SetSampleRate(c.hertz);
        rig.device->SetMclkRatio(c.ratio);

        panel->RefreshClocks();

        EXPECT_EQ(fs.text(), c.fs);
        EXPECT_EQ(mclk.text(), c.mclk);
        EXPECT_EQ(clocks.IsHighRate(), c.highRate);
        EXPECT_EQ(rig.TakeReads(), std::vector<int>{0x00});
    }
}

} // namespace
