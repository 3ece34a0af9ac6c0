#include "ConfigControlPanel.h"
#include "Accessibility.h"
#include "Configcontrolunit.h"
#include "DeviceRig.h"
#include "Look.h"
#include "RadioGroup.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

namespace {

using Writes = std::vector<std::string>;

constexpr Rgb Aqua{0, 255, 255};
constexpr Rgb Red{255, 0, 0};
// Byte 0 of register 0x40 is not the panel's: whatever the table holds stays.
constexpr uint8_t StoredByte0 = 0x5a;

const char* const RateGroups[] = {"Bank32kRadioGroup",  "Bank38kRadioGroup", "Bank44kRadioGroup",
                                  "Bank48kRadioGroup",  "Bank88kRadioGroup", "Bank96kRadioGroup",
                                  "Bank176kRadioGroup", "Bank192kRadioGroup"};

DisplayStrip BankLabels(QLabel& autoMan, QLabel& selected) {
    DisplayStrip strip;
    strip.LabelBankAutoMan = &autoMan;
    strip.LabelBankSelected = &selected;
    return strip;
}

// The bank panel over the simulated device, with the two display strip
// labels it writes.
class ConfigControlPanelTest : public ::testing::Test {
protected:
    ConfigControlPanelTest() { rig.Store(TConfigControl::BankRegister, {StoredByte0, 0x11, 0x22, 0x33}); }

    RadioGroup* Group(const QString& name) {
        auto* group = panel.findChild<RadioGroup*>(name);
        if (!group)
            throw std::runtime_error("no radio group " + name.toStdString());
        return group;
    }

    // Clicks item `item` of a group as the user would.
    void Choose(const QString& group, int item) {
        auto* button = Group(group)->findChild<QRadioButton*>(group + "Item" + QString::number(item));
        if (!button)
            throw std::runtime_error("no item " + std::to_string(item) + " in " + group.toStdString());
        button->click();
    }

    QLabel* Label(const QString& name) {
        auto* label = panel.findChild<QLabel*>(name);
        if (!label)
            throw std::runtime_error("no label " + name.toStdString());
        return label;
    }

    DeviceRig rig;
    TConfigControl control{rig.table};
    QLabel autoMan{"MAN"}, selected{"1"};
    DisplayStrip strip = BankLabels(autoMan, selected);
    TConfigControlPanel panel{rig.table, control, strip};
};

TEST_F(ConfigControlPanelTest, BuiltAsDesignedAndNothingSent) {
    EXPECT_EQ(panel.objectName(), "PanelConfigControl");
    EXPECT_EQ(panel.TitleLabel()->text(), "BANK SELECTION CONTROL");
    RadioGroup* selection = Group("BankSelectRadioGroup");
    EXPECT_EQ(selection->title(), "BANK SELECTION");
    EXPECT_EQ(selection->Items(),
              QStringList({"Manual Bank 1", "Manual Bank 2", "Manual Bank 3", "Automatic Bank Selection ON",
                           "Update Bank 1 ON", "Update Bank 2 ON", "Update Bank 3 ON", "Update Map Only"}));
    EXPECT_EQ(selection->ItemIndex(), 0);
    EXPECT_EQ(panel.SelectionItem(), 0);

    auto* box = panel.findChild<QGroupBox*>("FsToBankGroupBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), "Data Rate to Bank Assignment for Automatic Mode");
    const char* const captions[] = {"32k", "38k", "44.1k", "48k", "88.2k", "96k", "176.4k", "192k"};
    for (int rate = 0; rate < 8; ++rate) {
        RadioGroup* group = Group(RateGroups[rate]);
        EXPECT_EQ(group->parent(), box) << RateGroups[rate];
        EXPECT_EQ(group->title(), captions[rate]);
        EXPECT_EQ(group->Items(), QStringList({"1", "2", "3"}));
        EXPECT_EQ(group->ItemIndex(), 0);
    }
    EXPECT_EQ(Label("Bank1Label")->text(), "BANK 1");
    EXPECT_EQ(Label("Bank2Label")->text(), "BANK 2");
    EXPECT_EQ(Label("Bank3Label")->text(), "BANK 3");
    EXPECT_EQ(Label("ConfigNote1Label")->text(),
              "Note 1: In Manual Bank 1, 2 or 3, each change is sent to that bank. Changes will be heard "
              "immediately.");
    EXPECT_EQ(Label("ConfigNote2Label")->text(),
              "Note 2: In automatic bank select, the stored bank values are selected automatically based on "
              "the sample rate. Bank values are typically not changed in this mode.");
    EXPECT_EQ(
        Label("ConfigNote3Label")->text(),
        "Note 3: When Update Bank is selected every change in the GUI is recorded but is not heard until "
        "Automatic Bank or Manual Bank is selected.");
    EXPECT_EQ(
        Label("Label22")->text(),
        "Note 4: Update Map Only only updates bits D0-D15 of register 0x40. Bits D16-D23 are unchanged.");
    EXPECT_EQ(autoMan.text(), "MAN");
    EXPECT_TRUE(rig.TakeWrites().empty());
    EXPECT_TRUE(ControlsNotToldApart(&panel).isEmpty())
        << ControlsNotToldApart(&panel).join("; ").toStdString();
}

struct BankCase {
    const char* what;
    std::array<int, 8> rates; // bank item per rate, 32k .. 192k
    int selection;
    const char* bytes; // the last write, the stored byte 0 first
    const char* mode;
    Rgb colour;
    const char* number;
};

const BankCase BankCases[] = {
    {"automatic, 32k 44.1k 48k on bank 1, 38k 96k on bank 2",
     {0, 1, 0, 0, 2, 1, 2, 2},
     3,
     "40: 5a 03 b0 44",
     "AUTO",
     Aqua,
     "0"},
    {"update map only", {0, 0, 0, 0, 0, 0, 0, 0}, 7, "40: 5a 07 ff 00", "SET", Red, " "},
    {"every rate on bank 3", {2, 2, 2, 2, 2, 2, 2, 2}, 2, "40: 5a 02 00 00", "MAN", Aqua, "3"},
    {"every rate on bank 2, update bank 2",
     {1, 1, 1, 1, 1, 1, 1, 1},
     5,
     "40: 5a 05 00 ff",
     "UPDATE",
     Red,
     "2"},
    {"192k alone on bank 2, update bank 1",
     {0, 0, 0, 0, 0, 0, 0, 1},
     4,
     "40: 5a 04 fe 01",
     "UPDATE",
     Red,
     "1"},
    {"manual bank 2", {2, 0, 2, 0, 2, 0, 2, 0}, 1, "40: 5a 01 55 00", "MAN", Aqua, "2"},
};

TEST_F(ConfigControlPanelTest, EveryClickWritesTheWholeRegisterAndShowsTheMode) {
    for (const BankCase& c : BankCases) {
        SCOPED_TRACE(c.what);
        int clicks = 0;
        for (int rate = 0; rate < 8; ++rate)
            if (Group(RateGroups[rate])->ItemIndex() != c.rates[static_cast<size_t>(rate)]) {
                Choose(RateGroups[rate], c.rates[static_cast<size_t>(rate)]);
                ++clicks;
            }
        Choose("BankSelectRadioGroup", c.selection);
        ++clicks;
        const Writes writes = rig.TakeWrites();
        // One 4-byte write per click, whichever group was clicked.
        ASSERT_EQ(static_cast<int>(writes.size()), clicks);
        for (const std::string& write : writes)
            EXPECT_EQ(write.substr(0, 3), "40:");
        EXPECT_EQ(writes.back(), c.bytes);
        EXPECT_EQ(WriteText(0x40, rig.table.GetData(0x40)), c.bytes);
        EXPECT_EQ(autoMan.text().toStdString(), c.mode);
        EXPECT_EQ(TextColour(&autoMan), c.colour);
        EXPECT_EQ(selected.text().toStdString(), c.number);
        EXPECT_TRUE(Label("BankRegisterNoticeLabel")->text().isEmpty());
    }
}

TEST_F(ConfigControlPanelTest, ARateClickSendsTheCurrentModeWithTheWholeMap) {
    Choose("BankSelectRadioGroup", 3);
    rig.TakeWrites();
    Choose("Bank96kRadioGroup", 1);
    EXPECT_EQ(rig.TakeWrites(), Writes({"40: 5a 03 fb 04"}));
    EXPECT_EQ(autoMan.text(), "AUTO");
}

TEST_F(ConfigControlPanelTest, ManualBankOneOnTheLayoutsMapWritesAllRatesOnBankOne) {
    Choose("BankSelectRadioGroup", 2);
    Choose("BankSelectRadioGroup", 0);
    EXPECT_EQ(rig.TakeWrites(), Writes({"40: 5a 02 ff 00", "40: 5a 00 ff 00"}));
    EXPECT_EQ(autoMan.text(), "MAN");
    EXPECT_EQ(TextColour(&autoMan), Aqua);
    EXPECT_EQ(selected.text(), "1");
}

TEST_F(ConfigControlPanelTest, ARegisterChangedElsewhereIsNoticedWithoutTouchingThePanel) {
    QLabel* notice = Label("BankRegisterNoticeLabel");
    rig.Store(TConfigControl::BankRegister, {0x00, 0x03, 0xb0, 0x44});
    panel.ShowRegisterNotice();
    EXPECT_EQ(notice->text(), "Device bank register differs from this panel: 00 03 b0 44");
    EXPECT_TRUE(rig.TakeWrites().empty());
    EXPECT_EQ(Group("BankSelectRadioGroup")->ItemIndex(), 0);
    for (const char* group : RateGroups)
        EXPECT_EQ(Group(group)->ItemIndex(), 0) << group;
    EXPECT_EQ(autoMan.text(), "MAN");

    // Only byte 0 differing is no difference: the panel keeps it anyway.
    rig.Store(TConfigControl::BankRegister, {0x77, 0x00, 0xff, 0x00});
    panel.ShowRegisterNotice();
    EXPECT_TRUE(notice->text().isEmpty());

    // The next click writes the panel's choices over it, and the notice goes.
    rig.Store(TConfigControl::BankRegister, {0x00, 0x03, 0xb0, 0x44});
    panel.ShowRegisterNotice();
    Choose("Bank192kRadioGroup", 2);
    EXPECT_EQ(rig.TakeWrites(), Writes({"40: 00 00 fe 00"}));
    EXPECT_TRUE(notice->text().isEmpty());
}

TEST_F(ConfigControlPanelTest, AnAccessibilityPressIsAClick) {
    auto* button = Group("Bank38kRadioGroup")->findChild<QRadioButton*>("Bank38kRadioGroupItem2");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->accessibleName(), "38k bank 3");
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(face, nullptr);
    ASSERT_NE(face->actionInterface(), nullptr);
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(rig.TakeWrites(), Writes({"40: 5a 00 bf 00"}));
}

TEST(ConfigControlModelTest, StripTextsForEveryItemAndNoSelection) {
    struct Row {
        int item;
        const char* mode;
        const char* number;
        Rgb colour;
    };
    const Row rows[] = {{0, "MAN", "1", Aqua},   {1, "MAN", "2", Aqua},   {2, "MAN", "3", Aqua},
                        {3, "AUTO", "0", Aqua},  {4, "UPDATE", "1", Red}, {5, "UPDATE", "2", Red},
                        {6, "UPDATE", "3", Red}, {7, "SET", " ", Red},    {-1, "MAN", "1", Aqua}};
    for (const Row& row : rows) {
        EXPECT_EQ(TConfigControl::BankModeText(row.item), row.mode) << row.item;
        EXPECT_EQ(TConfigControl::BankNumberText(row.item), row.number) << row.item;
        EXPECT_EQ(TConfigControl::BankModeColour(row.item), row.colour) << row.item;
    }
    // No selection writes code 0; an unselected rate counts as bank 3.
    DeviceRig rig;
    rig.Store(0x40, {0x12, 0x34, 0x56, 0x78});
    TConfigControl control(rig.table);
    control.WriteBankControl(-1, {0, -1, 1, 2, 0, 0, 0, 0});
    EXPECT_EQ(WriteText(0x40, rig.table.GetData(0x40)), "40: 12 00 8f 20");
    EXPECT_TRUE(rig.TakeWrites().empty());
}

} // namespace
