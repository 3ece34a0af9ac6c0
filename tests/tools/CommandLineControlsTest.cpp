// The register command window as it opens: its controls, the grids and
// their colours, the device address, ZERO and CLOSE.

#include "CommandLineFixture.h"

#include <QRadioButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

struct ControlCase {
    const char* name;
    const char* text;
    bool enabled;
};

const ControlCase Controls[] = {
    {"IICAddrLabel", "IIC ADDR", true},
    {"IICAddrEdit", "0x36", false},
    {"RegAddrLabel", "REG ADDR", true},
    {"RegAddrEdit", "00", true},
    {"ReadRadioButton", "READ", true},
    {"WriteRadioButton", "WRITE", true},
    {"GOBitBtn", "GO", true},
    {"WriteDataLabel", "WRITE DATA", true},
    {"ReadDataLabel", "READ DATA", true},
    {"WriteByteLabel1", "(32:24)", true},
    {"WriteByteLabel2", "(23:16)", true},
    {"WriteByteLabel3", "(15:8)", true},
    {"WriteByteLabel4", "(7:0)", true},
    {"ReadByteLabel1", "(32:24)", true},
    {"ReadByteLabel2", "(23:16)", true},
    {"ReadByteLabel3", "(15:8)", true},
    {"ReadByteLabel4", "(7:0)", true},
    {"WordLabel0", " 0 ", true},
    {"WordLabel4", " 4 ", true},
    {"Label1", " 5 ", true},
    {"Label5", " 9 ", true},
    {"ZeroWriteDataBitBtn", "ZERO", true},
    {"ZeroReadDataBitBtn", "ZERO", true},
    {"RandomRadioButton", "RANDOM", true},
    {"BlockStartAddrLabel", "START", true},
    {"BlockStartAddrEdit", "00", true},
    {"BlockStopAddrLabel", "STOP", true},
    {"BlockStopAddrEdit", "00", true},
    {"BlockBytesLabel", "BYTES", true},
    {"BlockBytesEdit", "00", false},
    {"BlockWriteBitBtn", "WRITE DATA TO CHIP", true},
    {"BlockReadBitBtn", "READ DATA FROM CHIP", true},
    {"CloseButton", "CLOSE", true},
};

TEST(CommandLineControls, EachControlHasItsNameTextAndState) {
    CommandLineWindow w;
    for (const ControlCase& c : Controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(w.Text(c.name).toStdString(), c.text);
        EXPECT_EQ(w.Find(c.name)->isEnabled(), c.enabled);
    }
    EXPECT_TRUE(w.Find<QRadioButton>("ReadRadioButton")->isChecked());
    EXPECT_FALSE(w.Find<QRadioButton>("WriteRadioButton")->isChecked());
    EXPECT_TRUE(w.Find<QRadioButton>("RandomRadioButton")->isChecked());
}

TEST(CommandLineControls, WordNumbersRunFromZeroToNine) {
    CommandLineWindow w;
    const char* names[] = {"WordLabel0", "WordLabel1", "WordLabel2", "WordLabel3", "WordLabel4",
                           "Label1",     "Label2",     "Label3",     "Label4",     "Label5"};
    for (int word = 0; word < 10; ++word) {
        SCOPED_TRACE(names[word]);
        EXPECT_EQ(w.Text(names[word]), QStringLiteral(" %1 ").arg(word));
    }
}

TEST(CommandLineControls, BothGridsHoldFortyZeroFieldsNamedByWordAndByte) {
    CommandLineWindow w;
    for (const char* grid : {"WriteData", "ReadData"}) {
        for (int word = 0; word < 10; ++word) {
            for (int byte = 1; byte <= 4; ++byte) {
                const QString name = QStringLiteral("%1Word%2Byte%3").arg(grid).arg(word).arg(byte);
                SCOPED_TRACE(name.toStdString());
                EXPECT_EQ(w.Text(name), "00");
            }
        }
        EXPECT_EQ(w.window.findChildren<QLineEdit*>(QRegularExpression(QString("^%1Word").arg(grid))).size(),
                  40);
    }
}

struct PaintCase {
    const char* regAddr;
    int size;
};

class GridColours : public testing::TestWithParam<PaintCase> {};

TEST_P(GridColours, FollowTheSizeOfTheRegisterInRegAddr) {
    CommandLineWindow w(OddSizesMap);
    w.Type("RegAddrEdit", GetParam().regAddr);
    ExpectPainted(w, GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(CommandLineControls, GridColours,
                         testing::Values(PaintCase{"03", 3}, PaintCase{"04", 48}, PaintCase{"05", 0},
                                         PaintCase{"1", 1}, PaintCase{"ff", 0}));

TEST(CommandLineControls, GridColoursAtCreationFollowRegisterZero) {
    CommandLineWindow delivered;
    ExpectPainted(delivered, 1);
    CommandLineWindow odd(OddSizesMap);
    ExpectPainted(odd, 0);
}

TEST(CommandLineControls, GreyFieldsTurnNormalAgainWhenALongerRegisterIsChosen) {
    CommandLineWindow w;
    w.Type("RegAddrEdit", "41");
    w.Type("RegAddrEdit", "d9");
    ExpectPainted(w, 4);
    w.Type("RegAddrEdit", "41");
    ExpectPainted(w, 32);
}

struct AddressCase {
    const char* text;
    uint8_t address;
};

TEST(CommandLineControls, DeviceAddressIsTheThirdAndFourthCharacterOfIicAddr) {
    const AddressCase cases[] = {{"0x36", 0x36}, {"0xAb", 0xAB}, {"0x5", 0x50},
                                 {"0x", 0x00},   {"0x3g", 0x30}, {"0x38zz", 0x38}};
    CommandLineWindow w;
    EXPECT_EQ(w.window.GetDeviceAddress(), 0x36);
    for (const AddressCase& c : cases) {
        SCOPED_TRACE(c.text);
        w.Type("IICAddrEdit", c.text);
        EXPECT_EQ(w.window.GetDeviceAddress(), c.address);
    }
}

TEST(CommandLineControls, ZeroClearsOnlyItsOwnGrid) {
    CommandLineWindow w;
    for (int n = 0; n < 40; ++n) {
        w.WriteField(n)->setText("a5");
        w.ReadField(n)->setText("5a");
    }
    w.Click("ZeroWriteDataBitBtn");
    for (int n = 0; n < 40; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(w.WriteField(n)->text(), "00");
        EXPECT_EQ(w.ReadField(n)->text(), "5a");
    }
    w.Click("ZeroReadDataBitBtn");
    for (int n = 0; n < 40; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(w.ReadField(n)->text(), "00");
    }
    EXPECT_TRUE(w.TakeCalls().empty());
}

TEST(CommandLineControls, CloseHidesAndTheFieldsKeepTheirContents) {
    CommandLineWindow w;
    w.window.show();
    w.Type("RegAddrEdit", "d9");
    w.WriteField(3)->setText("48");
    w.Type("BlockStartAddrEdit", "41");
    w.Click("CloseButton");
    EXPECT_FALSE(w.window.isVisible());
    w.window.show();
    EXPECT_EQ(w.Text("RegAddrEdit"), "d9");
    EXPECT_EQ(w.WriteField(3)->text(), "48");
    EXPECT_EQ(w.Text("BlockStartAddrEdit"), "41");
}

} // namespace
