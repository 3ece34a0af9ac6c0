#include "LoudnessPanel.h"
#include "Accessibility.h"
#include "ByteEdit.h"
#include "DeviceRig.h"
#include "FilePanelRig.h"
#include "Loudnessunit.h"
#include "RecordingHooks.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
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

// A parameter's decimal edit, its byte edit rows and its register.
struct Parameter {
    const char* name; // "LG"
    int firstRow;     // Byte1Edit<firstRow> ...
    int rows;
    int subAddress;
};
const Parameter LG{"LG", 1, 1, 0x91}, G{"G", 2, 1, 0x93}, LO{"LO", 3, 2, 0x92}, O{"O", 5, 2, 0x94};

// The loudness panel over the simulated device, in a start directory of its
// own, refreshed once as the window does at start-up.
class LoudnessPanelTest : public ::testing::Test, public FilePanelRig {
protected:
    LoudnessPanelTest() {
        hooks.onRefresh = [this] { panel.RefreshLoudness(); };
        panel.RefreshLoudness();
        hooks.Take();
    }

    QLineEdit* Decimal(const Parameter& p) { return FindIn<QLineEdit>(panel, QString(p.name) + "Edit"); }
    ByteEdit* Byte(const Parameter& p, int index) {
        return FindIn<ByteEdit>(panel,
                                QString("Byte%1Edit%2").arg(index % 4 + 1).arg(p.firstRow + index / 4));
    }
    // The row's bytes as the edits show them.
    std::string Row(const Parameter& p) {
        std::string text;
        for (int i = 0; i < 4 * p.rows; ++i)
            text += (i ? " " : "") + Byte(p, i)->text().toStdString();
        return text;
    }
    void SetRow(const Parameter& p, const std::vector<QString>& texts) {
        for (int i = 0; i < static_cast<int>(texts.size()); ++i)
            Byte(p, i)->setText(texts[static_cast<size_t>(i)]);
    }
    void Type(const Parameter& p, const QString& text) {
        Decimal(p)->clear();
        QTest::keyClicks(Decimal(p), text);
    }
    QPushButton* Button(const QString& name) { return FindIn<QPushButton>(panel, name); }
    QComboBox* Files() { return FindIn<QComboBox>(panel, "LoudnessFileLoadComboBox"); }

    TLoudness loudness{rig.table};
    TLoudnessPanel panel{rig.table, loudness, strip, hooks, folder.path()};
};

TEST_F(LoudnessPanelTest, CaptionsShowOneAmpersandAndEveryControlHasItsOwnName) {
    EXPECT_EQ(Button("LoudnessApplysuiButton")->text(), "SEND LG,  G,  LO && O to Device");
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(Button("LoudnessApplysuiButton"))->text(QAccessible::Name),
        "SEND LG,  G,  LO & O to Device");
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(Button("LoudnessFileLoadsuiButton"))->text(QAccessible::Name),
        "LOAD File & Apply to Device");
    EXPECT_EQ(Button("LoudnessFileLoadsuiButton")->toolTip(),
              "Send the Contents of this file to the device.");
    EXPECT_EQ(FindIn<QLabel>(panel, "LoudnessWarningLabel")->text(),
              "Loudness Data applies to all DAP Channels.");
    EXPECT_EQ(ControlsNotToldApart(&panel).join("; ").toStdString(), "");
}

TEST_F(LoudnessPanelTest, TypingADecimalFillsItsRowAtOnceAndSendsNothing) {
    struct Case {
        Parameter parameter;
        const char* typed;
        const char* row;
    };
    const Case cases[] = {
        {G, "1", "00 80 00 00"},
        {G, "-", "00 00 00 00"},
        {LG, "abc", "00 00 00 00"},
        {LG, "0.1", "00 0c cc cc"},
        {LG, "-0.1", "ff f3 33 34"},
        {LG, "100", "07 ff ff ff"},
        {LO, "1", "00 00 00 00 00 80 00 00"},
        {O, "-1", "ff ff ff ff ff 80 00 00"},
        {O, "-", "00 00 00 00 00 00 00 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.parameter.name << " " << c.typed);
        SetRow(c.parameter, {"12", "34", "56", "78", "9a", "bc", "de", "f0"});
        Type(c.parameter, c.typed);
        EXPECT_EQ(Row(c.parameter), c.row);
        EXPECT_EQ(hooks.Take(), Timeline{});
    }
}

TEST_F(LoudnessPanelTest, EnterFillsTheRowFromTheDecimalText) {
    Decimal(LO)->setText("2");
    SetRow(LO, {"ff", "ff", "ff", "ff", "ff", "ff", "ff", "ff"});
    Button("LOFloatsuiButton")->click();
    EXPECT_EQ(Row(LO), "00 00 00 00 01 00 00 00");
    EXPECT_EQ(hooks.Take(), Timeline{});
}

TEST_F(LoudnessPanelTest, ConvertHexToFloatShowsTheValueAndNormalisesTheBytes) {
    struct Case {
        Parameter parameter;
        std::vector<QString> bytes;
        const char* text;
        const char* row;
    };
    const Case cases[] = {
        {LG, {"F0", "80", "00", "00"}, "1.00000000", "00 80 00 00"},
        {LG, {"7F", "80", "00", "00"}, "-1.00000000", "ff 80 00 00"},
        // The same text once more: the bytes still follow it.
        {LG, {"F0", "80", "00", "00"}, "1.00000000", "00 80 00 00"},
        {G, {"00", "5", "x", "0c"}, "0.62500143", "00 50 00 0b"},
        {LO, {"FF", "FF", "00", "00", "00", "80", "00", "00"}, "1.00000000", "00 00 00 00 00 80 00 00"},
        // 48 significant bits shown in single precision, and kept so.
        {O, {"00", "00", "12", "34", "56", "78", "9A", "BC"}, "2386093.00000000", "00 00 12 34 56 80 00 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.parameter.name << " " << c.text);
        SetRow(c.parameter, c.bytes);
        Button(QString(c.parameter.name) + "HEXsuiButton")->click();
        EXPECT_EQ(Decimal(c.parameter)->text(), c.text);
        EXPECT_EQ(Row(c.parameter), c.row);
        EXPECT_EQ(hooks.Take(), Timeline{});
    }
}

TEST_F(LoudnessPanelTest, SendWritesTheFourRowsInRegisterOrderFromTheByteEditsOnly) {
    for (const Parameter& p : {LG, G, LO, O})
        SetRow(p, {"00", "00", "00", "00", "00", "00", "00", "00"});
    Button("LoudnessApplysuiButton")->click();
    EXPECT_EQ(hooks.Take(), (Timeline{"91: 00 00 00 00", "92: 00 00 00 00 00 00 00 00", "93: 00 00 00 00",
                                      "94: 00 00 00 00 00 00 00 00"}));

    // A decimal not turned into bytes is not what goes out; "5" is 0x50.
    Type(G, "1");
    Byte(G, 0)->setText("5");
    Decimal(LG)->blockSignals(true);
    Decimal(LG)->setText("3");
    Decimal(LG)->blockSignals(false);
    SetRow(O, {"00", "00", "12", "34", "56", "78", "9A", "BC"});
    Button("OHEXsuiButton")->click();
    Button("LoudnessApplysuiButton")->click();
    EXPECT_EQ(hooks.Take(), (Timeline{"91: 00 00 00 00", "92: 00 00 00 00 00 00 00 00", "93: 50 80 00 00",
                                      "94: 00 00 12 34 56 80 00 00"}));
    EXPECT_EQ(rig.table.GetData(0x93), (Bytes{0x50, 0x80, 0x00, 0x00}));
}

TEST_F(LoudnessPanelTest, RefreshShowsTheTableUnlessTheUserIsTypingUnderTheFsPoll) {
    rig.Store(0x91, {0x00, 0x40, 0x00, 0x00});
    rig.Store(0x94, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0x00});
    struct Case {
        const char* detect;
        bool shown;
        bool refreshed;
    };
    const Case cases[] = {{"ON", true, false}, {"ON", false, true}, {"OFF", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.detect << (c.shown ? " shown" : " hidden"));
        Type(LG, "7");
        Type(O, "7");
        autoDetect.setText(c.detect);
        panel.setVisible(c.shown);
        panel.RefreshLoudness();
        EXPECT_EQ(Decimal(LG)->text(), c.refreshed ? "0.50000000" : "7");
        EXPECT_EQ(Row(LG), c.refreshed ? "00 40 00 00" : "03 80 00 00");
        EXPECT_EQ(Decimal(O)->text(), c.refreshed ? "-1.00000000" : "7");
        EXPECT_EQ(Row(O), c.refreshed ? "ff ff ff ff ff 80 00 00" : "00 00 00 00 03 80 00 00");
        EXPECT_EQ(hooks.Take(), Timeline{});
    }
}

TEST_F(LoudnessPanelTest, CancelRefreshesAndExamplesOpenTheDocument) {
    Type(G, "2");
    rig.Store(0x93, {0x00, 0x80, 0x00, 0x00});
    Button("LoudnessCancelsuiButton")->click();
    EXPECT_EQ(Decimal(G)->text(), "1.00000000");
    Button("LoudnessExamplesuiButton")->click();
    EXPECT_EQ(hooks.Take(), (Timeline{"RefreshAll", "document: QMX4600Loudness.PDF"}));
}

TEST_F(LoudnessPanelTest, LoadSendsTheFileFoundWithoutRegardToCaseThenAdaptsAndRefreshes) {
    Put("Soft Room.ld46xx",
        "!r_loudness_bq\nX95 00 40 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01\n"
        "!r_loudness_g\nX93 00 40 00 00\n");
    panel.FillLoudnessFileCombo();
    ASSERT_EQ(Files()->currentText(), "SOFT ROOM.LD46XX");
    Button("LoudnessFileLoadsuiButton")->click();
    EXPECT_EQ(hooks.Take(),
              (Timeline{"95: 00 40 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01", "93: 00 40 00 00",
                        "UpdateGainIndicators", "AdjustToSampleRateMode", "RefreshAll"}));
    EXPECT_EQ(Decimal(G)->text(), "0.50000000");

    // A name that matches no file changes nothing.
    Files()->setEditText("GONE.LD46XX");
    Button("LoudnessFileLoadsuiButton")->click();
    EXPECT_EQ(hooks.Take(), (Timeline{"UpdateGainIndicators", "AdjustToSampleRateMode", "RefreshAll"}));
}

TEST_F(LoudnessPanelTest, FileListSaysWhenThereIsNoneAndKeepsTheItemsItHad) {
    panel.FillLoudnessFileCombo();
    EXPECT_EQ(hooks.Take(), Timeline{"message: No Loudness (*.LD46xx) Files Exist"});
    Put("b.LD46xx", "");
    Put("A.ld46XX", "");
    Put("c.cfg", "");
    panel.FillLoudnessFileCombo();
    ASSERT_EQ(Files()->count(), 2);
    EXPECT_EQ(Files()->itemText(0), "A.LD46XX");
    EXPECT_EQ(Files()->itemText(1), "B.LD46XX");
    QFile::remove(QDir(folder.path()).filePath("b.LD46xx"));
    QFile::remove(QDir(folder.path()).filePath("A.ld46XX"));
    panel.FillLoudnessFileCombo();
    EXPECT_EQ(hooks.Take(), Timeline{"message: No Loudness (*.LD46xx) Files Exist"});
    EXPECT_EQ(Files()->count(), 2);
    EXPECT_EQ(Files()->currentText(), "A.LD46XX");
}

} // namespace
