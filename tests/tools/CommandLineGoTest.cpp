// GO: one register read into the read grid or written from the write grid,
// with the exact adapter calls, the register table afterwards and the main
// window hooks around the transfer.

#include "CommandLineFixture.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using Kind = SimulatedQmx4600::CallKind;

// The main window's hooks around one GO read: the poll timer is stopped
// before the transfer and runs again only after the refresh.
EventLog AroundOneRead(uint8_t subAddress) {
    char read[16];
    std::snprintf(read, sizeof read, "read 0x%02x", subAddress);
    return {"StopFsPoll", read, "RefreshAll", "RestoreStartDirectory", "ResumeFsPoll"};
}

void ExpectOneCall(const std::vector<SimulatedQmx4600::Call>& calls, Kind kind, uint8_t subAddress,
                   int count) {
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, kind);
    EXPECT_EQ(calls[0].address7, 0x1B);
    EXPECT_EQ(calls[0].subAddress, subAddress);
    EXPECT_EQ(calls[0].count, count);
}

struct RegAddrCase {
    const char* text;
    uint8_t subAddress;
    int size;
};

TEST(CommandLineGo, RegAddrIsReadAsAByteField) {
    const RegAddrCase cases[] = {{"1", 0x10, 1},
                                 {"1g", 0x10, 1},
                                 {"D9", 0xD9, 4},
                                 {"d9", 0xD9, 4},
                                 {"", 0x00, 1},
                                 {"0e7", 0x0E, 1},
                                 {"a", 0xA0, 8},
                                 // A character outside ASCII is one non-digit, not the bytes of its encoding.
                                 {"\u00e9"
                                  "5",
                                  0x05, 1}};
    CommandLineWindow w;
    for (const RegAddrCase& c : cases) {
        SCOPED_TRACE(c.text);
        w.Type("RegAddrEdit", QString::fromUtf8(c.text));
        w.Click("GOBitBtn");
        ExpectOneCall(w.TakeCalls(), Kind::Read, c.subAddress, c.size);
    }
}

TEST(CommandLineGo, TransfersGoToTheAddressInIicAddrHalvedForTheAdapter) {
    CommandLineWindow w;
    w.Type("IICAddrEdit", "0x38");
    w.Type("RegAddrEdit", "d9");
    w.Click("GOBitBtn");
    const auto calls = w.TakeCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].address7, 0x1C);
}

struct RegisterCase {
    bool oddMap;
    uint8_t subAddress;
    const char* regAddr;
    int size;
};

class GoOnOneRegister : public testing::TestWithParam<RegisterCase> {
protected:
    CommandLineWindow w{GetParam().oddMap ? std::optional<std::string_view>(OddSizesMap) : std::nullopt};
};

TEST_P(GoOnOneRegister, ReadShowsTheDeviceBytesAndStoresThem) {
    const RegisterCase& c = GetParam();
    const std::vector<uint8_t> onDevice = Sequence(c.size, 0x0A, 7);
    w.device->SetRegister(c.subAddress, onDevice);
    for (int n = 0; n < 40; ++n)
        w.ReadField(n)->setText("ee");
    w.Type("RegAddrEdit", c.regAddr);
    w.Click("GOBitBtn");

    ExpectOneCall(w.TakeCalls(), Kind::Read, c.subAddress, c.size);
    ExpectReadGridShows(w, onDevice);
    ExpectPainted(w, c.size);
    EXPECT_EQ(w.table.GetData(c.subAddress), onDevice);
    EXPECT_EQ(w.log, AroundOneRead(c.subAddress));
    EXPECT_EQ(w.Message(), "");
}

// Field texts as a user types them, and the byte each stands for.
const std::pair<const char*, int> TypedBytes[] = {{"a5", 0xA5}, {"5", 0x50},   {"1g", 0x10}, {"", 0x00},
                                                  {"FF", 0xFF}, {"0c7", 0x0C}, {"3B", 0x3B}};

TEST_P(GoOnOneRegister, WriteSendsTheFirstSizeFieldsAndStoresThem) {
    const RegisterCase& c = GetParam();
    std::vector<uint8_t> expected;
    for (int n = 0; n < 40; ++n) {
        const auto& typed = TypedBytes[n % std::size(TypedBytes)];
        w.WriteField(n)->setText(n < c.size ? typed.first : "77");
        if (n < c.size)
            expected.push_back(static_cast<uint8_t>(typed.second));
    }
    w.Type("RegAddrEdit", c.regAddr);
    w.Click("WriteRadioButton");
    w.Click("GOBitBtn");

    const auto calls = w.TakeCalls();
    ExpectOneCall(calls, Kind::Write, c.subAddress, c.size);
    EXPECT_EQ(calls[0].bytes, expected);
    EXPECT_EQ(w.device->Register(c.subAddress), expected);
    EXPECT_EQ(w.table.GetData(c.subAddress), expected);
    ExpectPainted(w, c.size);
}

INSTANTIATE_TEST_SUITE_P(CommandLineGo, GoOnOneRegister,
                         testing::Values(RegisterCase{false, 0x10, "10", 1},
                                         RegisterCase{true, 0x03, "03", 3},
                                         RegisterCase{false, 0xD9, "d9", 4},
                                         RegisterCase{false, 0x51, "51", 20},
                                         RegisterCase{false, 0x41, "41", 32}));

TEST(CommandLineGo, ReadOfThreeBytesFillsTheFirstRowOnly) {
    CommandLineWindow w(OddSizesMap);
    w.device->SetRegister(0x03, Bytes({0x12, 0x0a, 0xff}));
    w.Type("RegAddrEdit", "03");
    w.Click("GOBitBtn");
    EXPECT_EQ(w.Text("ReadDataWord0Byte1"), "12");
    EXPECT_EQ(w.Text("ReadDataWord0Byte2"), "0a");
    EXPECT_EQ(w.Text("ReadDataWord0Byte3"), "ff");
    ExpectReadGridShows(w, Bytes({0x12, 0x0a, 0xff}));
    ExpectPainted(w, 3);
}

TEST(CommandLineGo, WriteOfAnEmptyRegisterIsOneCallWithoutBytes) {
    CommandLineWindow w(OddSizesMap);
    w.WriteField(0)->setText("ab");
    w.Type("RegAddrEdit", "05");
    w.Click("WriteRadioButton");
    w.Click("GOBitBtn");
    const auto calls = w.TakeCalls();
    ExpectOneCall(calls, Kind::Write, 0x05, 0);
    EXPECT_TRUE(calls[0].bytes.empty());
    ExpectPainted(w, 0);
}

TEST(CommandLineGo, FailedWriteStillChangesTheTableAndRefreshesTheMainWindow) {
    CommandLineWindow w;
    w.device->NackSubAddress(0xD9);
    const std::vector<uint8_t> onDevice = w.device->Register(0xD9);
    w.WriteField(3)->setText("50");
    w.Type("RegAddrEdit", "d9");
    w.Click("WriteRadioButton");
    w.Click("GOBitBtn");

    EXPECT_EQ(w.table.GetData(0xD9), Bytes({0, 0, 0, 0x50}));
    EXPECT_EQ(w.device->Register(0xD9), onDevice);
    EXPECT_EQ(w.ui.status, "I2C Error");
    EXPECT_EQ(w.log,
              (EventLog{"StopFsPoll", "write 0xd9", "RefreshAll", "RestoreStartDirectory", "ResumeFsPoll"}));
}

enum class ReadFault { NotAcknowledged, BusAlreadyFailed, AdapterComponentFails };

class FailedRead : public testing::TestWithParam<ReadFault> {};

// A read that brought nothing from the device stores nothing: the table keeps
// its bytes, the grid stays at zero and the window says the read failed.
TEST_P(FailedRead, LeavesTheTableAndShowsNoBytes) {
    CommandLineWindow w;
    const std::vector<uint8_t> inTable = Bytes({0x11, 0x22, 0x33, 0x44});
    w.table.SetData(0xD9, inTable);
    w.device->SetRegister(0xD9, Bytes({0, 0, 0, 0x48}));
    switch (GetParam()) {
    case ReadFault::NotAcknowledged:
        w.device->NackSubAddress(0xD9);
        break;
    case ReadFault::BusAlreadyFailed:
        w.device->NackAll(true);
        w.table.WriteRegister(0x0F);
        w.device->ClearNacks();
        break;
    case ReadFault::AdapterComponentFails:
        w.device->SetComponentFailure(true);
        break;
    }
    for (int n = 0; n < 40; ++n)
        w.ReadField(n)->setText("ee");
    w.log.clear();
    w.Type("RegAddrEdit", "d9");
    w.Click("GOBitBtn");

    EXPECT_EQ(w.table.GetData(0xD9), inTable);
    ExpectReadGridShows(w, {});
    EXPECT_EQ(w.Message(), "READ FAILED: register 0xd9 was not read; the register table keeps its bytes");
    EXPECT_EQ(w.log, AroundOneRead(0xD9));

    w.device->ClearNacks();
    w.device->SetComponentFailure(false);
    w.transport->Reconnect();
    w.Click("GOBitBtn");
    EXPECT_EQ(w.table.GetData(0xD9), Bytes({0, 0, 0, 0x48}));
    ExpectReadGridShows(w, Bytes({0, 0, 0, 0x48}));
    EXPECT_EQ(w.Message(), "");
}

INSTANTIATE_TEST_SUITE_P(CommandLineGo, FailedRead,
                         testing::Values(ReadFault::NotAcknowledged, ReadFault::BusAlreadyFailed,
                                         ReadFault::AdapterComponentFails));

TEST(CommandLineGo, ReadOfARegisterLongerThanTheGridStoresAllOfItAndShowsForty) {
    CommandLineWindow w(OddSizesMap);
    const std::vector<uint8_t> onDevice = Sequence(48, 1);
    w.device->SetRegister(0x04, onDevice);
    w.Type("RegAddrEdit", "04");
    w.Click("GOBitBtn");

    ExpectOneCall(w.TakeCalls(), Kind::Read, 0x04, 48);
    EXPECT_EQ(w.table.GetData(0x04), onDevice);
    ExpectReadGridShows(w, Sequence(40, 1));
    ExpectPainted(w, 40);
    EXPECT_EQ(w.Message(),
              "Register 0x04 has 48 bytes: the grid shows the first 40, the register table holds all");
}

TEST(CommandLineGo, WriteOfARegisterLongerThanTheGridSendsTheTableBytesAfterTheEditedOnes) {
    CommandLineWindow w(OddSizesMap);
    const std::vector<uint8_t> inTable = Sequence(48, 0x80);
    w.table.SetData(0x04, inTable);
    for (int n = 0; n < 40; ++n)
        w.WriteField(n)->setText(QStringLiteral("%1").arg(n + 1, 2, 16, QLatin1Char('0')));
    w.Type("RegAddrEdit", "04");
    w.Click("WriteRadioButton");
    w.Click("GOBitBtn");

    std::vector<uint8_t> expected = Sequence(40, 1);
    expected.insert(expected.end(), inTable.begin() + 40, inTable.end());
    const auto calls = w.TakeCalls();
    ExpectOneCall(calls, Kind::Write, 0x04, 48);
    EXPECT_EQ(calls[0].bytes, expected);
    EXPECT_EQ(w.table.GetData(0x04), expected);
    EXPECT_EQ(w.Message(),
              "Register 0x04 has 48 bytes: bytes 40 to 47 were sent as the register table holds them");
}

} // namespace
