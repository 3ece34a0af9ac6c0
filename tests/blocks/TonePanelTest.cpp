#include "TonePanel.h"
#include "Accessibility.h"
#include "DeviceRig.h"
#include "RecordingHooks.h"
#include "Toneunit.h"
#include "TrackBar.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Timeline = std::vector<std::string>;

template <class T> T* FindIn(const QObject& parent, const QString& name) {
    T* found = parent.findChild<T*>(name);
    if (!found)
        throw std::runtime_error("no control named " + name.toStdString());
    return found;
}

// One level control: its names, its register and its byte there.
struct LevelCase {
    const char* kind; // "Bass", "Treble"
    int number;       // 1, 2
    const char* valueLabel;
    int subAddress;
    size_t byte;
};

const LevelCase Levels[] = {
    {"Bass", 1, "ToneValueLabel1", 0xDB, 0},
    {"Bass", 2, "ToneValueLabel2", 0xDB, 3},
    {"Treble", 1, "ToneValueLabel3", 0xDD, 0},
    {"Treble", 2, "ToneValueLabel4", 0xDD, 3},
};

std::vector<uint8_t> WithByte(std::vector<uint8_t> bytes, size_t index, uint8_t value) {
    bytes[index] = value;
    return bytes;
}

// The tone panel over the simulated device, refreshed once as the window
// does at start-up. The level registers hold device bytes in the middle that
// every write must keep.
class TonePanelTest : public ::testing::Test {
protected:
    static inline const std::vector<uint8_t> Middle = {0x12, 0x12, 0x34, 0x12};

    TonePanelTest() {
        for (int subAddress : {0xDA, 0xDB, 0xDC, 0xDD})
            rig.Store(subAddress, Middle);
        panel.RefreshTone();
        panel.show();
        hooks.Take();
    }

    TrackBar* Bar(const LevelCase& c) {
        return FindIn<TrackBar>(panel, QString(c.kind) + "ToneTrackBar" + QString::number(c.number));
    }
    QScrollBar* Scroll(const LevelCase& c) {
        return FindIn<QScrollBar>(panel, QString(c.kind) + "TonesuiScrollBar" + QString::number(c.number));
    }
    QPushButton* Zero(const LevelCase& c) {
        return FindIn<QPushButton>(panel, QString(c.kind) + "ToneZerosuiButton" + QString::number(c.number));
    }
    QString Text(const QString& name) { return FindIn<QLabel>(panel, name)->text(); }
    QComboBox* Box(const QString& name) { return FindIn<QComboBox>(panel, name); }
    QPushButton* Button(const QString& name) { return FindIn<QPushButton>(panel, name); }

    DeviceRig rig;
    RecordingHooks hooks{rig};
    TTone tone{rig.table};
    TTonePanel panel{rig.table, tone, hooks};
};

TEST(TonePanelStart, ShowsTheDesignedTextsUntilTheFirstRefresh) {
    DeviceRig rig;
    RecordingHooks hooks{rig};
    TTone tone{rig.table};
    TTonePanel panel{rig.table, tone, hooks};
    for (const char* box : {"BassFilterSet1suiComboBox", "BassFilterSet2suiComboBox",
                            "TrebleFilterSet1suiComboBox", "TrebleFilterSet2suiComboBox"}) {
        EXPECT_EQ(FindIn<QComboBox>(panel, box)->currentText(), "2") << box;
        EXPECT_EQ(FindIn<QComboBox>(panel, box)->count(), 5) << box;
    }
    for (const LevelCase& c : Levels) {
        EXPECT_EQ(FindIn<QLabel>(panel, c.valueLabel)->text(), "0.00");
        EXPECT_EQ(
            FindIn<TrackBar>(panel, QString(c.kind) + "ToneTrackBar" + QString::number(c.number))->Position(),
            18);
    }
    EXPECT_EQ(FindIn<QPushButton>(panel, "BassTonesuiButton1")->text(), "OFF");
    EXPECT_EQ(FindIn<QPushButton>(panel, "BassTonesuiButton2")->toolTip(),
              "Ch 1,2,7: OFF= Tone Bypassed, ON=Tone Active");
    EXPECT_TRUE(hooks.Take().empty());
    // On Linux Qt names a combo box by its text ("2" in all four); a screen
    // reader names it by the label it is the buddy of.
    QStringList problems = ControlsNotToldApart(&panel);
    problems.removeIf([](const QString& p) {
        return p.contains(QRegularExpression("ComboBox: same name as \\w+ComboBox$"));
    });
    EXPECT_EQ(problems.join("; ").toStdString(), "");
    for (const char* kind : {"Bass", "Treble"})
        EXPECT_EQ(FindIn<QLabel>(panel, QString(kind) + "FilterSet2Label")->buddy(),
                  FindIn<QComboBox>(panel, QString(kind) + "FilterSet2suiComboBox"));
}

TEST_F(TonePanelTest, EachLevelControlWritesOnlyItsOwnByteTwiceOverThroughItsPartner) {
    struct Move {
        int position;
        const char* label;
    };
    const Move moves[] = {{0, "18"}, {13, "5"}, {36, "-18"}};
    for (const LevelCase& c : Levels) {
        for (const Move& m : moves) {
            SCOPED_TRACE(testing::Message() << c.kind << c.number << " to " << m.position);
            rig.Store(c.subAddress, Middle);
            Bar(c)->SetPosition(18);
            hooks.Take();

            Bar(c)->SetPosition(m.position);

            const std::string write = WriteText(
                static_cast<uint8_t>(c.subAddress),
                WithByte(WithByte(Middle, c.byte, static_cast<uint8_t>(m.position)), 3 - c.byte, 18));
            EXPECT_EQ(Text(c.valueLabel), m.label);
            EXPECT_EQ(Scroll(c)->value(), m.position);
            EXPECT_EQ(hooks.Take(), (Timeline{write, write}));
        }
    }
}

TEST_F(TonePanelTest, ScrollBarMovesItsTrackBarAndWritesTheSameBytesTwice) {
    for (const LevelCase& c : Levels) {
        SCOPED_TRACE(testing::Message() << c.kind << c.number);
        Scroll(c)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        EXPECT_EQ(Bar(c)->Position(), 28);
        EXPECT_EQ(Text(c.valueLabel), "-10");
        const Timeline writes = hooks.Take();
        ASSERT_EQ(writes.size(), 2u);
        EXPECT_EQ(writes[0], writes[1]);
        EXPECT_EQ(rig.device->Register(c.subAddress)[c.byte], 28);
    }
}

TEST_F(TonePanelTest, BassOneAtTheTopAndTwoAtTheBottomKeepTheMiddleBytes) {
    Bar(Levels[0])->SetPosition(0);
    Bar(Levels[1])->SetPosition(36);
    EXPECT_EQ(rig.device->Register(0xDB), (std::vector<uint8_t>{0x00, 0x12, 0x34, 0x24}));
    EXPECT_EQ(rig.table.GetData(0xDB), (std::vector<uint8_t>{0x00, 0x12, 0x34, 0x24}));
}

TEST_F(TonePanelTest, ZeroButtonWritesOnceWhenTheBarIsAlreadyAtZeroDb) {
    for (const LevelCase& c : Levels) {
        SCOPED_TRACE(testing::Message() << c.kind << c.number);
        Zero(c)->click();
        EXPECT_EQ(Text(c.valueLabel), "0");
        EXPECT_EQ(hooks.Take().size(), 1u);

        Bar(c)->SetPosition(30);
        hooks.Take();
        Zero(c)->click();
        EXPECT_EQ(Bar(c)->Position(), 18);
        EXPECT_EQ(Scroll(c)->value(), 18);
        const Timeline writes = hooks.Take();
        ASSERT_FALSE(writes.empty());
        EXPECT_EQ(rig.device->Register(c.subAddress)[c.byte], 18);
    }
}

TEST_F(TonePanelTest, RefreshShowsStoredLevelsClampedAtMinusEighteen) {
    struct Case {
        uint8_t stored;
        int position;
        const char* label;
    };
    const Case cases[] = {
        {0x30, 36, "-18"}, {0x24, 36, "-18"}, {0xFF, 36, "-18"}, {0x00, 0, "18"}, {0x0D, 13, "5"}};
    for (const LevelCase& c : Levels) {
        for (const Case& k : cases) {
            SCOPED_TRACE(testing::Message() << c.kind << c.number << " stored " << int(k.stored));
            Bar(c)->SetPosition(18);
            rig.Store(c.subAddress, WithByte(rig.table.GetData(c.subAddress), c.byte, k.stored));
            hooks.Take();

            panel.RefreshTone();

            EXPECT_EQ(Bar(c)->Position(), k.position);
            EXPECT_EQ(Text(c.valueLabel), k.label);
        }
    }
}

TEST_F(TonePanelTest, InlineBypassButtonsToggleFromOffAndWriteTheirRegistersInOrder) {
    const std::string on = " 00 00 00 00 00 80 00 00", off = " 00 80 00 00 00 00 00 00";
    // The device holds ON already: the first click still writes ON.
    rig.Store(0x90, {0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00});
    Button("BassTonesuiButton1")->click();
    EXPECT_EQ(Button("BassTonesuiButton1")->text(), "ON");
    EXPECT_EQ(hooks.Take(), (Timeline{"90:" + on, "UpdateGainIndicators"}));
    Button("BassTonesuiButton1")->click();
    EXPECT_EQ(Button("BassTonesuiButton1")->text(), "OFF");
    EXPECT_EQ(hooks.Take(), (Timeline{"90:" + off, "UpdateGainIndicators"}));

    // An accessibility press is the user's click.
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(Button("BassTonesuiButton2"));
    ASSERT_NE(button, nullptr);
    ASSERT_NE(button->actionInterface(), nullptr);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // The press is animated: the click comes a moment later.
    EXPECT_TRUE(QTest::qWaitFor([this] { return Button("BassTonesuiButton2")->text() == "ON"; }, 2000));
    EXPECT_EQ(hooks.Take(), (Timeline{"89:" + on, "8a:" + on, "8f:" + on, "UpdateGainIndicators"}));
    Button("BassTonesuiButton2")->click();
    EXPECT_EQ(hooks.Take(), (Timeline{"89:" + off, "8a:" + off, "8f:" + off, "UpdateGainIndicators"}));

    // A refresh leaves the program's states alone.
    panel.RefreshTone();
    EXPECT_EQ(Button("BassTonesuiButton2")->text(), "OFF");
}

TEST_F(TonePanelTest, FilterSetBoxesWriteBothSetsAndKeepTheMiddleBytes) {
    struct Case {
        const char* box;
        int subAddress;
    };
    const Case cases[] = {{"BassFilterSet1suiComboBox", 0xDA},
                          {"BassFilterSet2suiComboBox", 0xDA},
                          {"TrebleFilterSet1suiComboBox", 0xDC},
                          {"TrebleFilterSet2suiComboBox", 0xDC}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        const bool first = QString(c.box).contains("Set1");
        // Both boxes of the kind show the last item: the stored 0x12 is above 5.
        rig.Store(c.subAddress, Middle);
        panel.RefreshTone();
        hooks.Take();
        QComboBox* box = Box(c.box);

        // A choice from the list, by the keyboard as a user would.
        box->setFocus();
        box->setCurrentIndex(1);
        QTest::keyClick(box, Qt::Key_Down);
        ASSERT_EQ(box->currentIndex(), 2);
        const uint8_t other = 5;
        EXPECT_EQ(hooks.Take(), Timeline{WriteText(static_cast<uint8_t>(c.subAddress),
                                                   first ? std::vector<uint8_t>{3, 0x12, 0x34, other}
                                                         : std::vector<uint8_t>{other, 0x12, 0x34, 3})});

        // Typed text that is no item writes 0 in the box's byte.
        QTest::keyClicks(box->lineEdit(), "x");
        EXPECT_EQ(hooks.Take(), Timeline{WriteText(static_cast<uint8_t>(c.subAddress),
                                                   first ? std::vector<uint8_t>{0, 0x12, 0x34, other}
                                                         : std::vector<uint8_t>{other, 0x12, 0x34, 0})});
    }
}

TEST_F(TonePanelTest, RefreshPicksTheFilterSetItemFromEachByteAndSendsNothing) {
    struct Case {
        uint8_t stored;
        QString item;
    };
    const Case cases[] = {{0, "1"}, {1, "1"}, {2, "2"}, {5, "5"}, {6, "5"}, {0xFF, "5"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.stored));
        rig.Store(0xDA, {c.stored, 0, 0, 2});
        rig.Store(0xDC, {3, 0, 0, c.stored});
        panel.RefreshTone();
        EXPECT_EQ(Box("BassFilterSet1suiComboBox")->currentText(), c.item);
        EXPECT_EQ(Box("BassFilterSet2suiComboBox")->currentText(), "2");
        EXPECT_EQ(Box("TrebleFilterSet1suiComboBox")->currentText(), "3");
        EXPECT_EQ(Box("TrebleFilterSet2suiComboBox")->currentText(), c.item);
        EXPECT_TRUE(hooks.Take().empty());
    }
}

TEST_F(TonePanelTest, HighRateModeNamesChannelsOneAndTwoAndShowsTheBlankPanels) {
    struct Case {
        bool highRate;
        const char* number;
        const char* setLabel;
    };
    const Case cases[] = {{true, "1,2", "DAP Ch 1,2"}, {false, "1,2,3", "DAP Ch 1,2,3"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.highRate);
        panel.AdjustToSampleRate(c.highRate);
        for (const char* label : {"BassNumLabel2", "TrebleNumLabel2"})
            EXPECT_EQ(Text(label), c.number);
        for (const char* label : {"BassFilterSet2Label", "TrebleFilterSet2Label"})
            EXPECT_EQ(Text(label), c.setLabel);
        for (const char* shownWhenHigh : {"PanelGreaterThan96K", "BassBlankPanel", "TrebleBlankPanel"})
            EXPECT_EQ(FindIn<QFrame>(panel, shownWhenHigh)->isVisible(), c.highRate) << shownWhenHigh;
        EXPECT_EQ(FindIn<QFrame>(panel, "PanelLessThan96K")->isVisible(), !c.highRate);
        EXPECT_TRUE(hooks.Take().empty());
    }
}

} // namespace
