// The register table's operations by sub-address and by table index.

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

using coretest::Bytes;

// Records what the table hands to the bus.
class RecordingBus : public IRegisterBus {
public:
    struct Write {
        uint8_t deviceAddress;
        uint8_t subAddress;
        Bytes bytes;
        bool operator==(const Write&) const = default;
    };
    void I2CWrite(uint8_t deviceAddress, uint8_t subAddress, int count, const uint8_t* bytes) override {
        writes.push_back({deviceAddress, subAddress, Bytes(bytes, bytes + count)});
    }
    void I2CRead(uint8_t, uint8_t, int, uint8_t*) override {}
    bool IsTransferOk() const override { return true; }
    std::vector<Write> writes;
};

// Slot 3 and slot 7 both claim 0x20; 0x30 has no bytes; 0x40 is a normal
// four-byte register.
constexpr const char* Map = "#3 0x20 2 !r_low_slot\n"
                            "#7 0x20 4 !r_high_slot\n"
                            "#9 0x30 0 !r_empty\n"
                            "#12 0x40 4 !r_bank\n";

class RegisterTable : public ::testing::Test {
protected:
    void SetUp() override {
        table.ReadMapText(Map);
        table.SetBus(&bus);
    }
    TConfigDataUnit table;
    RecordingBus bus;
};

struct LookupCase {
    int subAddress;
    int index;
    int size;
    const char* name;
};

TEST_F(RegisterTable, LookupsBySubAddress) {
    const LookupCase cases[] = {
        {0x20, 7, 4, "!r_high_slot"}, // the higher of two slots wins
        {0x30, 9, 0, "!r_empty"},
        {0x40, 12, 4, "!r_bank"},
        {0x41, -1, 0, "0"},
        {0x00, -1, 0, "0"}, // 0 is not "undefined" (-1)
        {-1, -1, 0, "0"},
        {256, -1, 0, "0"},
        {0x120, -1, 0, "0"},
        {1000, -1, 0, "0"},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.subAddress);
        EXPECT_EQ(table.FindEntry(c.subAddress), c.index);
        EXPECT_EQ(table.GetSize(c.subAddress), c.size);
        EXPECT_EQ(table.GetData(c.subAddress).size(), static_cast<size_t>(c.size));
        EXPECT_EQ(table.GetName(c.subAddress), c.name);
    }
}

TEST_F(RegisterTable, EveryUndefinedSlotIsFoundByNoSubAddress) {
    TConfigDataUnit empty;
    for (int s = -1; s <= 256; ++s)
        EXPECT_EQ(empty.FindEntry(s), -1) << s;
    EXPECT_EQ(empty.SubAddressAt(0), CElements::Undefined);
    EXPECT_EQ(empty.NameAt(0), "");
}

TEST_F(RegisterTable, SetDataGoesToTheUsedSlotOnly) {
    table.SetData(0x20, Bytes{1, 2, 3, 4});
    EXPECT_EQ(table.GetData(0x20), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(table.DataAt(7), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(table.DataAt(3), (Bytes{0, 0})) << "the hidden lower slot must not change";
}

TEST_F(RegisterTable, SetDataCopiesAtMostTheRegisterSize) {
    table.SetData(0x40, Bytes{9, 9, 9, 9});
    table.SetData(0x40, Bytes{1, 2, 3, 4, 5, 6});
    EXPECT_EQ(table.GetData(0x40), (Bytes{1, 2, 3, 4}));
    table.SetData(0x40, Bytes{7});
    EXPECT_EQ(table.GetData(0x40), (Bytes{7, 2, 3, 4})) << "a short buffer changes only what it holds";
}

TEST_F(RegisterTable, SetDataAndSetNameIgnoreUnknownRegisters) {
    const std::vector<Bytes> before = [&] {
        std::vector<Bytes> all;
        for (int i = 0; i < 256; ++i)
            all.push_back(table.DataAt(i));
        return all;
    }();
    for (int s : {0x41, -1, 256}) {
        table.SetData(s, Bytes{0xAA, 0xBB, 0xCC, 0xDD});
        table.SetName(s, "!changed");
    }
    table.SetData(0x30, Bytes{0xAA}); // defined, but without bytes
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(table.DataAt(i), before[i]) << i;
        EXPECT_NE(table.NameAt(i), "!changed") << i;
    }
    table.SetSize(9, 1);
    EXPECT_EQ(table.DataAt(9), (Bytes{0x00})) << "a register without bytes takes none";
    table.SetName(0x20, "!renamed");
    EXPECT_EQ(table.NameAt(7), "!renamed");
    EXPECT_EQ(table.NameAt(3), "!r_low_slot");
}

TEST_F(RegisterTable, IndexOperationsOutsideTheTableDoNothing) {
    for (int index : {-1, 256, 100000}) {
        SCOPED_TRACE(index);
        table.SetSubAddress(index, 0x50);
        table.SetSize(index, 4);
        EXPECT_EQ(table.SubAddressAt(index), 0);
        EXPECT_EQ(table.SizeAt(index), 0);
        EXPECT_TRUE(table.DataAt(index).empty());
        EXPECT_EQ(table.NameAt(index), "0");
    }
    EXPECT_EQ(table.FindEntry(0x50), -1);
}

TEST_F(RegisterTable, SetSizeKeepsWithinASlot) {
    const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {52, 52}, {53, 52}, {1000, 52}, {-4, 0}};
    for (auto [asked, kept] : cases) {
        table.SetSize(12, asked);
        EXPECT_EQ(table.SizeAt(12), kept) << asked;
        EXPECT_EQ(table.GetData(0x40).size(), static_cast<size_t>(kept)) << asked;
    }
}

TEST_F(RegisterTable, WriteRegisterSendsTheStoredBytesToTheDeviceAddress) {
    coretest::FixedDeviceAddress address(0x38);
    table.SetDeviceAddressSource(&address);
    table.SetData(0x40, Bytes{0xDE, 0xAD, 0xBE, 0xEF});
    table.SetData(0x20, Bytes{5, 6, 7, 8});
    table.WriteRegister(0x40);
    table.WriteRegister(0x20);
    table.WriteRegister(0x41); // not in the map
    table.WriteRegister(0x30); // no bytes
    table.WriteRegister(-1);
    table.WriteRegister(0x140);
    const std::vector<RecordingBus::Write> expected = {{0x38, 0x40, {0xDE, 0xAD, 0xBE, 0xEF}},
                                                       {0x38, 0x20, {5, 6, 7, 8}}};
    EXPECT_EQ(bus.writes, expected);
}

TEST_F(RegisterTable, WithoutAnAddressSourceTheDeviceIsAt0x36) {
    table.WriteRegister(0x40);
    ASSERT_EQ(bus.writes.size(), 1u);
    EXPECT_EQ(bus.writes[0].deviceAddress, 0x36);
}

TEST(ExcludedFromSave, BoundariesOfTheExcludedAreas) {
    const std::pair<int, bool> cases[] = {
        {0x00, true},  {0x02, true}, {0x03, false}, {0x23, false}, {0x24, true},  {0x3F, true}, {0x40, false},
        {0xB1, false}, {0xB2, true}, {0xCE, true},  {0xCF, false}, {0xE0, false}, {0xE1, true}, {0xFF, true},
    };
    for (auto [subAddress, excluded] : cases)
        EXPECT_EQ(TConfigDataUnit::IsExcludedFromSave(subAddress), excluded) << std::hex << subAddress;
}

} // namespace
