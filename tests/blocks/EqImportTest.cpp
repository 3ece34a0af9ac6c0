// Importing filter lists and coefficient text into a channel's seven biquads.

#include "EqImport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr double Fs = 48000;

BiquadWords Designed(const FilterSpec& spec) {
    return DesignFilter(spec, Fs).bytes;
}

std::vector<BiquadWords> BytesOf(const EqImportResult& result) {
    std::vector<BiquadWords> bytes;
    for (const ImportedBiquad& b : result.biquads)
        bytes.push_back(b.bytes);
    return bytes;
}

TEST(EqImportFilterList, ReadsEveryTypeIntoTheBiquadsInFileOrder) {
    const std::string text = "Filter Settings file\n"
                             "\n"
                             "Room EQ V5.20\r\n"
                             "Dated: 10-Dec-2026 14:00:00\n"
                             "Notes: living room, left\n"
                             "Equaliser: Generic\n"
                             "Filter  1: ON  PK       Fc   63.0 Hz  Gain  -4.5 dB  Q  2.50\n"
                             "Filter  2: OFF PK       Fc   90.0 Hz  Gain  -3.0 dB  Q  4.00\n"
                             "Filter  3: ON  None\n"
                             "Filter  4: ON  LS       Fc   120 Hz  Gain   3.0 dB\r\n"
                             "Filter 5 : ON  HS 6dB   Fc   8000 Hz  Gain  -2.0 dB\n"
                             "Filter  6: ON  HP       Fc   25.0 Hz  Q 0.5\n"
                             "filter  7: on  no       fc   50 hz  q 30\n"
                             "Filter  8: ON  PK       Fc   1000 Hz  Gain  2.0 dB  BW Oct 0.333\n"
                             "Filter  9: ON  AP       Fc   700 Hz  Q  0.6\n"
                             "Filter 10: OFF None\n";
    const EqImportResult result = ImportFilterList(text, Fs);
    ASSERT_TRUE(result.Ok()) << ::testing::PrintToString(result.errors);
    EXPECT_EQ(result.filterCount, 7);
    const std::vector<BiquadWords> expected = {
        Designed({FilterType::Peaking, 2, 63, -4.5, 2.5}),
        Designed({FilterType::LowShelf, 2, 120, 3, 0.7071}),
        Designed({FilterType::HighShelf, 1, 8000, -2}),
        Designed({FilterType::HighPass, 2, 25, 0, 0.5}),
        Designed({FilterType::Notch, 2, 50, 0, 30}),
        Designed({FilterType::Peaking, 2, 1000, 2, 0.333, WidthKind::Bandwidth}),
        Designed({FilterType::AllPass, 2, 700, 0, 0.6}),
    };
    EXPECT_EQ(BytesOf(result), expected);
    const int lines[] = {7, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(result.biquads[static_cast<size_t>(i)].line, lines[i]);
    EXPECT_EQ(result.biquads[0].description, "PK 63 Hz -4.5 dB Q 2.5");
    EXPECT_EQ(result.biquads[5].description, "PK 1000 Hz 2 dB BW 0.333 oct");
}

TEST(EqImportFilterList, FewerFiltersLeaveTheRestAllPass) {
    const EqImportResult result = ImportFilterList("Filter 1: ON LP Fc 5000 Hz\n"
                                                   "Filter 2: ON LP1 Fc 9000 Hz\n"
                                                   "Filter 3: ON BP Fc 440 Hz Q 4\n",
                                                   Fs);
    ASSERT_TRUE(result.Ok()) << ::testing::PrintToString(result.errors);
    EXPECT_EQ(result.filterCount, 3);
    ASSERT_EQ(result.biquads.size(), 7u);
    EXPECT_EQ(result.biquads[0].bytes, Designed({FilterType::LowPass, 2, 5000, 0, 0.7071}));
    EXPECT_EQ(result.biquads[1].bytes, Designed({FilterType::LowPass, 1, 9000}));
    EXPECT_EQ(result.biquads[2].bytes, Designed({FilterType::BandPass, 2, 440, 0, 4}));
    for (size_t i = 3; i < 7; ++i) {
        EXPECT_EQ(result.biquads[i].bytes, AllPassBytes());
        EXPECT_EQ(result.biquads[i].description, "all-pass");
    }

    // Every filter off: a flat channel.
    const EqImportResult off = ImportFilterList("Filter 1: OFF PK Fc 63 Hz Gain -4 dB Q 2\n", Fs);
    ASSERT_TRUE(off.Ok());
    EXPECT_EQ(BytesOf(off), std::vector<BiquadWords>(7, AllPassBytes()));
}

TEST(EqImportFilterList, NamesEachBadLineAndGivesNothing) {
    struct Case {
        const char* text;
        std::vector<std::string> errors;
    };
    const Case cases[] = {
        {"Filter 1: ON PK Fc 63 Hz Gain -4.5 dB Q 2.5\nFilter 2: ON XX Fc 100 Hz\n",
         {"line 2: unknown filter type \"XX\""}},
        {"Filter 1: ON PK Fc 63 Hz Gain -4.5 dB\n", {"line 1: the width (Q or BW Oct) is missing"}},
        {"Filter 1: ON PK Fc 63 Hz Q 2\n", {"line 1: the gain is missing"}},
        {"Filter 1: ON LS Gain 3 dB\n", {"line 1: the frequency (Fc) is missing"}},
        {"Filter 1: ON PK Fc abc Hz Gain 1 dB Q 1\n", {"line 1: a number must follow \"Fc\""}},
        {"Filter 1: ON PK Fc nan Hz Gain 1 dB Q 1\n", {"line 1: a number must follow \"Fc\""}},
        {"Filter 1: ON PK Fc 63 Hz Gain 1 dB Q\n", {"line 1: a number must follow \"Q\""}},
        {"Filter 1: ON PK Fc 63 Hz Gain 1 dB Q 1 Q 2\n", {"line 1: \"Q\" is given twice"}},
        {"Filter 1: ON PK Fc 63 Hz Gain 1 dB Q 1 BW Oct 1\n", {"line 1: give Q or BW, not both"}},
        {"Filter 1: ON PK Fc 63 Hz Gain 1 dB Q 1 Slope 12\n", {"line 1: \"Slope\" is not understood"}},
        {"Filter 1: MAYBE PK Fc 63 Hz\n", {"line 1: ON or OFF expected, not \"MAYBE\""}},
        {"Filter 1:\n", {"line 1: ON or OFF expected after the filter number"}},
        {"Filter 1: ON\n", {"line 1: the filter type is missing"}},
        {"Filter 1x: ON PK Fc 63 Hz Gain 1 dB Q 1\n", {"line 1: the filter number \"1x\" is not a number"}},
        {"Filter 1: ON LP Fc 2000 Hz Gain 3 dB\n", {"line 1: a LP filter has no gain"}},
        {"Filter 1: ON PK Fc 30000 Hz Gain 1 dB Q 1\n",
         {"line 1: The frequency must be below half the sample rate (24000 Hz)"}},
        {"Filter 1: ON NO Fc 100 Hz Q 0\n", {"line 1: Q must be above 0"}},
        {"Filter 1: ON HS Fc 5000 Hz Gain 30 dB\n",
         {"line 1: b1 = -22.2329 is beyond what the device can hold (-16 to +16); lower the gain"}},
        {"Room EQ\nNotes\n",
         {"line 1: no filter lines (\"Filter 1: ON PK Fc ... Hz Gain ... dB Q ...\") in the file"}},
        {"", {"line 1: no filter lines (\"Filter 1: ON PK Fc ... Hz Gain ... dB Q ...\") in the file"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const EqImportResult result = ImportFilterList(c.text, Fs);
        EXPECT_EQ(result.errors, c.errors);
        EXPECT_TRUE(result.biquads.empty());
    }

    // A NUL byte inside a number spoils that word, and only that line.
    const std::string withNul(
        "Filter 1: ON PK Fc 63 Hz Gain 1 dB Q 1\nFilter 2: ON PK Fc 6\0003 Hz Gain 1 dB Q 1\n", 79);
    EXPECT_EQ(ImportFilterList(withNul, Fs).errors,
              std::vector<std::string>{"line 2: a number must follow \"Fc\""});
}

TEST(EqImportFilterList, AnEighthActiveFilterIsAnError) {
    std::string text;
    for (int i = 1; i <= 9; ++i)
        text +=
            "Filter " + std::to_string(i) + ": ON PK Fc " + std::to_string(100 * i) + " Hz Gain 1 dB Q 1\n";
    const EqImportResult result = ImportFilterList(text, Fs);
    EXPECT_EQ(result.errors,
              std::vector<std::string>{"line 8: more than seven filters: a channel holds seven biquads"});
    EXPECT_TRUE(result.biquads.empty());

    // A long list is refused quickly: nothing past the seventh is designed.
    std::string longList;
    for (int i = 1; i <= 20000; ++i)
        longList += "Filter " + std::to_string(i) + ": ON PK Fc 100 Hz Gain 1 dB Q 1\n";
    const EqImportResult refused = ImportFilterList(longList, 192000);
    EXPECT_EQ(refused.errors,
              std::vector<std::string>{"line 8: more than seven filters: a channel holds seven biquads"});

    // Seven on and more off is fine.
    std::string sevenOn;
    for (int i = 1; i <= 10; ++i)
        sevenOn +=
            "Filter " + std::to_string(i) + (i <= 7 ? ": ON" : ": OFF") + " PK Fc 100 Hz Gain 1 dB Q 1\n";
    EXPECT_TRUE(ImportFilterList(sevenOn, Fs).Ok());
}

TEST(EqImportFilterList, ManyBadLinesAreCountedNotAllListed) {
    std::string text;
    for (int i = 1; i <= 80; ++i)
        text += "Filter " + std::to_string(i) + ": ON ZZ\n";
    const EqImportResult result = ImportFilterList(text, Fs);
    ASSERT_EQ(result.errors.size(), static_cast<size_t>(MaxImportErrors) + 1);
    EXPECT_EQ(result.errors[49], "line 50: unknown filter type \"ZZ\"");
    EXPECT_EQ(result.errors.back(), "30 more errors not listed");
}

TEST(EqImportFilterList, WarnsOfAFilterThatIsUnstableOnceStored) {
    const EqImportResult result = ImportFilterList("Filter 1: ON PK Fc 10 Hz Gain 12 dB Q 10\n", 192000);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(result.warnings,
              std::vector<std::string>{"line 1: PK 10 Hz 12 dB Q 10: Unstable after quantisation to "
                                       "5.23: a pole lies on or outside the unit circle"});
}

const char* const TwoBiquads = "biquad1,\n"
                               "b0=1.0001,\n"
                               "b1=-1.9915,\n"
                               "b2=0.9916,\n"
                               "a1=1.9915,\n"
                               "a2=-0.9917,\n"
                               "biquad2,\n"
                               "B0 = 0.5\n"
                               "b2=0.125,\n"
                               "b1=-0.25,\n"
                               "a2=0\n"
                               "a1=0.5\n";

TEST(EqImportCoefficients, ReadsTheFiveWordsOfEachBiquadAsGiven) {
    const EqImportResult result = ImportBiquadCoefficients(TwoBiquads);
    ASSERT_TRUE(result.Ok()) << ::testing::PrintToString(result.errors);
    EXPECT_EQ(result.filterCount, 2);
    ASSERT_EQ(result.biquads.size(), 7u);
    EXPECT_EQ(result.biquads[0].bytes, QuantiseBiquad({1.0001, -1.9915, 0.9916, 1.9915, -0.9917}));
    // a1 and a2 are taken with their signs as written: the device's own.
    const BiquadWords second = {0x00, 0x40, 0x00, 0x00, 0xFF, 0xE0, 0x00, 0x00, 0x00, 0x10,
                                0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(result.biquads[1].bytes, second);
    EXPECT_EQ(result.biquads[1].line, 7);
    EXPECT_EQ(result.biquads[1].description, "biquad2");
    for (size_t i = 2; i < 7; ++i)
        EXPECT_EQ(result.biquads[i].bytes, AllPassBytes());
    // The same text through the form detection.
    EXPECT_EQ(BytesOf(ImportEqText(TwoBiquads, Fs)), BytesOf(result));
}

TEST(EqImportCoefficients, NamesEachBadLineAndGivesNothing) {
    struct Case {
        std::string text;
        std::vector<std::string> errors;
    };
    const std::string five = "b0=1,\nb1=0,\nb2=0,\na1=0,\na2=0,\n";
    std::string eight;
    for (int i = 1; i <= 8; ++i)
        eight += "biquad" + std::to_string(i) + ",\n" + five;
    const Case cases[] = {
        {"b0=1,\n", {"line 1: a coefficient outside a biquad (a \"biquad1,\" line must come first)"}},
        {"biquad1,\nb0=1,\nb1=0,\nb2=0,\na1=0,\n", {"line 1: biquad1 lacks a2"}},
        {"biquad1,\nb0=1,\nb0=2,\nb1=0,\nb2=0,\na1=0,\na2=0\n", {"line 3: b0 is given twice in biquad1"}},
        {"biquad1,\nb0=x,\nb1=0,\nb2=0,\na1=0,\na2=0\n", {"line 2: b0 is not a number"}},
        {"biquad1,\nb0=17,\nb1=0,\nb2=0,\na1=0,\na2=0\n",
         {"line 2: b0 = 17 is beyond what the device can hold (-16 to +16)"}},
        {"biquad1,\nb0=1,\nb1=0,\nb2=0,\nc1=0,\na1=0,\na2=0\n",
         {"line 5: \"c1=0\" is neither a biquad heading nor b0=, b1=, b2=, a1=, a2="}},
        {"biquadA,\n" + five,
         {"line 1: \"biquadA\" is not a biquad heading such as \"biquad1\"",
          "line 2: a coefficient outside a biquad (a \"biquad1,\" line must come first)",
          "line 3: a coefficient outside a biquad (a \"biquad1,\" line must come first)",
          "line 4: a coefficient outside a biquad (a \"biquad1,\" line must come first)",
          "line 5: a coefficient outside a biquad (a \"biquad1,\" line must come first)",
          "line 6: a coefficient outside a biquad (a \"biquad1,\" line must come first)"}},
        {eight, {"line 43: more than seven filters: a channel holds seven biquads"}},
        {"# nothing\n\n", {"line 1: no biquad (\"biquad1,\" then b0= ... a2=) in the file"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const EqImportResult result = ImportBiquadCoefficients(c.text);
        EXPECT_EQ(result.errors, c.errors);
        EXPECT_TRUE(result.biquads.empty());
    }
}

TEST(EqImportCoefficients, CommentsAreSkippedAndUnstableBiquadsWarned) {
    const EqImportResult result = ImportBiquadCoefficients("# exported\n// by hand\n; test\nbiquad3,\n"
                                                           "b0=1,\nb1=0,\nb2=0,\na1=0,\na2=-1.0\n");
    ASSERT_TRUE(result.Ok()) << ::testing::PrintToString(result.errors);
    EXPECT_EQ(result.warnings, std::vector<std::string>{
                                   "line 4: biquad3 is unstable: a pole lies on or outside the unit circle"});
}

TEST(EqImport, TellsTheFormsApartByTheirLines) {
    EXPECT_EQ(ImportEqText("Filter 1: ON PK Fc 63 Hz Gain -4.5 dB Q 2.5\n", Fs).biquads[0].bytes,
              Designed({FilterType::Peaking, 2, 63, -4.5, 2.5}));
    // Coefficient lines without a heading are read as coefficient text, so
    // the message says what is missing.
    EXPECT_EQ(ImportEqText("  b0 = 1\n", Fs).errors,
              std::vector<std::string>{
                  "line 1: a coefficient outside a biquad (a \"biquad1,\" line must come first)"});
}

} // namespace
