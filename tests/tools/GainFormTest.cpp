// The gain entry window over the simulated device: the three entries of a
// row, the row modes, the layouts and the write of a register.

#include "Gainformunit.h"

#include "Accessibility.h"
#include "ByteEdit.h"
#include "DeviceRig.h"
#include "RecordingHooks.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// The main window as the gain window sees it, noting the gain pictures too.
class GainHooks : public RecordingHooks {
public:
    using RecordingHooks::RecordingHooks;
    void UpdateGainIndicators() override { Note("UpdateGainIndicators"); }
};

// Notes what the register table held for a register when its write went out.
class WatchingBus : public IRegisterBus {
public:
    WatchingBus(IRegisterBus& inner, const TConfigDataUnit& table) : inner_(inner), table_(table) {}
    void I2CWrite(uint8_t deviceAddress, uint8_t subAddress, int count, const uint8_t* bytes) override {
        counts.push_back(count);
        tableAtWrite.push_back(table_.GetData(subAddress));
        inner_.I2CWrite(deviceAddress, subAddress, count, bytes);
    }
    void I2CRead(uint8_t deviceAddress, uint8_t subAddress, int count, uint8_t* buffer) override {
        inner_.I2CRead(deviceAddress, subAddress, count, buffer);
    }
    bool IsTransferOk() const override { return inner_.IsTransferOk(); }

    std::vector<int> counts;
    std::vector<std::vector<uint8_t>> tableAtWrite;

private:
    IRegisterBus& inner_;
    const TConfigDataUnit& table_;
};

class GainFormTest : public ::testing::Test {
protected:
    GainFormTest() { hooks.Take(); }

    template <class T> T* Get(const QString& name) {
        T* found = form.findChild<T*>(name);
        if (!found)
            throw std::runtime_error("no control named " + name.toStdString());
        return found;
    }
    QLineEdit* Edit(const QString& name) { return Get<QLineEdit>(name); }
    std::string Text(const QString& name) { return Edit(name)->text().toStdString(); }
    // "10 80 00 00": the four byte edits of a row as shown.
    std::string RowBytes(int row) {
        std::string bytes;
        for (int b = 1; b <= 4; ++b)
            bytes += (b > 1 ? " " : "") + Text(QString("Byte%1Edit%2").arg(b).arg(row));
        return bytes;
    }
    void Press(const QString& name) { Get<QPushButton>(name)->click(); }
    void Open(int subAddress, int rows, const std::vector<std::string>& descriptions) {
        form.SetGainLayout(rows, false);
        form.ClearRowModes();
        form.ShowGainWindow(subAddress, rows, descriptions);
    }

    DeviceRig rig;
    GainHooks hooks{rig};
    WatchingBus bus{rig.bus, rig.table};
    TGainForm form{rig.table, bus, hooks};
};

TEST_F(GainFormTest, WindowIsBuiltAsDescribed) {
    EXPECT_EQ(form.windowTitle(), "Mixer Settings");
    EXPECT_FALSE(form.isModal());
    const char* const captions[] = {"1st 32 bit Word", "2nd 32 bit Word", "3rd 32 bit Word",
                                    "4th 32 bit Word", "5th 32 bit Word", "6th 32 bit Word",
                                    "7th 32 bit Word", "8th 32 bit Word"};
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(Get<QGroupBox>(QString("GainValueGroupBox%1").arg(k))->title(), captions[k - 1]);
        EXPECT_EQ(Text(QString("Description%1").arg(k)), "Description");
        EXPECT_EQ(Text(QString("FloatEdit%1").arg(k)), "0.00");
        EXPECT_EQ(Text(QString("dBEdit%1").arg(k)), "0");
        for (const char* button : {"FloatEnterBitBtn", "HexEnterBitBtn", "DBEnterBitBtn"})
            EXPECT_EQ(Get<QPushButton>(QString("%1%2").arg(button).arg(k))->text(), "<-");
    }
    EXPECT_EQ(Text("Address"), "00");
    EXPECT_EQ(Get<QPushButton>("AOKBitBtn")->text(), "&OK");
    EXPECT_EQ(Get<QPushButton>("ApplyBitBtn")->text(), "&Apply");
    EXPECT_TRUE(Get<QPushButton>("ApplyBitBtn")->isDefault());
    EXPECT_EQ(Get<QPushButton>("CancelBitBtn")->text(), "&Cancel");
    EXPECT_EQ(Get<QPushButton>("TogglesuiButton")->toolTip(),
              "Toggle 1st and 2nd Word alternating between 0 and 1");
}

TEST_F(GainFormTest, EveryControlCanBeToldApart) {
    EXPECT_EQ(ControlsNotToldApart(&form), QStringList());
}

TEST_F(GainFormTest, LayoutsShowTheirRowsAtTheirSizes) {
    struct Case {
        int rows;
        bool toggle;
        int width, height;
        bool toggleShown;
    };
    const Case cases[] = {{1, false, 471, 193, false},
                          {2, true, 471, 193, true},
                          {2, false, 471, 193, false},
                          {3, false, 557, 193, false},
                          {8, false, 715, 329, false}};
    form.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        form.SetGainLayout(c.rows, c.toggle);
        EXPECT_EQ(form.size(), QSize(c.width, c.height));
        EXPECT_EQ(Get<QPushButton>("TogglesuiButton")->isVisible(), c.toggleShown);
        for (int k = 1; k <= 8; ++k)
            EXPECT_EQ(Get<QGroupBox>(QString("GainValueGroupBox%1").arg(k))->isVisible(), k <= c.rows) << k;
        // Every row box and button lies inside the window.
        for (QWidget* w : form.findChildren<QWidget*>())
            if (w->isVisible() && w->parentWidget() == &form) {
                EXPECT_TRUE(form.rect().contains(w->geometry())) << w->objectName().toStdString();
            }
    }
}

TEST_F(GainFormTest, RowModesFromSelectionIndex) {
    const std::pair<int, uint8_t> cases[] = {{0, 0x00}, {1, 0x10}, {2, 0x60},
                                             {3, 0x70}, {4, 0x00}, {-1, 0x00}};
    for (auto [index, mode] : cases) {
        form.SetRowMode(2, index);
        EXPECT_EQ(form.RowMode(2), mode) << index;
    }
    form.ClearRowModes();
    EXPECT_EQ(form.RowMode(2), 0x00);
}

// Decimal, hex and decibel entry of one row, each shown in all three views.
TEST_F(GainFormTest, EntriesFillEveryViewOfTheRow) {
    struct Case {
        const char* what;
        int selection; // source item of an output-mixer row; -1 for none
        const char* edit;
        const char* text;
        const char* button; // nullptr: the text change alone
        const char* floatText;
        const char* bytes;
        const char* db;
    };
    const Case cases[] = {
        {"1 with mode 0x10", 1, "FloatEdit1", "1", nullptr, "1", "10 80 00 00", "0.00000000"},
        {"-1 with mode 0x00", -1, "FloatEdit1", "-1", nullptr, "-1", "ff 80 00 00", "0.00000000"},
        {"-1 from DAP Ch1", 0, "FloatEdit1", "-1", nullptr, "-1", "0f 80 00 00", "0.00000000"},
        {"0.5 with mode 0x70", 3, "FloatEdit1", "0.5", "FloatEnterBitBtn1", "0.5", "70 40 00 00",
         "-6.02059991"},
        {"-6 dB", -1, "dBEdit1", "-6", "DBEnterBitBtn1", "0.501187233627272", "00 40 26 e7", "-6.00000041"},
        {"not a number in dB", -1, "dBEdit1", "loud", "DBEnterBitBtn1", "1", "00 80 00 00", "0.00000000"},
        {"zero", -1, "FloatEdit1", "0", nullptr, "0", "00 00 00 00", "Negative Infinity"},
        {"hex with upper case", -1, "Byte2Edit1", "E0", "HexEnterBitBtn1", "-0.25000000", "ff e0 00 00",
         "-12.04119983"},
        {"hex with mode 0x60", 2, "Byte1Edit1", "0F", "HexEnterBitBtn1", "-0.50000000", "6f c0 00 00",
         "-6.02059991"},
        {"beyond the range", -1, "FloatEdit1", "40", nullptr, "40", "07 ff ff ff", "24.08239965"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open(0xAA, 2, {"sel op1-4 and Mix to S", "sel op1-4 and Mix to S"});
        if (c.selection >= 0) {
            form.SetRowMode(1, c.selection);
            form.HexEnter(1);
        }
        if (QString(c.edit).startsWith("Byte"))
            Edit("FloatEdit1")->setText("-0.5"); // a known start for the hex cases
        Edit(c.edit)->setText(c.text);
        if (c.button)
            Press(c.button);
        EXPECT_EQ(Text("FloatEdit1"), c.floatText);
        EXPECT_EQ(RowBytes(1), c.bytes);
        EXPECT_EQ(Text("dBEdit1"), c.db);
    }
    EXPECT_TRUE(rig.TakeWrites().empty()) << "entries write nothing";
}

TEST_F(GainFormTest, DecibelButtonDoesNothingAtNegativeInfinity) {
    Open(0x49, 1, {"r_ipmix_1_to_Ch8"});
    Edit("FloatEdit1")->setText("0");
    ASSERT_EQ(Text("dBEdit1"), "Negative Infinity");
    Press("DBEnterBitBtn1");
    EXPECT_EQ(Text("FloatEdit1"), "0");
    EXPECT_EQ(RowBytes(1), "00 00 00 00");
    EXPECT_EQ(Text("dBEdit1"), "Negative Infinity");
}

TEST_F(GainFormTest, OpeningLoadsTheRegisterWithTheRowModes) {
    rig.Store(0xB0, {0x20, 0x80, 0x00, 0x00, 0xF0, 0x40, 0x00, 0x00, 0x71, 0x00, 0x00, 0x00});
    form.SetGainLayout(3, false);
    form.ClearRowModes();
    form.SetRowMode(1, 3);
    form.SetRowMode(2, 0);
    form.SetRowMode(3, 1);
    form.LoadGainRows(rig.table.GetData(0xB0), 3);
    // As loaded: the row mode in the top nibble, upper-case digits.
    EXPECT_EQ(RowBytes(1), "70 80 00 00");
    EXPECT_EQ(RowBytes(3), "11 00 00 00");
    form.ShowGainWindow(0xB0, 3,
                        {"sel op1-8 and Mix to Y", "sel op1-8 and Mix to Y", "sel op1-8 and Mix to Y"});
    EXPECT_EQ(Text("Address"), "b0");
    EXPECT_EQ(Text("Description3"), "sel op1-8 and Mix to Y");
    // After the hex entry of each row: lower-case digits, the modes kept.
    EXPECT_EQ(RowBytes(1), "70 80 00 00");
    EXPECT_EQ(Text("FloatEdit1"), "1.00000000");
    EXPECT_EQ(RowBytes(2), "00 40 00 00");
    EXPECT_EQ(RowBytes(3), "11 00 00 00");
    EXPECT_TRUE(form.isVisible());
}

TEST_F(GainFormTest, ApplyWritesTheBusThenTheTableThenRefreshes) {
    Open(0x41, 8, {"a", "b", "c", "d", "e", "f", "g", "h"});
    rig.TakeWrites();
    Edit("FloatEdit3")->setText("0.5");
    Edit("FloatEdit8")->setText("-1");
    const std::vector<uint8_t> before = rig.table.GetData(0x41);
    Press("ApplyBitBtn");

    std::vector<uint8_t> expected = before;
    expected[8] = 0x00, expected[9] = 0x40, expected[10] = 0x00, expected[11] = 0x00;
    expected[28] = 0xff, expected[29] = 0x80, expected[30] = 0x00, expected[31] = 0x00;
    EXPECT_EQ(hooks.Take(),
              (std::vector<std::string>{WriteText(0x41, expected), "RefreshAll", "UpdateGainIndicators"}));
    ASSERT_EQ(bus.tableAtWrite.size(), 1u);
    EXPECT_EQ(bus.tableAtWrite[0], before) << "the bus is written before the table";
    EXPECT_EQ(rig.table.GetData(0x41), expected);
    EXPECT_TRUE(form.isVisible()) << "Apply keeps the window";
}

TEST_F(GainFormTest, OneRowAfterEightWritesOnlyItsSize) {
    Open(0x41, 8, {"a", "b", "c", "d", "e", "f", "g", "h"});
    Edit("FloatEdit2")->setText("0.25");
    Open(0x4F, 1, {"r_Ch8_bp_bq2"});
    EXPECT_FALSE(Get<QGroupBox>("GainValueGroupBox2")->isVisible());
    EXPECT_EQ(RowBytes(2), "00 20 00 00") << "hidden rows keep what they held";
    Edit("FloatEdit1")->setText("1");
    hooks.Take();
    Press("AOKBitBtn");
    EXPECT_EQ(hooks.Take(), (std::vector<std::string>{WriteText(0x4F, {0x00, 0x80, 0x00, 0x00}), "RefreshAll",
                                                      "UpdateGainIndicators"}));
    EXPECT_EQ(bus.counts, std::vector<int>{4});
    EXPECT_FALSE(form.isVisible()) << "OK hides the window";
}

TEST_F(GainFormTest, TypedAddressIsWrittenAndUnknownOneSendsNothing) {
    Open(0x49, 1, {"r_ipmix_1_to_Ch8"});
    Edit("FloatEdit1")->setText("0.5");
    Edit("Address")->setText("4A");
    hooks.Take();
    Press("ApplyBitBtn");
    EXPECT_EQ(hooks.Take(), (std::vector<std::string>{WriteText(0x4A, {0x00, 0x40, 0x00, 0x00}), "RefreshAll",
                                                      "UpdateGainIndicators"}));
    EXPECT_EQ(rig.table.GetData(0x4A), (std::vector<uint8_t>{0x00, 0x40, 0x00, 0x00}));

    // A register of no bytes (as one the map does not know): a zero-byte
    // write, the table left as it was.
    rig.table.SetSize(0xFF, 0);
    Edit("Address")->setText("ff");
    bus.counts.clear();
    Press("ApplyBitBtn");
    EXPECT_EQ(bus.counts, std::vector<int>{0});
    EXPECT_TRUE(rig.table.GetData(0xFF).empty());
}

TEST_F(GainFormTest, CancelAndEscapeHideWithoutWriting) {
    Open(0x49, 1, {"r_ipmix_1_to_Ch8"});
    Edit("FloatEdit1")->setText("0.75");
    hooks.Take();
    Press("CancelBitBtn");
    EXPECT_FALSE(form.isVisible());
    Open(0x49, 1, {"r_ipmix_1_to_Ch8"});
    EXPECT_EQ(Text("FloatEdit1"), "0.00000000") << "reopening reloads from the table";
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(hooks.Take(), std::vector<std::string>{});
}

TEST_F(GainFormTest, ToggleAlternatesTheFirstTwoWords) {
    form.SetGainLayout(2, true);
    form.ClearRowModes();
    form.ShowGainWindow(0xAA, 2, {"sel op1-4 and Mix to S", "sel op1-4 and Mix to S"});
    EXPECT_TRUE(Get<QPushButton>("TogglesuiButton")->isVisible());
    hooks.Take();
    const std::pair<const char*, const char*> presses[] = {
        {"00 00 00 00", "00 80 00 00"}, {"00 80 00 00", "00 00 00 00"}, {"00 00 00 00", "00 80 00 00"}};
    for (auto [first, second] : presses) {
        Press("TogglesuiButton");
        EXPECT_EQ(RowBytes(1), first);
        EXPECT_EQ(RowBytes(2), second);
    }
    EXPECT_EQ(hooks.Take(), std::vector<std::string>{}) << "nothing is written before Apply";
}

TEST_F(GainFormTest, FocusRowSelectsTheWholeFloatText) {
    Open(0x43, 8, {"a", "b", "c", "d", "e", "f", "g", "h"});
    form.activateWindow();
    form.FocusRow(5);
    QApplication::processEvents();
    EXPECT_TRUE(Edit("FloatEdit5")->hasFocus() || QApplication::focusWidget() == Edit("FloatEdit5") ||
                form.focusWidget() == Edit("FloatEdit5"));
    EXPECT_EQ(Edit("FloatEdit5")->selectedText().toStdString(), Text("FloatEdit5"));
}

} // namespace
