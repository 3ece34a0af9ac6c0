#include "DrcPanel.h"
#include "Accessibility.h"
#include "ByteEdit.h"
#include "Compressionunit.h"
#include "DeviceRig.h"
#include "FilePanelRig.h"
#include "HandlerGuard.h"
#include "RadioGroup.h"
#include "RecordingHooks.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Timeline = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

template <class T> T* FindIn(const QObject& parent, const QString& name) {
    T* found = parent.findChild<T*>(name);
    if (!found)
        throw std::runtime_error("no control named " + name.toStdString());
    return found;
}

const std::string Through = " 00 80 00 00 00 00 00 00", Compressed = " 00 00 00 00 00 80 00 00";

Timeline ChannelWrites(const std::string& bytes) {
    Timeline writes;
    for (int channel = 0xA2; channel <= 0xA9; ++channel)
        writes.push_back(WriteText(static_cast<uint8_t>(channel), {}) + bytes);
    return writes;
}

Timeline Concat(std::initializer_list<Timeline> parts) {
    Timeline all;
    for (const Timeline& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(CompressionModel, ControlModeCountsOnlyWhenBothCopiesAgree) {
    struct Case {
        Bytes first, second;
        int mode;
    };
    const Bytes none{0, 0, 0, 0}, pre{0x00, 0x00, 0x15, 0x55}, post{0x00, 0x00, 0x2A, 0xAA};
    const Case cases[] = {
        {none, none, 0},
        {pre, pre, 1},
        {post, post, 2},
        {pre, post, 0},
        {post, pre, 0},
        {pre, none, 0},
        {{0x00, 0x00, 0x15, 0x56}, {0x00, 0x00, 0x15, 0x56}, 0},
    };
    DeviceRig rig;
    TCompression compression{rig.table};
    for (const Case& c : cases) {
        rig.Store(0x96, c.first);
        rig.Store(0x97, c.second);
        EXPECT_EQ(compression.GetControlMode(), c.mode)
            << WriteText(0x96, c.first) << WriteText(0x97, c.second);
    }
}

TEST(CompressionModel, AlphaAndItsTimeConstant) {
    EXPECT_NEAR(TCompression::CalcAlpha(1, 48000), 0.0206178, 1e-7);
    EXPECT_EQ(TCompression::AlphaText(TCompression::CalcAlpha(1, 48000)), "0.020617818668759900");
    EXPECT_EQ(TCompression::AlphaText(0.5), "0.500000000000000000");
    EXPECT_EQ(TCompression::AlphaText(1.0 / 3.0), "0.333333333333333000");
    EXPECT_LT(TCompression::CalcAlpha(-1, 48000), 0.0);
    EXPECT_NEAR(*TCompression::TimeConstantMs(TCompression::CalcAlpha(5, 96000), 96000), 5.0, 1e-9);
    EXPECT_FALSE(TCompression::TimeConstantMs(0.0, 48000));
    EXPECT_FALSE(TCompression::TimeConstantMs(1.0, 48000));
    EXPECT_FALSE(TCompression::TimeConstantMs(0.5, 0));
    EXPECT_EQ(TCompression::GeneralText(1.0 - 0.1), "0.9");
    EXPECT_EQ(TCompression::GeneralText(0.5), "0.5");
}

// The DRC panel over the simulated device at 48 kHz, in a start directory
// of its own, refreshed once as the window does at start-up. Errors that
// escape a handler are collected as the error box would show them.
class DrcPanelTest : public ::testing::Test, public FilePanelRig {
protected:
    DrcPanelTest() {
        SetHandlerErrorReport([this](QWidget*, const QString& message) { errors.push_back(message); });
        hooks.onRefresh = [this] { panel.RefreshDrc(); };
        panel.RefreshDrc();
        hooks.Take();
    }
    ~DrcPanelTest() override { SetHandlerErrorReport({}); }

    QLineEdit* Edit(const QString& name) { return FindIn<QLineEdit>(panel, name); }
    QPushButton* Button(const QString& name) { return FindIn<QPushButton>(panel, name); }
    RadioGroup* Group(const QString& name) { return FindIn<RadioGroup>(panel, name); }
    // Hex edits 1..8 of a filter ("E", "A", "D") as shown.
    std::string Hex(const char* filter) {
        std::string text;
        for (int i = 1; i <= 8; ++i)
            text +=
                (i > 1 ? " " : "") +
                FindIn<ByteEdit>(panel, QString("Alpha%1HexEdit%2").arg(filter).arg(i))->text().toStdString();
        return text;
    }
    void Type(const QString& edit, const QString& text) {
        Edit(edit)->clear();
        QTest::keyClicks(Edit(edit), text);
    }

    TCompression compression{rig.table};
    std::vector<QString> errors;
    TDrcPanel panel{rig.table, compression, strip, hooks, folder.path(), [] { return 48000; }};
};

TEST_F(DrcPanelTest, StartsWithTheWindowsItemsAndEveryControlNamed) {
    EXPECT_EQ(Group("DRCSelectRadioGroup")->Items(), (QStringList{"DRC1 (1,2,3)", "DRC2 (4)"}));
    EXPECT_EQ(Group("DRCSelectRadioGroup")->ItemIndex(), 0);
    EXPECT_EQ(Group("DRCControlRadioGroup")->Items(),
              (QStringList{"No DRC", "Pre-Volume DRC", "Post-Volume DRC"}));
    EXPECT_EQ(Edit("SampleRateEdit")->text(), "48000");
    EXPECT_EQ(Edit("TimeConstantEdit")->text(), "0");
    EXPECT_FALSE(Edit("MinusDecayAlpha")->isEnabled());
    EXPECT_FALSE(FindIn<ByteEdit>(panel, "AlphaAHexEdit5")->isEnabled());
    EXPECT_EQ(ControlsNotToldApart(&panel).join("; ").toStdString(), "");
}

TEST_F(DrcPanelTest, ControlModeChangeRewritesEveryControlRegisterInsideTheMuteBracket) {
    struct Case {
        int item;
        std::string control;
        std::string channel;
    };
    const Case cases[] = {
        {2, " 00 00 2a aa", Compressed}, {1, " 00 00 15 55", Compressed}, {0, " 00 00 00 00", Through}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        Group("DRCControlRadioGroup")->SetItemIndex(c.item);
        EXPECT_EQ(
            hooks.Take(),
            Concat({{"0f: ff", "96:" + c.control, "97:" + c.control}, ChannelWrites(c.channel), {"0f: 00"}}));
    }
}

TEST_F(DrcPanelTest, RefreshRewritesAModeStoredOtherwiseInItsCanonicalForm) {
    rig.Store(0x96, {0x00, 0x00, 0x2A, 0xAA});
    rig.Store(0x97, {0x00, 0x00, 0x2A, 0xAA});
    panel.RefreshDrc();
    EXPECT_EQ(Group("DRCControlRadioGroup")->ItemIndex(), 2);
    EXPECT_EQ(
        hooks.Take(),
        Concat({{"0f: ff", "96: 00 00 2a aa", "97: 00 00 2a aa"}, ChannelWrites(Compressed), {"0f: 00"}}));
    panel.RefreshDrc();
    EXPECT_EQ(hooks.Take(), Timeline{});
}

TEST_F(DrcPanelTest, EnterFillsAlphaAndOneMinusAlphaAndSendsNothing) {
    Edit("EnergyAlpha")->setText("0.5");
    Button("DRCAlphaEgosuiButton")->click();
    EXPECT_EQ(Hex("E"), "00 40 00 00 00 40 00 00");
    EXPECT_EQ(Edit("MinusEnergyAlpha")->text(), "0.5");

    Type("DecayAlpha", "0.1");
    EXPECT_EQ(Hex("D"), "00 0c cc cc 00 73 33 33");
    EXPECT_EQ(Edit("MinusDecayAlpha")->text(), "0.9");
    EXPECT_EQ(hooks.Take(), Timeline{});
    EXPECT_TRUE(errors.empty());
}

TEST_F(DrcPanelTest, TextThatIsNoNumberStopsEnterWithTheErrorButNotTyping) {
    Edit("AttackAlpha")->setText("0.25");
    Type("AttackAlpha", "-");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(Hex("A"), "00 00 00 00 00 60 00 00");
    EXPECT_EQ(Edit("MinusAttackAlpha")->text(), "0.75");

    Button("DRCAlphaAgosuiButton")->click();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "'-' is not a valid floating point value");
    EXPECT_EQ(Edit("MinusAttackAlpha")->text(), "0.75");
    EXPECT_EQ(hooks.Take(), Timeline{});
}

TEST_F(DrcPanelTest, ConvertHexToFloatShowsWhatTheBytesHold) {
    FindIn<ByteEdit>(panel, "AlphaEHexEdit2")->setText("4");
    Button("DRCAlphaEHexgosuiButton")->click();
    EXPECT_EQ(Edit("EnergyAlpha")->text(), "0.50000000");
    EXPECT_EQ(Edit("MinusEnergyAlpha")->text(), "0.50000000");
    EXPECT_EQ(Hex("E"), "00 40 00 00 00 40 00 00");
    EXPECT_EQ(hooks.Take(), Timeline{});
}

TEST_F(DrcPanelTest, SendWritesTheSelectedCompressorsFiveRegistersWithoutMute) {
    struct Case {
        int item;
        Timeline writes;
    };
    rig.Store(0x9E, {1, 2, 3, 4, 5, 6, 7, 8});
    // After the refresh 1 - alpha reads 1.0 for a zero alpha.
    const std::string attackDecay = " 00 00 00 00 00 80 00 00 50 00 00 00 00 80 00 00";
    const Case cases[] = {
        {1,
         {"9d: 00 40 00 00 00 40 00 00", "9e: 01 02 03 04 05 06 07 08", "9f: 00 00 00 00",
          "a0: 00 00 00 00 00 00 00 00", "a1:" + attackDecay}},
        {0,
         {"98: 00 40 00 00 00 40 00 00", "99: 00 00 00 00 00 00 00 00", "9a: 00 00 00 00",
          "9b: 00 00 00 00 00 00 00 00", "9c:" + attackDecay}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        Group("DRCSelectRadioGroup")->SetItemIndex(c.item);
        EXPECT_EQ(hooks.Take(), Timeline{"RefreshAll"});
        Edit("EnergyAlpha")->setText("0.5");
        // A hex edit holding one digit is its high nibble.
        FindIn<ByteEdit>(panel, "AlphaDHexEdit1")->setText("5");
        Button("DRCApplysuiButton")->click();
        EXPECT_EQ(hooks.Take(), c.writes);
    }
}

TEST_F(DrcPanelTest, CalculatorTurnsZeroIntoOneAndTransfersSendTheAlpha) {
    Button("DRCAlphaCalcsuiButton")->click();
    EXPECT_EQ(Edit("TimeConstantEdit")->text(), "1");
    EXPECT_EQ(Edit("AlphaEdit")->text(), "0.020617818668759900");

    Edit("SampleRateEdit")->setText("0");
    Button("DRCAlphaCalcsuiButton")->click();
    EXPECT_EQ(Edit("SampleRateEdit")->text(), "1");
    EXPECT_EQ(Edit("AlphaEdit")->text(), "1.000000000000000000");

    Edit("AlphaEdit")->setText("0.5");
    Button("DRCAlphaUpdateAsuiButton")->click();
    EXPECT_EQ(Edit("AttackAlpha")->text(), "0.5");
    EXPECT_EQ(Hex("A"), "00 40 00 00 00 40 00 00");
    const Timeline writes = hooks.Take();
    ASSERT_EQ(writes.size(), 5u);
    EXPECT_EQ(writes[4], "9c: 00 40 00 00 00 40 00 00 00 00 00 00 00 80 00 00");

    // Inputs that are no numbers: the error, and nothing calculated or sent.
    Edit("SampleRateEdit")->setText("48 kHz");
    Button("DRCAlphaCalcsuiButton")->click();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "'48 kHz' is not a valid floating point value");
    Edit("AlphaEdit")->setText("half");
    Button("DRCAlphaUpdateEsuiButton")->click();
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_EQ(hooks.Take(), Timeline{});
}

// The calculation also runs as the focus comes to the Calculate button and
// leaves it, but not when an error box takes the focus with the window.
TEST_F(DrcPanelTest, CalculateRunsOnEntryAndExitOfItsButton) {
    panel.show();
    auto* calculate = Button("DRCAlphaCalcsuiButton");
    Edit("TimeConstantEdit")->setText("2");
    QFocusEvent entry(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(calculate, &entry);
    EXPECT_EQ(Edit("AlphaEdit")->text(), "0.010362601085003400");
    Edit("TimeConstantEdit")->setText("0");
    QFocusEvent exit(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(calculate, &exit);
    EXPECT_EQ(Edit("TimeConstantEdit")->text(), "1");

    Edit("TimeConstantEdit")->setText("x");
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(calculate, &away);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(hooks.Take(), Timeline{});
}

TEST_F(DrcPanelTest, EachAlphaShowsTheTimeConstantItStandsFor) {
    Edit("EnergyAlpha")->setText("0.020617818668759900");
    EXPECT_EQ(FindIn<QLabel>(panel, "EnergyTimeConstantLabel")->text(), "= 1 ms");
    Edit("DecayAlpha")->setText("0");
    EXPECT_EQ(FindIn<QLabel>(panel, "DecayTimeConstantLabel")->text(), "= - ms");
    EXPECT_EQ(hooks.Take(), Timeline{});
}

TEST_F(DrcPanelTest, RefreshLeavesTheFieldsAloneWhileShownUnderTheFsPoll) {
    rig.Store(0x98, {0x00, 0x40, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00});
    rig.Store(0x96, {0x00, 0x00, 0x15, 0x55});
    rig.Store(0x97, {0x00, 0x00, 0x15, 0x55});
    autoDetect.setText("ON");
    panel.show();
    Type("EnergyAlpha", "0.25");
    panel.RefreshDrc();
    Button("DRCCancellsuiButton")->click();
    EXPECT_EQ(Edit("EnergyAlpha")->text(), "0.25");
    EXPECT_EQ(Group("DRCControlRadioGroup")->ItemIndex(), 0);
    EXPECT_EQ(hooks.Take(), Timeline{"RefreshAll"});

    panel.hide();
    panel.RefreshDrc();
    EXPECT_EQ(Edit("EnergyAlpha")->text(), "0.50000000");
    EXPECT_EQ(Group("DRCControlRadioGroup")->ItemIndex(), 1);
}

TEST_F(DrcPanelTest, HighRateRenamesTheCompressorsOnlyWhenTheModeChanges) {
    struct Case {
        bool highRate;
        QStringList items;
        Timeline timeline;
    };
    const Case cases[] = {
        {false, {"DRC1(1,2,3)", "DRC2(4)"}, {}}, // first time: built, DRC1 already chosen
        {false, {"DRC1(1,2,3)", "DRC2(4)"}, {}}, {true, {"DRC1(1,2)", "DRC2(4)"}, {"RefreshAll"}},
        {true, {"DRC1(1,2)", "DRC2(4)"}, {}},    {false, {"DRC1(1,2,3)", "DRC2(4)"}, {"RefreshAll"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.highRate);
        Group("DRCSelectRadioGroup")->SetItemIndex(1);
        hooks.Take();
        panel.AdjustToSampleRate(c.highRate);
        EXPECT_EQ(Group("DRCSelectRadioGroup")->Items(), c.items);
        const bool rebuilt = !c.timeline.empty() || &c == &cases[0];
        EXPECT_EQ(Group("DRCSelectRadioGroup")->ItemIndex(), rebuilt ? 0 : 1);
        EXPECT_EQ(hooks.Take(), rebuilt ? Timeline{"RefreshAll"} : Timeline{});
    }
}

TEST_F(DrcPanelTest, LoadSendsTheFileIntoTheSelectedCompressorInsideTheMuteBracket) {
    Put("Gentle Speech.drc46XX", "T 01 02 03 04 05 06 07 08\nK 00 00 00 2a\nO 11 12 13 14 15 16 17 18\n"
                                 "X0e 03\n");
    panel.FillDrcFileCombo();
    auto* files = FindIn<QComboBox>(panel, "DRCParametersComboBox");
    ASSERT_EQ(files->currentText(), "GENTLE SPEECH.DRC46XX");
    Group("DRCSelectRadioGroup")->SetItemIndex(1);
    hooks.Take();
    Button("DRCParameterssuiButton")->click();
    EXPECT_EQ(hooks.Take(), (Timeline{"0f: ff", "9e: 01 02 03 04 05 06 07 08", "9f: 00 00 00 2a",
                                      "a0: 11 12 13 14 15 16 17 18", "0e: 03", "97: 00 00 00 00", "0f: 00"}));

    // A file that cannot be opened: the bracket and the control register only.
    files->setEditText("NOT THERE.DRC46XX");
    Group("DRCSelectRadioGroup")->SetItemIndex(0);
    hooks.Take();
    Button("DRCParameterssuiButton")->click();
    EXPECT_EQ(hooks.Take(), (Timeline{"0f: ff", "96: 00 00 00 00", "0f: 00"}));

    Button("DRCExamplesuiButton")->click();
    EXPECT_EQ(hooks.Take(), Timeline{"document: QMX4600DRC.PDF"});
}

TEST_F(DrcPanelTest, FileListTakesTheFirstTwoHundredOfTwoHundredAndFifty) {
    for (int i = 0; i < 250; ++i)
        Put(QString("set%1.DRC46xx").arg(i, 3, 10, QChar('0')), "");
    panel.FillDrcFileCombo();
    auto* files = FindIn<QComboBox>(panel, "DRCParametersComboBox");
    EXPECT_EQ(files->count(), 200);
    EXPECT_EQ(files->currentIndex(), 0);
    for (int i = 1; i < files->count(); ++i)
        EXPECT_LT(files->itemText(i - 1), files->itemText(i));
    EXPECT_EQ(hooks.Take(), Timeline{});

    QTemporaryDir empty;
    TDrcPanel other{rig.table, compression, strip, hooks, empty.path(), [] { return 48000; }};
    other.FillDrcFileCombo();
    EXPECT_EQ(hooks.Take(), Timeline{"message: No DRC (*.DRC46xx) Files Exist"});
}

} // namespace
