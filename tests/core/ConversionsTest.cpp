// The device's fixed-point formats: decimal text in, register bytes out,
// and back; byte edit fields; decibels of a gain.

#include "Conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct TextTo4 {
    const char* text;
    Fixed523 bytes;
};

TEST(TextToFixed523, ExamplesEdgesAndHostileTexts) {
    const TextTo4 cases[] = {
        {"1.0", {0x00, 0x80, 0x00, 0x00}},
        {"1", {0x00, 0x80, 0x00, 0x00}},
        {"0.5", {0x00, 0x40, 0x00, 0x00}},
        {"-1.0", {0xFF, 0x80, 0x00, 0x00}},
        {"0.1", {0x00, 0x0C, 0xCC, 0xCC}},                        // 838860.8 counts, truncated
        {"-0.1", {0xFF, 0xF3, 0x33, 0x34}},                       // -838860.8, truncated toward zero
        {"15.99999988079071044921875", {0x07, 0xFF, 0xFF, 0xFF}}, // largest
        {"-16", {0xF8, 0x00, 0x00, 0x00}},                        // smallest
        {"16", {0x07, 0xFF, 0xFF, 0xFF}},
        {"100", {0x07, 0xFF, 0xFF, 0xFF}},
        {"1e9", {0x07, 0xFF, 0xFF, 0xFF}},
        {"-20", {0xF8, 0x00, 0x00, 0x00}},
        {"0.00000012", {0x00, 0x00, 0x00, 0x01}},
        {"-0.00000012", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"0.0000001", {0x00, 0x00, 0x00, 0x00}},  // 0.84 counts
        {"-0.0000001", {0x00, 0x00, 0x00, 0x00}}, // -0.84 counts: toward zero, not down
        {"  2.5", {0x01, 0x40, 0x00, 0x00}},
        {"2.5dB", {0x01, 0x40, 0x00, 0x00}},
        {"+.25", {0x00, 0x20, 0x00, 0x00}},
        {"5.", {0x02, 0x80, 0x00, 0x00}},
        {"1e", {0x00, 0x80, 0x00, 0x00}},
        {"25e-1", {0x01, 0x40, 0x00, 0x00}},
        {"nan", {0x00, 0x00, 0x00, 0x00}},
        {"inf", {0x00, 0x00, 0x00, 0x00}},
        {"-inf", {0x00, 0x00, 0x00, 0x00}},
        {"0x10", {0x00, 0x00, 0x00, 0x00}},
        {"0x1p3", {0x00, 0x00, 0x00, 0x00}},
        {"1e999", {0x07, 0xFF, 0xFF, 0xFF}},
        {"-1e999", {0xF8, 0x00, 0x00, 0x00}},
        {"1e99999", {0x07, 0xFF, 0xFF, 0xFF}},
        {"-1e99999", {0xF8, 0x00, 0x00, 0x00}},
        {"1e-999", {0x00, 0x00, 0x00, 0x00}},
        {"", {0x00, 0x00, 0x00, 0x00}},
        {"   ", {0x00, 0x00, 0x00, 0x00}},
        {"-", {0x00, 0x00, 0x00, 0x00}},
        {".", {0x00, 0x00, 0x00, 0x00}},
        {"1,5", {0x00, 0x80, 0x00, 0x00}}, // the comma ends the number
    };
    for (const TextTo4& c : cases)
        EXPECT_EQ(TextToFixed523(c.text), c.bytes) << '"' << c.text << '"';
}

struct TextTo8 {
    const char* text;
    Fixed2523 bytes;
};

TEST(TextToFixed2523, ExamplesEdgesAndExactCounts) {
    const TextTo8 cases[] = {
        {"1.0", {0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00}},
        {"-1.0", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0x00}},
        {"0.1", {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0xCC, 0xCC}},
        {"16777216", {0x00, 0x00, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"1e30", {0x00, 0x00, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"1e999", {0x00, 0x00, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"-16777216", {0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"-1e999", {0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"16777215.99999964237213134765625", {0x00, 0x00, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFD}},
        // Just below a whole count: in double precision these round up to
        // the next count; the format needs the count below.
        {"8388608.00009262549877166748046875", {0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x03, 0x08}},
        {"14717196.10838234412670135498046875", {0x00, 0x00, 0x70, 0x48, 0x86, 0x0D, 0xDF, 0x78}},
        {"-14717196.10838234412670135498046875", {0xFF, 0xFF, 0x8F, 0xB7, 0x79, 0xF2, 0x20, 0x88}},
        {"nan", {0, 0, 0, 0, 0, 0, 0, 0}},
        {"inf", {0, 0, 0, 0, 0, 0, 0, 0}},
        {"0x10", {0, 0, 0, 0, 0, 0, 0, 0}},
        {"", {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const TextTo8& c : cases)
        EXPECT_EQ(TextToFixed2523(c.text), c.bytes) << '"' << c.text << '"';
}

TEST(Fixed523ToText, IgnoresTheTopNibbleAndShowsSinglePrecision) {
    const TextTo4 cases[] = {
        {"16.00000000", {0x07, 0xFF, 0xFF, 0xFF}}, // 15.99999988 rounds to 16 in a float
        {"-16.00000000", {0xF8, 0x00, 0x00, 0x00}},
        {"-16.00000000", {0x08, 0x00, 0x00, 0x00}}, // bit 27 is the sign
        {"0.00000000", {0xF0, 0x00, 0x00, 0x00}},   // top nibble ignored
        {"-0.00000012", {0x0F, 0xFF, 0xFF, 0xFF}},
        {"0.09999990", {0x00, 0x0C, 0xCC, 0xCC}},
        {"-0.09999990", {0xFF, 0xF3, 0x33, 0x34}},
        {"0.00000012", {0x00, 0x00, 0x00, 0x01}},
        {"1.00000000", {0x00, 0x80, 0x00, 0x00}},
        {"-1.00000000", {0xFF, 0x80, 0x00, 0x00}},
        {"0.50000000", {0x00, 0x40, 0x00, 0x00}},
        {"0.14222217", {0x00, 0x12, 0x34, 0x56}},
        {"0.00000000", {0x00, 0x00, 0x00, 0x00}},
    };
    for (const TextTo4& c : cases)
        EXPECT_EQ(Fixed523ToText(c.bytes), c.text) << ::testing::PrintToString(c.bytes);
}

TEST(Fixed2523ToText, IgnoresTheTopTwoBytesAndShowsSinglePrecision) {
    const TextTo8 cases[] = {
        {"1.00000000", {0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00}},
        {"1.00000000", {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00}},
        {"-1.00000000", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0x00}},
        {"-1.00000000", {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0x00}},
        {"16777216.00000000", {0x00, 0x00, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"-16777216.00000000", {0x12, 0x34, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"0.09999990", {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0xCC, 0xCC}},
        {"0.00000012", {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}},
        {"582.54223633", {0x00, 0x00, 0x00, 0x01, 0x23, 0x45, 0x67, 0x89}}, // exact: 582.54223645
    };
    for (const TextTo8& c : cases)
        EXPECT_EQ(Fixed2523ToText(c.bytes), c.text) << ::testing::PrintToString(c.bytes);
}

TEST(FixedText, RoundTripsThroughTheTexts) {
    struct Case {
        const char* text;
        const char* shown523;
        const char* shown2523;
    };
    const Case cases[] = {
        {"0.1", "0.09999990", "0.09999990"},        {"-0.1", "-0.09999990", "-0.09999990"},
        {"0.5", "0.50000000", "0.50000000"},        {"-16", "-16.00000000", "-16.00000000"},
        {"3.14159265", "3.14159250", "3.14159250"}, {"1e9", "16.00000000", "16777216.00000000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Fixed523ToText(TextToFixed523(c.text)), c.shown523) << c.text;
        EXPECT_EQ(Fixed2523ToText(TextToFixed2523(c.text)), c.shown2523) << c.text;
    }
}

TEST(Fixed523ToDb, DecibelsOfTheShownValueWithTheSentinelForZero) {
    const std::pair<Fixed523, double> cases[] = {
        {{0x00, 0x80, 0x00, 0x00}, 0.0},
        {{0x00, 0x40, 0x00, 0x00}, -6.0206},
        {{0xFF, 0xC0, 0x00, 0x00}, -6.0206}, // -0.5: the sign does not count
        {{0x07, 0xFF, 0xFF, 0xFF}, 24.0824}, // shown as 16.00000000
        {{0x08, 0x00, 0x00, 0x00}, 24.0824},
        {{0x00, 0x00, 0x00, 0x01}, -138.4164}, // of 0.00000012, not of 2^-23 (-138.4738)
        {{0x00, 0x00, 0x00, 0x00}, 67108864.0},
        {{0xF0, 0x00, 0x00, 0x00}, 67108864.0}, // top nibble ignored: a zero gain
    };
    for (const auto& [bytes, db] : cases)
        EXPECT_NEAR(Fixed523ToDb(bytes), db, 1e-4) << ::testing::PrintToString(bytes);
    EXPECT_EQ(Fixed523ToDb(Fixed523{0, 0, 0, 0}), MinusInfinityDb);
    EXPECT_EQ(MinusInfinityDb, 67108864.0);
}

TEST(HexDigitValue, DigitsInEitherCaseAndZeroForAnythingElse) {
    const std::pair<char, int> cases[] = {
        {'0', 0}, {'9', 9}, {'A', 10}, {'F', 15}, {'a', 10}, {'f', 15}, {'G', 0}, {'g', 0},
        {'/', 0}, {':', 0}, {'@', 0},  {'`', 0},  {' ', 0},  {'\0', 0}, {'x', 0}, {'\xff', 0},
    };
    for (auto [c, value] : cases)
        EXPECT_EQ(HexDigitValue(c), value) << "char " << int(static_cast<unsigned char>(c));
}

TEST(ByteEdit, ReadsTheFirstTwoCharactersHighNibbleFirst) {
    const std::pair<const char*, int> cases[] = {
        {"5", 0x50},  {"05", 0x05}, {"", 0x00},    {"0a", 0x0A}, {"A0", 0xA0}, {"fF", 0xFF},
        {"g1", 0x01}, {"1g", 0x10}, {"123", 0x12}, {" 5", 0x05}, {"x", 0x00},
    };
    for (auto [field, value] : cases)
        EXPECT_EQ(ByteEditValue(field), value) << '"' << field << '"';
}

TEST(ByteEdit, ShowsTwoLowerCaseDigits) {
    const std::pair<int, const char*> cases[] = {{0x00, "00"}, {0x05, "05"}, {0x0A, "0a"},
                                                 {0xAB, "ab"}, {0xF0, "f0"}, {0xFF, "ff"}};
    for (auto [value, text] : cases)
        EXPECT_EQ(ByteEditText(static_cast<uint8_t>(value)), text) << value;
}

TEST(ByteEdits, TextFillsTheFields) {
    std::array<std::string, 4> four{"x", "x", "x", "x"};
    EXPECT_EQ(TextToByteEdits4("0.1", four), (Fixed523{0x00, 0x0C, 0xCC, 0xCC}));
    EXPECT_EQ(four, (std::array<std::string, 4>{"00", "0c", "cc", "cc"}));

    std::array<std::string, 8> eight;
    EXPECT_EQ(TextToByteEdits8("-1.0", eight), (Fixed2523{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0x00}));
    EXPECT_EQ(eight, (std::array<std::string, 8>{"ff", "ff", "ff", "ff", "ff", "80", "00", "00"}));
}

TEST(ByteEdits, FieldsGiveTheTextAndTheBytesWithTheTopNibbleCleared) {
    struct Case {
        std::array<std::string, 4> fields;
        Fixed523 bytes;
        const char* text;
    };
    const Case cases[] = {
        {{"00", "8", "", ""}, {0x00, 0x80, 0x00, 0x00}, "1.00000000"}, // "8" is 0x80
        {{"f0", "00", "00", "00"}, {0x00, 0x00, 0x00, 0x00}, "0.00000000"},
        {{"ff", "80", "00", "00"}, {0x0F, 0x80, 0x00, 0x00}, "-1.00000000"},
        {{"07", "ff", "ff", "ff"}, {0x07, 0xFF, 0xFF, 0xFF}, "16.00000000"},
        {{"zz", "0C", "cC", "Cc"}, {0x00, 0x0C, 0xCC, 0xCC}, "0.09999990"},
    };
    for (const Case& c : cases) {
        std::string result = "unchanged";
        EXPECT_EQ(ByteEditsToText4(c.fields, result), c.bytes) << c.text;
        EXPECT_EQ(result, c.text);
    }

    const std::array<std::string, 8> eight{"ff", "ff", "ff", "ff", "ff", "80", "00", "00"};
    std::string result;
    EXPECT_EQ(ByteEditsToText8(eight, result), (Fixed2523{0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0x00}));
    EXPECT_EQ(result, "-1.00000000");
}

TEST(ParseDecimal, OnlyPlainDecimalNumbers) {
    const std::pair<const char*, double> cases[] = {
        {"2.5", 2.5}, {"  -2.5e1x", -25.0}, {"\t3", 3.0},      {"1e5", 100000.0}, {"1,5", 1.0},  {"nan", 0.0},
        {"NaN", 0.0}, {"inf", 0.0},         {"infinity", 0.0}, {"0x1p3", 0.0},    {"0x10", 0.0}, {"e5", 0.0},
        {".", 0.0},   {"-", 0.0},           {"", 0.0},         {"1e-999", 0.0},   {"+7", 7.0},
    };
    for (auto [text, value] : cases)
        EXPECT_EQ(ParseDecimal(text), value) << '"' << text << '"';
    EXPECT_EQ(ParseDecimal("1e999"), HUGE_VAL);
    EXPECT_EQ(ParseDecimal("-1e999"), -HUGE_VAL);
}

TEST(FormatShortest, ShortestTextWithoutMinusZero) {
    const std::pair<double, const char*> cases[] = {{18.0, "18"}, {17.75, "17.75"}, {-0.25, "-0.25"},
                                                    {-0.0, "0"},  {0.1, "0.1"},     {-114.5, "-114.5"}};
    for (auto [value, text] : cases)
        EXPECT_EQ(FormatShortest(value), text) << value;
}

} // namespace
