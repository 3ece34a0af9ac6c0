#include "RadioGroup.h"

#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

const QStringList Items = {"DRC1(1,2,3)", "DRC2(4)", "Both"};

QRadioButton* Button(const RadioGroup& group, int item) {
    return group.findChild<QRadioButton*>("DRCSelectRadioGroupItem" + QString::number(item));
}

// A user's click on the button's indicator.
void UserClick(const RadioGroup& group, int item) {
    QRadioButton* button = Button(group, item);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

struct ClickCase {
    const char* what;
    int start;
    std::function<void(RadioGroup&)> act;
    int index;
    int clicks;
};

class RadioGroupClickTest : public ::testing::TestWithParam<ClickCase> {
protected:
    RadioGroupClickTest() {
        group.setObjectName("DRCSelectRadioGroup");
        group.SetItems(Items);
        group.SetItemIndex(GetParam().start);
        group.show();
        // The handler sees the new selection, as the panels' click handlers do.
        QObject::connect(&group, &RadioGroup::Click, [this] { seen.push_back(group.ItemIndex()); });
    }

    RadioGroup group{"DRC (DAP Channel)"};
    std::vector<int> seen;
};

TEST_P(RadioGroupClickTest, ClicksOnceWhenTheSelectionChanges) {
    const ClickCase& c = GetParam();
    c.act(group);

    EXPECT_EQ(group.ItemIndex(), c.index);
    EXPECT_EQ(seen, std::vector<int>(c.clicks, c.index));
    const QStringList items = group.Items();
    for (int i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        QRadioButton* button = Button(group, i);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->isChecked(), i == c.index);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Selections, RadioGroupClickTest,
    ::testing::Values(ClickCase{"ProgramSelectsFromNone", -1, [](RadioGroup& g) { g.SetItemIndex(1); }, 1, 1},
                      ClickCase{"ProgramSelectsAnother", 0, [](RadioGroup& g) { g.SetItemIndex(2); }, 2, 1},
                      ClickCase{"ProgramSelectsTheSame", 1, [](RadioGroup& g) { g.SetItemIndex(1); }, 1, 0},
                      ClickCase{"ProgramBeyondTheItems", 1, [](RadioGroup& g) { g.SetItemIndex(3); }, -1, 0},
                      ClickCase{"ProgramBelowTheItems", 2, [](RadioGroup& g) { g.SetItemIndex(-2); }, -1, 0},
                      ClickCase{"UserSelectsFromNone", -1, [](RadioGroup& g) { UserClick(g, 0); }, 0, 1},
                      ClickCase{"UserSelectsAnother", 0, [](RadioGroup& g) { UserClick(g, 2); }, 2, 1},
                      ClickCase{"UserClicksTheSelected", 2, [](RadioGroup& g) { UserClick(g, 2); }, 2, 0},
                      ClickCase{"NewItemsSelectNothing", 1,
                                [](RadioGroup& g) {
                                    g.SetItems({"Ch1", "Ch2", "", "Ch4"});
                                },
                                -1, 0},
                      ClickCase{"NewColumnsKeepTheSelection", 1, [](RadioGroup& g) { g.SetColumns(2); }, 1,
                                0}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(RadioGroupTest, ButtonsAreNamedAfterTheGroupWhicheverComesFirst) {
    RadioGroup itemsFirst("Items first");
    itemsFirst.SetItems({"a", "b"});
    itemsFirst.setObjectName("SerialFormatRadioGroup");
    RadioGroup nameFirst("Name first");
    nameFirst.setObjectName("EQEQRadioGroup");
    nameFirst.SetItems({"BQ1", "BQ2", "BQ3"});

    ASSERT_NE(itemsFirst.findChild<QRadioButton*>("SerialFormatRadioGroupItem1"), nullptr);
    EXPECT_EQ(itemsFirst.findChild<QRadioButton*>("SerialFormatRadioGroupItem1")->text(), "b");
    ASSERT_NE(nameFirst.findChild<QRadioButton*>("EQEQRadioGroupItem2"), nullptr);
    EXPECT_EQ(nameFirst.findChild<QRadioButton*>("EQEQRadioGroupItem2")->text(), "BQ3");
}

// A click handler that rebuilds its own group runs while the clicked button is
// still delivering its click; afterwards the group holds exactly the new
// items, named and selectable.
TEST(RadioGroupTest, HandlerMayReplaceTheItemsOfItsOwnGroup) {
    RadioGroup group("DAP");
    group.setObjectName("EQDAPCHRadioGroup");
    group.SetItems({"Ch1", "Ch2", "Ch3", "Ch4"});
    group.show();
    int clicks = 0;
    QObject::connect(&group, &RadioGroup::Click, [&] {
        if (++clicks == 1)
            group.SetItems({"Ch1", "Ch2", "", "Ch4"});
    });

    QRadioButton* ch2 = group.findChild<QRadioButton*>("EQDAPCHRadioGroupItem1");
    ASSERT_NE(ch2, nullptr);
    QTest::mouseClick(ch2, Qt::LeftButton, {}, QPoint(6, ch2->height() / 2));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    group.SetItemIndex(3);

    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(group.ItemIndex(), 3);
    EXPECT_EQ(group.findChildren<QRadioButton*>().size(), 4);
    ASSERT_NE(group.findChild<QRadioButton*>("EQDAPCHRadioGroupItem2"), nullptr);
    EXPECT_EQ(group.findChild<QRadioButton*>("EQDAPCHRadioGroupItem2")->text(), "");
    EXPECT_TRUE(group.findChild<QRadioButton*>("EQDAPCHRadioGroupItem3")->isChecked());
}

} // namespace
