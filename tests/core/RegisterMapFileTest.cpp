// Scanning the register map file: "#" records, "!" names, line pieces and
// the faults the reader reports.

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Slot {
    int index;
    int subAddress;
    int size;
    std::string name;
};

struct MapCase {
    const char* label;
    std::string text;
    std::vector<Slot> defined;         // every slot the text defines
    std::vector<int> notFound;         // sub-addresses no lookup may find
    std::vector<std::string> problems; // each reported problem, in order (a part of its text)
};

std::string Repeat(char c, size_t n) {
    return std::string(n, c);
}

const MapCase MapCases[] = {
    {"Record", "#5 0x0e 1 !r_serial_format\n", {{5, 0x0E, 1, "!r_serial_format"}}, {}, {}},
    {"SubAddressWithout0x", "#5 0e 1\n", {{5, 0x0E, 1, ""}}, {}, {}},
    {"UpperCasePrefixAndDigits", "#5 0XAb 4\n", {{5, 0xAB, 4, ""}}, {}, {}},
    {"SeveralRecordsOnOneLine",
     "#1 10 4 #2 11 8 !r_second\n",
     {{1, 0x10, 4, ""}, {2, 0x11, 8, "!r_second"}},
     {},
     {}},
    {"TextBeforeTheMarkIsSkipped", "reg:#3 20 4 !r_x\n", {{3, 0x20, 4, "!r_x"}}, {}, {}},
    {"ManySpacesBetweenFields", "#3     20      4    !r_spaced\n", {{3, 0x20, 4, "!r_spaced"}}, {}, {}},
    {"NameOnALaterLine", "#3 20 4\n\n!r_later\n", {{3, 0x20, 4, "!r_later"}}, {}, {}},
    {"NameBeforeAnyRecordNamesNothing", "!r_orphan\n#3 20 4\n", {{3, 0x20, 4, ""}}, {}, {}},
    {"NameEndsAtTheEndOfTheText", "#3 20 4 !r_last", {{3, 0x20, 4, "!r_last"}}, {}, {}},
    {"NameStopsTheScanOfItsLine", "#3 20 4 !r_a #4 21 4\n", {{3, 0x20, 4, "!r_a #4 21 4"}}, {0x21}, {}},
    {"CommentsAndBlankLines", "QMX4600 register map\n\n   \nplain words 1 2 3\n", {}, {0x01, 0x02, 0x03}, {}},
    // A tab ends nothing: "3\t20" is the index 3, "4" the sub-address and the
    // missing size keeps the size of the record before.
    {"TabIsNotASeparator", "#1 10 8\n#3\t20 4\n", {{1, 0x10, 8, ""}, {3, 0x04, 8, ""}}, {0x20}, {}},
    // A NUL ends the line, also in the middle of a field or a record: what
    // follows it on the line defines nothing.
    {"NulEndsTheLineAfterAField", std::string("#1 10 4\0 #2 11 4\n", 17), {{1, 0x10, 4, ""}}, {0x11}, {}},
    {"NulInsideARecordEndsItsFields", std::string("#1 10\0 4 #2 11 4\n", 17), {{1, 0x10, 0, ""}}, {0x11}, {}},
    {"SubAddressThatIsNoNumberKeepsThePreviousOne",
     "#1 10 4\n#2 zz 8\n",
     {{1, 0x10, 4, ""}, {2, 0x10, 8, ""}},
     {},
     {"line 2: register 0x10 is also in slot 1; the higher slot is used"}},
    {"IndexThatIsNoNumberKeepsThePreviousOne", "#1 10 4\n#x 11 2\n", {{1, 0x11, 2, ""}}, {0x10}, {}},
    {"NumbersEndAtTheFirstOtherCharacter", "#12abc 1fzz 4x\n", {{12, 0x1F, 4, ""}}, {}, {}},
    {"PrefixWithoutDigitsIsZero", "#3 0x 4\n", {{3, 0x00, 4, ""}}, {}, {}},
    {"SizeAbove52IsCut",
     "#3 20 60 !r_big\n",
     {{3, 0x20, 52, "!r_big"}},
     {},
     {"line 1: register 0x20 has 60 bytes; only 52 are kept"}},
    {"IndexOutsideTheTable",
     "#300 20 4 !r_far\n",
     {},
     {0x20},
     {"line 1: table index 300 is outside 0..255; record ignored"}},
    {"NegativeIndexIsNoNumber", "#-1 20 4\n", {}, {0x20}, {"line 1: table index -1 is outside 0..255"}},
    {"SubAddressAboveAByte",
     "#3 1ff 4\n",
     {},
     {0x1F, 0xFF},
     {"line 1: sub-address is not a byte; slot 3 left undefined"}},
    // A slot defined once and then given an impossible sub-address can no
    // longer be found under its old one.
    {"SubAddressAboveAByteUndefinesAnEarlierSlot",
     "#3 20 4 !r_old\n#3 120 4\n",
     {},
     {0x20},
     {"line 2: sub-address is not a byte; slot 3 left undefined"}},
    // The name goes to whatever slot the sub-address finds: the higher one.
    {"DuplicateSubAddressUsesTheHigherSlot",
     "#9 20 4 !r_high\n#4 20 2 !r_low\n",
     {{4, 0x20, 2, ""}, {9, 0x20, 4, "!r_low"}},
     {},
     {"line 2: register 0x20 is also in slot 9; the higher slot is used"}},
    // When the higher slot takes another register, or none, the lower slot
    // is found again.
    {"HigherSlotMovedAwayLeavesTheLowerOne",
     "#9 20 4\n#4 20 2\n#9 21 4\n",
     {{4, 0x20, 2, ""}, {9, 0x21, 4, ""}},
     {},
     {"line 2: register 0x20 is also in slot 9"}},
    {"HigherSlotUndefinedLeavesTheLowerOne",
     "#9 20 4\n#4 20 2\n#9 1ff 4\n",
     {{4, 0x20, 2, ""}},
     {0x1F},
     {"line 2: register 0x20 is also in slot 9", "line 3: sub-address is not a byte; slot 9 left undefined"}},
    {"LongLineIsReadInPieces",
     Repeat('a', 127) + "#3 20 4 !r_tail\n",
     {{3, 0x20, 4, "!r_tail"}},
     {},
     {"line 1: longer than 127 characters; the rest is read as a new line"}},
    // The piece ends after "#3 ": the record has no sub-address, and the rest
    // "20 4" starts a piece of its own without a mark.
    {"RecordCutByThePieceEnd",
     Repeat('a', 124) + "#3 20 4\n",
     {},
     {0x20},
     {"line 1: longer than 127", "line 1: sub-address is not a byte"}},
    {"LongLineIsReportedOnceAndLinesCountOn",
     Repeat('b', 400) + "\n#300 1 1\n",
     {},
     {0x01},
     {"line 1: longer than 127", "line 2: table index 300"}},
    {"LongNameIsCutAtThePieceEnd",
     "#3 20 4 !" + Repeat('n', 200) + "\n",
     {{3, 0x20, 4, "!" + Repeat('n', 118)}},
     {},
     {"line 1: longer than 127"}},
};

class MapText : public ::testing::TestWithParam<MapCase> {};

TEST_P(MapText, DefinesExactlyTheExpectedSlots) {
    const MapCase& c = GetParam();
    TConfigDataUnit table;
    table.ReadMapText(c.text);

    std::set<int> definedIndexes;
    for (const Slot& slot : c.defined) {
        SCOPED_TRACE("slot " + std::to_string(slot.index));
        definedIndexes.insert(slot.index);
        EXPECT_EQ(table.SubAddressAt(slot.index), slot.subAddress);
        EXPECT_EQ(table.SizeAt(slot.index), slot.size);
        EXPECT_EQ(table.NameAt(slot.index), slot.name);
        int highest = -1;
        for (const Slot& other : c.defined)
            if (other.subAddress == slot.subAddress)
                highest = std::max(highest, other.index);
        EXPECT_EQ(table.FindEntry(slot.subAddress), highest);
    }
    for (int i = 0; i < TConfigDataUnit::SlotCount; ++i)
        if (!definedIndexes.count(i)) {
            EXPECT_EQ(table.SubAddressAt(i), CElements::Undefined) << "slot " << i;
            EXPECT_EQ(table.NameAt(i), "") << "slot " << i;
        }
    for (int s : c.notFound)
        EXPECT_EQ(table.FindEntry(s), -1) << std::hex << s;

    const std::vector<std::string>& problems = table.MapFileProblems();
    ASSERT_EQ(problems.size(), c.problems.size()) << ::testing::PrintToString(problems);
    for (size_t i = 0; i < problems.size(); ++i)
        EXPECT_NE(problems[i].find(c.problems[i]), std::string::npos) << problems[i];
}

INSTANTIATE_TEST_SUITE_P(Cases, MapText, ::testing::ValuesIn(MapCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(MapFile, MissingFileReadsAsFalseAndLeavesTheTableEmpty) {
    coretest::TempDir dir;
    TConfigDataUnit table;
    const std::string name = dir.File("absent.addr");
    EXPECT_FALSE(table.ReadMapFile(name));
    EXPECT_EQ(table.MapFileName(), name);
    for (int s = 0; s < 256; ++s)
        EXPECT_EQ(table.FindEntry(s), -1);
}

TEST(MapFile, WindowsLineEndsDoNotReachTheNames) {
    coretest::TempDir dir;
    const std::string name = dir.File("crlf.addr");
    coretest::WriteWholeFile(name, "#3 20 4 !r_first\r\n#4 21 1 !r_second\r\n");
    TConfigDataUnit table;
    ASSERT_TRUE(table.ReadMapFile(name));
    EXPECT_EQ(table.GetName(0x20), "!r_first");
    EXPECT_EQ(table.GetName(0x21), "!r_second");
    EXPECT_EQ(table.GetSize(0x21), 1);
}

TEST(MapFile, ProblemsNameTheFileAndARereadStartsAfresh) {
    coretest::TempDir dir;
    const std::string bad = dir.File("bad.addr");
    const std::string good = dir.File("good.addr");
    coretest::WriteWholeFile(bad, "#1 10 1\n#999 11 1\n");
    coretest::WriteWholeFile(good, "#1 10 1\n");
    TConfigDataUnit table;
    ASSERT_TRUE(table.ReadMapFile(bad));
    ASSERT_EQ(table.MapFileProblems().size(), 1u);
    EXPECT_EQ(table.MapFileProblems()[0],
              "bad.addr line 2: table index 999 is outside 0..255; record ignored");
    ASSERT_TRUE(table.ReadMapFile(good));
    EXPECT_TRUE(table.MapFileProblems().empty());
}

TEST(MapFile, FileAbove16MiBIsRefused) {
    coretest::TempDir dir;
    const std::string name = dir.File("huge.addr");
    coretest::WriteWholeFile(name, "#3 20 4\n" + std::string(MaxTextFileBytes, ' '));
    TConfigDataUnit table;
    EXPECT_FALSE(table.ReadMapFile(name));
    EXPECT_EQ(table.FindEntry(0x20), -1);
}

} // namespace
