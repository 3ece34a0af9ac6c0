// The widget set as the accessibility interface sees it: check boxes and
// radio buttons changed through their actions behave as clicked, up-downs
// name their arrows, and the check for controls that cannot be told apart.

#include "Accessibility.h"
#include "BlockPanel.h"
#include "RadioGroup.h"
#include "UpDown.h"

#include <QAccessible>
#include <QCheckBox>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QAccessibleInterface* Spoken(QWidget* widget) {
    EnableAccessibleClicks();
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(widget);
    if (!spoken || !spoken->actionInterface())
        throw std::runtime_error("no accessible actions");
    return spoken;
}

TEST(AccessibleCheckBox, ToggleAndPressAreClicks) {
    EnableAccessibleClicks();
    QCheckBox box("mute");
    box.setAccessibleName("DAP 1 soft mute");
    std::vector<bool> clicks;
    QObject::connect(&box, &QCheckBox::clicked, [&](bool checked) { clicks.push_back(checked); });
    QAccessibleInterface* spoken = Spoken(&box);
    EXPECT_EQ(spoken->role(), QAccessible::CheckBox);
    EXPECT_EQ(spoken->text(QAccessible::Name), "DAP 1 soft mute");
    EXPECT_TRUE(
        spoken->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));

    spoken->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(box.isChecked());
    EXPECT_TRUE(spoken->state().checked);
    spoken->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(box.isChecked());

    EXPECT_EQ(clicks, (std::vector<bool>{true, false}));
    // Set by the program: no click.
    box.setChecked(true);
    EXPECT_EQ(clicks.size(), 2u);
}

TEST(AccessibleCheckBox, ADisabledBoxDoesNothingAndTheCaptionIsItsName) {
    QCheckBox box("&Loud");
    box.setEnabled(false);
    int clicks = 0;
    QObject::connect(&box, &QCheckBox::clicked, [&] { ++clicks; });
    QAccessibleInterface* spoken = Spoken(&box);
    EXPECT_EQ(spoken->text(QAccessible::Name), "Loud");

    spoken->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());

    EXPECT_FALSE(box.isChecked());
    EXPECT_EQ(clicks, 0);
}

TEST(AccessibleRadioGroup, ToggleChoosesTheItemAndClicksOnce) {
    RadioGroup group("FORMAT");
    group.setObjectName("Format");
    group.SetItems({"left", "right", "I2S"});
    group.SetItemIndex(0);
    int clicks = 0;
    QObject::connect(&group, &RadioGroup::Click, [&] { ++clicks; });
    auto* item = group.findChild<QRadioButton*>("FormatItem2");
    ASSERT_NE(item, nullptr);
    QAccessibleInterface* spoken = Spoken(item);
    EXPECT_EQ(spoken->role(), QAccessible::RadioButton);
    EXPECT_EQ(spoken->text(QAccessible::Name), "I2S");

    spoken->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(group.ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    // The chosen item again changes nothing.
    spoken->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(group.ItemIndex(), 2);
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(clicks, 1);
}

TEST(AccessibleUpDown, NamesThePairAndItsArrowsWhichPress) {
    UpDown upDown(0, 581, -1);
    upDown.setObjectName("Ch1UpDownVolume");
    upDown.SetAccessibleNames("DAP 1 volume");
    upDown.SetPosition(72);
    upDown.show();
    int clicks = 0;
    QObject::connect(&upDown, &UpDown::Click, [&] { ++clicks; });
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&upDown)->text(QAccessible::Name),
              "DAP 1 volume up/down");
    QAccessibleInterface* up = Spoken(upDown.findChild<QToolButton*>("Ch1UpDownVolumeUp"));
    QAccessibleInterface* down = Spoken(upDown.findChild<QToolButton*>("Ch1UpDownVolumeDown"));
    EXPECT_EQ(up->text(QAccessible::Name), "DAP 1 volume up");
    EXPECT_EQ(down->text(QAccessible::Name), "DAP 1 volume down");

    up->actionInterface()->doAction(QAccessibleActionInterface::pressAction());

    EXPECT_TRUE(QTest::qWaitFor([&clicks] { return clicks == 1; }));
    EXPECT_EQ(upDown.Position(), 71);
}

struct NamingCase {
    const char* what;
    std::vector<std::pair<int, QString>> sliders; // panel 0 or 1, accessible name
    QStringList problems;
};

class ControlNaming : public ::testing::TestWithParam<NamingCase> {};

TEST_P(ControlNaming, FindsControlsWithoutANameOrWithTheSameName) {
    QWidget window;
    BlockPanel* boxes[] = {new BlockPanel("PanelOne", "ONE", &window),
                           new BlockPanel("PanelTwo", "TWO", &window)};
    int n = 0;
    for (const auto& [box, name] : GetParam().sliders) {
        auto* slider = new QSlider(boxes[box]);
        slider->setObjectName("Slider" + QString::number(n++));
        slider->setAccessibleName(name);
    }
    EXPECT_EQ(ControlsNotToldApart(&window), GetParam().problems);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlNaming,
    ::testing::Values(
        NamingCase{"AllNamed", {{0, "MASTER volume"}, {0, "DAP 1 volume"}}, {}},
        NamingCase{"OneUnnamed", {{0, "MASTER volume"}, {0, ""}}, {"Slider1: no name"}},
        NamingCase{"SameNameInOnePanel", {{0, "volume"}, {0, "volume"}}, {"Slider1: same name as Slider0"}},
        NamingCase{"SameNameInTwoPanels", {{0, "volume"}, {1, "volume"}}, {}}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
