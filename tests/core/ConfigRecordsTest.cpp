// Reading the records of configuration, EQ and DRC files: record letters,
// digits, comments, keyed records and what happens to broken records.

#include "ConfigRecords.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Byte counts of a small register map. Everything else is undefined.
int SizeOf(uint8_t subAddress) {
    static const std::map<uint8_t, int> sizes = {
        {0x09, 2}, {0x0F, 1}, {0x20, 4}, {0x50, 2}, {0x51, 2}, {0x56, 2}, {0x57, 2}, {0x5A, 2},
        {0x99, 2}, {0x9A, 2}, {0x9B, 2}, {0x9E, 2}, {0x9F, 2}, {0xA0, 2}, {0x30, 0},
    };
    const auto it = sizes.find(subAddress);
    return it == sizes.end() ? -1 : it->second;
}

struct Expected {
    uint8_t subAddress;
    Bytes bytes;
};

struct RecordCase {
    const char* label;
    std::string text;
    std::optional<int> keyBase; // none: a plain configuration file
    std::vector<Expected> records;
    std::vector<std::string> problems; // a part of each problem's text, in order
};

const RecordCase RecordCases[] = {
    {"Record", "X20 01 02 03 04\n", {}, {{0x20, {1, 2, 3, 4}}}, {}},
    {"LowerCaseLetterAndDigits", "x20 0a 0B Cc dD\n", {}, {{0x20, {0x0A, 0x0B, 0xCC, 0xDD}}}, {}},
    {"SubAddressInEitherCase", "x0F 7e\nX0f 7E\n", {}, {{0x0F, {0x7E}}, {0x0F, {0x7E}}}, {}},
    {"BlanksAndLineFeedsBetweenDigits", "X20\n0 1\n\n0   2\r\n0 3 \t 0\n4", {}, {{0x20, {1, 2, 3, 4}}}, {}},
    {"PackedBytesAfterAnySeparator", "X20:01020304", {}, {{0x20, {1, 2, 3, 4}}}, {}},
    {"OtherCharactersInDigitsCountAsZero", "X20 zz 1g 01 02", {}, {{0x20, {0x00, 0x10, 0x01, 0x02}}}, {}},
    {"NameLineWithXIsAComment", "!r_MIX_gain X20 01 02 03 04\nX0f 12\n", {}, {{0x0F, {0x12}}}, {}},
    {"SlashCommentWithX", "/ X20 ff ff ff ff\nX0f 01\n", {}, {{0x0F, {0x01}}}, {}},
    {"LongCommentIsSkippedToItsEnd", "!" + std::string(300, 'X') + "\nX0f 01\n", {}, {{0x0F, {0x01}}}, {}},
    {"TextOutsideRecordsIsIgnored", "register dump 2024\nX0f 01\n", {}, {{0x0F, {0x01}}}, {}},
    {"RegisterNotInTheMap",
     "X77 01 02\nX0f 03\n",
     {},
     {{0x0F, {0x03}}},
     {"register 0x77 is not in the register map; skipped"}},
    // The map may give a register no bytes; the tool saves it as a bare
    // record, which reads back without a complaint.
    {"RegisterWithoutBytes", "X30 \nX0f 03\n", {}, {{0x0F, {0x03}}}, {}},
    {"ShortRecordCutByTheNextRecord",
     "X20 01 02\nX0f 05\n",
     {},
     {{0x0F, {0x05}}},
     {"record X (register 0x20) has 2 of its 4 bytes; not loaded"}},
    {"ShortRecordCutHalfwayThroughAByte",
     "X20 01 02 03 0\nX0f 05\n",
     {},
     {{0x0F, {0x05}}},
     {"record X (register 0x20) has 3 of its 4 bytes"}},
    {"ShortRecordCutByTheEndOfTheFile", "X0f 05\nX20 01", {}, {{0x0F, {0x05}}}, {"has 1 of its 4 bytes"}},
    {"ShortRecordCutByAComment", "X20 01 ! rest\nX0f 05\n", {}, {{0x0F, {0x05}}}, {"has 1 of its 4 bytes"}},
    {"ShortRecordCutByL", "X20 01 L X0f 05\n", {}, {{0x0F, {0x05}}}, {"has 1 of its 4 bytes"}},
    {"PlainFileIgnoresKeyedRecords", "T 01 02\nQ1 03 04\nX0f 03\n", {}, {{0x0F, {0x03}}}, {}},
    {"KeyedT", "T 01 02\n", 5, {{0x9E, {0x01, 0x02}}}, {}},
    {"KeyedK", "k 11 22\n", 5, {{0x9F, {0x11, 0x22}}}, {}},
    {"KeyedO", "O 33 44\n", 5, {{0xA0, {0x33, 0x44}}}, {}},
    {"KeyedQ3", "Q3 aa bb\n", 7, {{0x5A, {0xAA, 0xBB}}}, {}},
    {"KeyedQ1AndQ7", "q1 01 02 Q7 03 04", 0, {{0x51, {1, 2}}, {0x57, {3, 4}}}, {}},
    {"KeyedTWraps", "T 01 02", 0x70, {{0x09, {1, 2}}}, {}},  // 0x70 + 0x99 = 0x109
    {"KeyedQWraps", "Q7 03 04", 0xF9, {{0x50, {3, 4}}}, {}}, // 0xF9 + 0x57 = 0x150
    {"KeyedBaseAbove255", "T 05 06", 0x170, {{0x09, {5, 6}}}, {}},
    {"KeyedShortRecord",
     "T 01\nO 33 44",
     5,
     {{0xA0, {0x33, 0x44}}},
     {"record T (register 0x9e) has 1 of its 2 bytes; not loaded"}},
    {"KeyedFileTakesXAbsolute", "X0f 01\n", 5, {{0x0F, {0x01}}}, {}},
    {"QWithoutBiquadNumber",
     "Q8 01 02\nQX0f 03\n",
     0,
     {{0x0F, {0x03}}},
     {"Q record without a biquad number 1..7 ignored", "Q record without a biquad number"}},
    {"QAtTheEnd", "Q", 0, {}, {"Q record without a biquad number"}},
    {"LoneXAtTheEnd", "X", {}, {}, {"register 0x00 is not in the register map"}},
    {"Empty", "", {}, {}, {}},
};

class Records : public ::testing::TestWithParam<RecordCase> {};

TEST_P(Records, ReadAsExpected) {
    const RecordCase& c = GetParam();
    const ConfigRecordList list = ReadConfigRecords(c.text, SizeOf, c.keyBase);
    ASSERT_EQ(list.records.size(), c.records.size()) << ::testing::PrintToString(list.problems);
    for (size_t i = 0; i < c.records.size(); ++i) {
        SCOPED_TRACE("record " + std::to_string(i));
        EXPECT_EQ(list.records[i].subAddress, c.records[i].subAddress);
        EXPECT_EQ(list.records[i].bytes, c.records[i].bytes);
    }
    ASSERT_EQ(list.problems.size(), c.problems.size()) << ::testing::PrintToString(list.problems);
    for (size_t i = 0; i < c.problems.size(); ++i)
        EXPECT_NE(list.problems[i].find(c.problems[i]), std::string::npos) << list.problems[i];
}

INSTANTIATE_TEST_SUITE_P(Cases, Records, ::testing::ValuesIn(RecordCases),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
