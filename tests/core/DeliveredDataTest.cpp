// The data files delivered beside the program: the register map gives every
// register the blocks address the byte count they rely on, and the init file
// holds the device's power-on contents.

#include "ConfigRecords.h"
#include "CoreTestSupport.h"
#include "TextFile.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using coretest::Bytes;
using coretest::DataFile;

struct RegisterRange {
    int first, last;
    int size; // 0: any size the map gives, but at least one byte
};

TEST(DeliveredMap, DefinesTheRegistersTheBlocksAddress) {
    TConfigDataUnit table;
    ASSERT_TRUE(table.ReadMapFile(DataFile("QMX4600.addr")));
    EXPECT_TRUE(table.MapFileProblems().empty()) << ::testing::PrintToString(table.MapFileProblems());
    const RegisterRange ranges[] = {
        {0x00, 0x00, 1},  {0x0E, 0x0E, 1},  {0x0F, 0x0F, 1},  {0x40, 0x40, 4}, {0x41, 0x44, 32},
        {0x49, 0x50, 4},  {0x51, 0x5E, 20}, {0x7B, 0x88, 20}, {0x89, 0x8A, 8}, {0x8F, 0x90, 8},
        {0x91, 0x91, 4},  {0x93, 0x93, 4},  {0x92, 0x92, 8},  {0x94, 0x94, 8}, {0x95, 0x95, 0},
        {0x96, 0x97, 4},  {0x98, 0x98, 8},  {0x9D, 0x9D, 8},  {0x99, 0x9B, 0}, {0x9E, 0xA0, 0},
        {0x9C, 0x9C, 16}, {0xA1, 0xA1, 16}, {0xA2, 0xA9, 8},  {0xAA, 0xAB, 8}, {0xB0, 0xB1, 12},
        {0xD1, 0xD2, 4},  {0xD7, 0xD9, 4},  {0xDA, 0xDD, 4},
    };
    for (const RegisterRange& range : ranges)
        for (int s = range.first; s <= range.last; ++s) {
            SCOPED_TRACE(s);
            ASSERT_GE(table.FindEntry(s), 0);
            if (range.size > 0)
                EXPECT_EQ(table.GetSize(s), range.size);
            else
                EXPECT_GT(table.GetSize(s), 0);
            EXPECT_EQ(table.GetName(s).rfind("!r_", 0), 0u) << table.GetName(s);
        }
}

TEST(DeliveredInitFile, HoldsEachSavedRegisterOnceAndNothingElse) {
    TConfigDataUnit table;
    ASSERT_TRUE(table.ReadMapFile(DataFile("QMX4600.addr")));
    const std::optional<std::string> text = ReadTextFile(DataFile("QMX4600Init.cfg"));
    ASSERT_TRUE(text);
    const ConfigRecordList list = table.ReadRecords(*text, std::nullopt);
    EXPECT_TRUE(list.problems.empty()) << ::testing::PrintToString(list.problems);
    std::map<int, int> seen;
    for (const ConfigRecord& record : list.records)
        ++seen[record.subAddress];
    for (int s = 0; s < 256; ++s) {
        const bool saved = table.GetSize(s) > 0 && !TConfigDataUnit::IsExcludedFromSave(s);
        EXPECT_EQ(seen[s], saved ? 1 : 0) << std::hex << s;
    }
}

TEST(DeliveredInitFile, ReadsBackAsThePowerOnImage) {
    coretest::DeviceRig rig;
    for (int s = 0; s < 256; ++s)
        rig.table.SetData(s, Bytes(static_cast<size_t>(rig.table.GetSize(s)), 0xEE));
    const FileReport report = rig.table.LoadConfigFile(DataFile("QMX4600Init.cfg"));
    ASSERT_TRUE(report.opened);
    EXPECT_TRUE(report.problems.empty()) << ::testing::PrintToString(report.problems);
    for (int s = 0; s < 256; ++s) {
        if (TConfigDataUnit::IsExcludedFromSave(s))
            continue;
        SCOPED_TRACE(s);
        const Bytes powerOn = rig.sim->PowerOnContents(static_cast<uint8_t>(s));
        EXPECT_EQ(rig.table.GetData(s), powerOn);
        EXPECT_EQ(rig.sim->Register(static_cast<uint8_t>(s)), powerOn);
    }
}

} // namespace
