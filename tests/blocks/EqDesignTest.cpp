// The filter designer: coefficients against an independent reference, the
// 5.23 words, the refusals and the quantisation report.

#include "EqDesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

struct ReferenceCase {
    FilterType type;
    int order;
    double frequency, gainDb, width;
    WidthKind widthKind;
    int sampleRate;
    BiquadCoefficients expected;
};

// Worked out apart from the designer: each analog prototype was carried
// through the bilinear transform as polynomials in z^-1 (with the frequency
// prewarped), then divided by a0 and given the device's signs. The designer
// uses the cookbook's closed forms instead; both must agree to rounding.
const ReferenceCase ReferenceCases[] = {
    {FilterType::Peaking,
     2,
     1000,
     6,
     1.41,
     WidthKind::Q,
     44100,
     {1.0342568720142935, -1.9115925818510855, 0.89690324226097751, 1.9115925818510855, -0.9311601142752709}},
    {FilterType::Peaking,
     2,
     250,
     -9.5,
     0.5,
     WidthKind::Bandwidth,
     44100,
     {0.99294766092910192, -1.9775359360269529, 0.98584339900628715, 1.9775359360269529,
      -0.97879105993538884}},
    {FilterType::LowShelf,
     2,
     120,
     4,
     0.707,
     WidthKind::Q,
     44100,
     {1.0027940289039146, -1.9783808324460161, 0.97595087452567075, 1.9784480113073031,
      -0.97867772456829816}},
    {FilterType::HighShelf,
     2,
     6000,
     -3,
     0.9,
     WidthKind::Q,
     44100,
     {0.77686161601918191, -0.65090613377384088, 0.30015526788278024, 1.0073226932783987,
      -0.43343344340651985}},
    {FilterType::LowPass,
     2,
     5000,
     0,
     0.707,
     WidthKind::Q,
     44100,
     {0.083155899975268927, 0.16631179995053785, 0.083155899975268927, 1.035121791879154,
      -0.36774539178022964}},
    {FilterType::HighPass,
     2,
     80,
     0,
     1.2,
     WidthKind::Q,
     44100,
     {0.99524102973784712, -1.9904820594756942, 0.99524102973784712, 1.9904174092252338,
      -0.99054670972615466}},
    {FilterType::BandPass,
     2,
     2000,
     0,
     1,
     WidthKind::Bandwidth,
     44100,
     {0.091570344631129078, 0, -0.091570344631129078, 1.7435948720688563, -0.81685931073774187}},
    {FilterType::Notch,
     2,
     60,
     0,
     8,
     WidthKind::Q,
     44100,
     {0.99946600734296887, -1.998858976422007, 0.99946600734296887, 1.998858976422007, -0.99893201468593795}},
    {FilterType::AllPass,
     2,
     700,
     0,
     0.6,
     WidthKind::Q,
     44100,
     {0.84676775921067615, -1.8375907553672242, 1, 1.8375907553672242, -0.84676775921067615}},
    {FilterType::LowPass,
     1,
     3000,
     0,
     0.7071,
     WidthKind::Q,
     44100,
     {0.17832624470902195, 0.17832624470902195, 0, 0.64334751058195616, -0}},
    {FilterType::HighPass,
     1,
     30,
     0,
     0.7071,
     WidthKind::Q,
     44100,
     {0.99786741651855349, -0.99786741651855349, 0, 0.99573483303710697, -0}},
    {FilterType::LowShelf,
     1,
     200,
     6,
     0.7071,
     WidthKind::Q,
     44100,
     {1.0099391526024328, -0.97008791673808836, 0, 0.98002706934052131, -0}},
    {FilterType::HighShelf,
     1,
     8000,
     -6,
     0.7071,
     WidthKind::Q,
     44100,
     {0.65686076610884248, -0.032684550196813072, 0, 0.37582378408797057, -0}},
    {FilterType::AllPass,
     1,
     1500,
     0,
     0.7071,
     WidthKind::Q,
     44100,
     {-0.80625157476403708, 1, 0, 0.80625157476403708, -0}},
    {FilterType::Peaking,
     2,
     1000,
     6,
     1.41,
     WidthKind::Q,
     96000,
     {1.0160773386912751, -1.963479278546461, 0.95161492002390058, 1.963479278546461, -0.96769225871517561}},
    {FilterType::Peaking,
     2,
     250,
     -9.5,
     0.5,
     WidthKind::Bandwidth,
     96000,
     {0.99674165689694683, -1.9899345686734731, 0.99345932424025352, 1.9899345686734731,
      -0.99020098113720045}},
    {FilterType::LowShelf,
     2,
     120,
     4,
     0.707,
     WidthKind::Q,
     96000,
     {1.0012825911387337, -1.9900850216860217, 0.98887970470761744, 1.9900992804166873,
      -0.99014803711568555}},
    {FilterType::HighShelf,
     2,
     6000,
     -3,
     0.9,
     WidthKind::Q,
     96000,
     {0.73770010101165717, -1.0916559694941876, 0.46169106204253985, 1.5642274488324437,
      -0.67196264239245318}},
    {FilterType::LowPass,
     2,
     5000,
     0,
     0.707,
     WidthKind::Q,
     96000,
     {0.021620113635254866, 0.043240227270509732, 0.021620113635254866, 1.5430779694435248,
      -0.6295584239845442}},
    {FilterType::HighPass,
     2,
     80,
     0,
     1.2,
     WidthKind::Q,
     96000,
     {0.99781625869000368, -1.9956325173800074, 0.99781625869000368, 1.9956188394678731,
      -0.99564619529214171}},
    {FilterType::BandPass,
     2,
     2000,
     0,
     1,
     WidthKind::Bandwidth,
     96000,
     {0.044237741487938416, 0, -0.044237741487938416, 1.8951711597936221, -0.9115245170241234}},
    {FilterType::Notch,
     2,
     60,
     0,
     8,
     WidthKind::Q,
     96000,
     {0.99975462392895587, -1.9994938304048555, 0.99975462392895587, 1.9994938304048555,
      -0.99950924785791184}},
    {FilterType::AllPass,
     2,
     700,
     0,
     0.6,
     WidthKind::Q,
     96000,
     {0.92647470125070452, -1.9244532154349976, 1, 1.9244532154349976, -0.92647470125070452}},
    {FilterType::LowPass,
     1,
     3000,
     0,
     0.7071,
     WidthKind::Q,
     96000,
     {0.089660604585669837, 0.089660604585669837, 0, 0.82067879082866035, -0}},
    {FilterType::HighPass,
     1,
     30,
     0,
     0.7071,
     WidthKind::Q,
     96000,
     {0.99901921486420575, -0.99901921486420575, 0, 0.99803842972841139, -0}},
    {FilterType::LowShelf,
     1,
     200,
     6,
     0.7071,
     WidthKind::Q,
     96000,
     {1.004590338524834, -0.98618528222198887, 0, 0.9907756207468229, -0}},
    {FilterType::HighShelf,
     1,
     8000,
     -6,
     0.7071,
     WidthKind::Q,
     96000,
     {0.5807216179082364, -0.26182687566126783, 0, 0.68110525775303143, -0}},
    {FilterType::AllPass,
     1,
     1500,
     0,
     0.7071,
     WidthKind::Q,
     96000,
     {-0.90634716901914714, 1, 0, 0.90634716901914714, -0}},
};

std::string Describe(const ReferenceCase& c) {
    return std::string(FilterTypeName(c.type)) + " order " + std::to_string(c.order) + " " +
           std::to_string(c.frequency) + " Hz at " + std::to_string(c.sampleRate);
}

TEST(EqDesign, CoefficientsMatchTheIndependentReference) {
    for (const ReferenceCase& c : ReferenceCases) {
        SCOPED_TRACE(Describe(c));
        const FilterSpec spec{c.type, c.order, c.frequency, c.gainDb, c.width, c.widthKind};
        ASSERT_FALSE(CheckFilterSpec(spec, c.sampleRate));
        const BiquadCoefficients got = DesignCoefficients(spec, c.sampleRate);
        EXPECT_NEAR(got.b0, c.expected.b0, 1e-12);
        EXPECT_NEAR(got.b1, c.expected.b1, 1e-12);
        EXPECT_NEAR(got.b2, c.expected.b2, 1e-12);
        EXPECT_NEAR(got.a1, c.expected.a1, 1e-12);
        EXPECT_NEAR(got.a2, c.expected.a2, 1e-12);
    }
}

// What an engineer expects of each shape, read through the response of the
// device's own formula: the gain where the filter is defined.
TEST(EqDesign, EachShapeHasItsGainWhereItIsDefined) {
    struct Case {
        FilterSpec spec;
        double atHz;
        double expectedDb;
    };
    const double fs = 48000;
    const Case cases[] = {
        {{FilterType::Peaking, 2, 1000, 6, 1.41}, 1000, 6},
        {{FilterType::Peaking, 2, 1000, -9, 2.0, WidthKind::Bandwidth}, 1000, -9},
        {{FilterType::LowShelf, 2, 200, 8, 0.7071}, 1, 8},
        {{FilterType::LowShelf, 2, 200, 8, 0.7071}, 200, 4},
        {{FilterType::HighShelf, 2, 4000, -6, 0.7071}, 4000, -3},
        {{FilterType::LowShelf, 1, 300, -10}, 300, -5},
        {{FilterType::HighShelf, 1, 5000, 6}, 5000, 3},
        {{FilterType::LowPass, 2, 2000, 0, std::numbers::sqrt2 / 2}, 2000, -10 * std::log10(2.0)},
        {{FilterType::HighPass, 2, 100, 0, 2.0}, 100, 20 * std::log10(2.0)},
        {{FilterType::LowPass, 1, 2000}, 2000, -10 * std::log10(2.0)},
        {{FilterType::HighPass, 1, 50}, 50, -10 * std::log10(2.0)},
        {{FilterType::BandPass, 2, 3000, 0, 1.0, WidthKind::Bandwidth}, 3000, 0},
        {{FilterType::AllPass, 2, 700, 0, 0.6}, 3000, 0},
        {{FilterType::AllPass, 1, 700}, 100, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(FilterTypeName(c.spec.type)) + " " + std::to_string(c.spec.order) + " at " +
                     std::to_string(c.atHz));
        const BiquadCoefficients b = DesignCoefficients(c.spec, fs);
        EXPECT_NEAR(MagnitudeDb(BiquadResponse(b, c.atHz, fs)), c.expectedDb, 1e-3);
    }
    const BiquadCoefficients notch = DesignCoefficients({FilterType::Notch, 2, 1000, 0, 5}, fs);
    EXPECT_LT(MagnitudeDb(BiquadResponse(notch, 1000, fs)), -200);
    EXPECT_NEAR(MagnitudeDb(BiquadResponse(notch, 20, fs)), 0, 1e-3);
    // An all-pass turns the phase by 180 degrees at its frequency (second order).
    const BiquadCoefficients allPass = DesignCoefficients({FilterType::AllPass, 2, 700, 0, 0.6}, fs);
    EXPECT_NEAR(std::abs(std::arg(BiquadResponse(allPass, 700, fs))), std::numbers::pi, 1e-9);
}

TEST(EqDesign, CoefficientsRoundToTheNearestWordAndSaturateAtTheLimits) {
    struct Case {
        double value;
        std::array<uint8_t, 4> bytes;
        bool saturated;
    };
    const Case cases[] = {
        {1.0, {0x00, 0x80, 0x00, 0x00}, false},
        {-1.0, {0xFF, 0x80, 0x00, 0x00}, false},
        {0.1, {0x00, 0x0C, 0xCC, 0xCD}, false}, // 838860.8 counts: rounded up, not cut
        {-0.1, {0xFF, 0xF3, 0x33, 0x33}, false},
        {0.5 / 8388608.0 * 0.99, {0x00, 0x00, 0x00, 0x00}, false},
        {1.4 / 8388608.0, {0x00, 0x00, 0x00, 0x01}, false},
        {-16.0, {0xF8, 0x00, 0x00, 0x00}, false},
        {16.0 - 1.0 / 8388608.0, {0x07, 0xFF, 0xFF, 0xFF}, false},
        {16.0, {0x07, 0xFF, 0xFF, 0xFF}, true},
        {-16.0 - 1.0 / 8388608.0, {0xF8, 0x00, 0x00, 0x00}, true},
        {1e9, {0x07, 0xFF, 0xFF, 0xFF}, true},
        {-INFINITY, {0xF8, 0x00, 0x00, 0x00}, true},
        {NAN, {0x07, 0xFF, 0xFF, 0xFF}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const QuantisedWord word = QuantiseCoefficient(c.value);
        EXPECT_EQ(word.bytes, c.bytes);
        EXPECT_EQ(word.saturated, c.saturated);
    }
}

TEST(EqDesign, StoredBytesAreTheFiveWordsInOrderAndReadBackWithinHalfACount) {
    const BiquadCoefficients c{1.5, -0.25, 0.125, 1.875, -0.9375};
    const BiquadWords bytes = QuantiseBiquad(c);
    const BiquadWords expected = {0x00, 0xC0, 0x00, 0x00, 0xFF, 0xE0, 0x00, 0x00, 0x00, 0x10,
                                  0x00, 0x00, 0x00, 0xF0, 0x00, 0x00, 0xFF, 0x88, 0x00, 0x00};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(AllPassBytes(), (BiquadWords{0x00, 0x80}));

    const BiquadCoefficients designed = DesignCoefficients({FilterType::Peaking, 2, 63, -4.5, 2.5}, 48000);
    const BiquadCoefficients back = StoredCoefficients(QuantiseBiquad(designed));
    const double halfCount = 0.5 / 8388608.0;
    EXPECT_LE(std::fabs(back.b0 - designed.b0), halfCount);
    EXPECT_LE(std::fabs(back.b1 - designed.b1), halfCount);
    EXPECT_LE(std::fabs(back.b2 - designed.b2), halfCount);
    EXPECT_LE(std::fabs(back.a1 - designed.a1), halfCount);
    EXPECT_LE(std::fabs(back.a2 - designed.a2), halfCount);
    // The ignored top nibble does not count when the words are read.
    BiquadWords withJunk = AllPassBytes();
    withJunk[0] = 0xA0;
    EXPECT_EQ(StoredCoefficients(withJunk).b0, 1.0);
}

TEST(EqDesign, RefusesWhatTheDeviceCannotHold) {
    struct Case {
        FilterSpec spec;
        double fs;
        const char* message;
    };
    const Case cases[] = {
        {{FilterType::Peaking, 2, 0, 3, 1}, 48000, "The frequency must be above 0 Hz"},
        {{FilterType::Peaking, 2, -100, 3, 1}, 48000, "The frequency must be above 0 Hz"},
        {{FilterType::Peaking, 2, NAN, 3, 1}, 48000, "The frequency must be above 0 Hz"},
        {{FilterType::LowPass, 2, 24000, 0, 0.7},
         48000,
         "The frequency must be below half the sample rate (24000 Hz)"},
        {{FilterType::LowPass, 1, 30000},
         48000,
         "The frequency must be below half the sample rate (24000 Hz)"},
        {{FilterType::Notch, 2, 1000, 0, 0}, 48000, "Q must be above 0"},
        {{FilterType::Notch, 2, 1000, 0, -2}, 48000, "Q must be above 0"},
        {{FilterType::BandPass, 2, 1000, 0, 0, WidthKind::Bandwidth},
         48000,
         "The bandwidth must be above 0 octaves"},
        {{FilterType::Peaking, 1, 1000, 3}, 48000, "Peaking has no first-order form"},
        {{FilterType::Peaking, 2, 1000, NAN, 1}, 48000, "The gain is not a number"},
        {{FilterType::Peaking, 3, 1000, 3, 1}, 48000, "The order must be 1 or 2"},
        {{FilterType::Peaking, 2, 1000, 3, 1}, 0, "The sample rate is not known"},
        // A +30 dB high shelf needs words far beyond 16.
        {{FilterType::HighShelf, 2, 5000, 30, 0.7071},
         48000,
         "b1 = -22.2329 is beyond what the device can hold (-16 to +16); lower the gain"},
        {{FilterType::Peaking, 2, 1000, 1e6, 1},
         48000,
         "b0 = inf is beyond what the device can hold (-16 to +16); lower the gain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const FilterDesign design = DesignFilter(c.spec, c.fs);
        EXPECT_EQ(design.error, c.message);
        EXPECT_EQ(design.bytes, AllPassBytes()); // nothing usable to write
    }
}

// The deviation of the report, worked out point by point with the reference
// evaluation of one frequency at a time.
double ReferenceDeviation(const FilterDesign& design, int fs) {
    const BiquadCoefficients stored = StoredCoefficients(design.bytes);
    double worst = 0;
    for (int f = 1; f <= fs / 2; ++f) {
        const double d = std::max(MagnitudeDb(BiquadResponse(design.designed, f, fs)), DeviationFloorDb);
        const double q = std::max(MagnitudeDb(BiquadResponse(stored, f, fs)), DeviationFloorDb);
        worst = std::max(worst, std::fabs(d - q));
    }
    return worst;
}

TEST(EqDesign, ReportsTheLargestDeviationOverTheGrid) {
    // The ranges come from a separate calculation in plain double precision.
    struct Case {
        FilterSpec spec;
        int fs;
        double atLeast, atMost;
        double worstHz;
    };
    const Case cases[] = {
        {{FilterType::Peaking, 2, 1000, 6, 1.41}, 48000, 0, 1e-4, 1164},
        {{FilterType::HighPass, 1, 30}, 96000, 0, 1e-3, 1},
        // The stored notch is only about 35 dB deep at 60 Hz; the designed
        // one is a true zero, counted as the -120 dB floor.
        {{FilterType::Notch, 2, 60, 0, 8}, 44100, 84, 85, 60},
        // Stable, but the stored peak is more than 4 dB off just below 20 Hz.
        {{FilterType::Peaking, 2, 20, 6, 10}, 192000, 4.3, 4.5, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(FilterTypeName(c.spec.type)) + " " + std::to_string(c.spec.frequency));
        const FilterDesign design = DesignFilter(c.spec, c.fs);
        ASSERT_EQ(design.error, "");
        EXPECT_NEAR(design.report.maxDeviationDb, ReferenceDeviation(design, c.fs), 1e-6);
        EXPECT_GE(design.report.maxDeviationDb, c.atLeast);
        EXPECT_LE(design.report.maxDeviationDb, c.atMost);
        EXPECT_EQ(design.report.worstFrequency, c.worstHz);
        EXPECT_TRUE(design.report.designedStable);
        EXPECT_TRUE(design.report.storedStable);
        EXPECT_TRUE(design.report.saturated.empty());
        EXPECT_TRUE(design.warnings.empty());
    }
}

// A narrow peak far below the sample rate puts both poles next to z = 1,
// closer than a 5.23 count can resolve: rounding lands one of them on the
// unit circle. 20 Hz at 192 kHz still keeps about three counts of margin
// (but is far off in level, above).
TEST(EqDesign, WarnsWhenQuantisingMakesTheFilterUnstable) {
    const FilterDesign design = DesignFilter({FilterType::Peaking, 2, 10, 12, 10}, 192000);
    ASSERT_EQ(design.error, "");
    EXPECT_TRUE(design.report.designedStable);
    EXPECT_FALSE(design.report.storedStable);
    EXPECT_FALSE(StoredBiquadIsStable(design.bytes));
    // 1 - a1 - a2 is exactly zero in counts: a pole at z = 1.
    const BiquadCoefficients stored = StoredCoefficients(design.bytes);
    EXPECT_EQ(1.0 - stored.a1 - stored.a2, 0.0);
    EXPECT_FALSE(IsStableBiquad(stored));
    EXPECT_EQ(design.warnings,
              std::vector<std::string>{
                  "Unstable after quantisation to 5.23: a pole lies on or outside the unit circle"});

    const FilterDesign near = DesignFilter({FilterType::Peaking, 2, 20, 12, 10}, 192000);
    EXPECT_TRUE(near.report.storedStable);
}

// Rounded on their own, b1 and 2 b0 drift apart by a count and the double
// zero of a pass filter leaves the unit circle: a subsonic filter would let
// DC through only about 15 dB down.
TEST(EqDesign, PassFiltersKeepTheirZerosWhenStored) {
    struct Case {
        FilterSpec spec;
        int fs;
        double zeroHz;
    };
    const Case cases[] = {
        {{FilterType::HighPass, 2, 25, 0, 0.7071}, 192000, 0},
        {{FilterType::HighPass, 2, 25, 0, 0.7071}, 44100, 0},
        {{FilterType::HighPass, 2, 41, 0, 3}, 48000, 0},
        {{FilterType::LowPass, 2, 15000, 0, 0.7071}, 96000, 48000},
        {{FilterType::LowPass, 2, 333, 0, 0.5}, 32000, 16000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(FilterTypeName(c.spec.type)) + " " + std::to_string(c.fs));
        const FilterDesign design = DesignFilter(c.spec, c.fs);
        const BiquadCoefficients stored = StoredCoefficients(design.bytes);
        EXPECT_EQ(stored.b1, (c.zeroHz == 0 ? -2 : 2) * stored.b0);
        EXPECT_EQ(stored.b0, stored.b2);
        EXPECT_EQ(std::abs(BiquadResponse(stored, c.zeroHz, c.fs)), 0.0);
        EXPECT_LE(std::fabs(stored.b1 - design.designed.b1), 1 / 8388608.0);
    }
    // 1 Hz, 25 Hz below the corner: two octaves and more of a 12 dB slope.
    const FilterDesign subsonic = DesignFilter({FilterType::HighPass, 2, 25, 0, 0.7071}, 192000);
    EXPECT_LT(MagnitudeDb(BiquadResponse(StoredCoefficients(subsonic.bytes), 1, 192000)), -50);
}

TEST(EqDesign, StabilityOfStoredWordsIsDecidedOnTheCounts) {
    struct Case {
        BiquadCoefficients c;
        bool stable;
    };
    const Case cases[] = {
        {{1, 0, 0, 0, 0}, true},
        {{1, 0, 0, 0, -1.0}, false}, // poles on the circle at +-j
        {{1, 0, 0, 0, -1.0 + 1 / 8388608.0}, true},
        {{1, 0, 0, 1.5, -0.5}, false}, // pole at z = 1
        {{1, 0, 0, 1.5, -0.5 - 1 / 8388608.0}, true},
        {{1, 0, 0, -1.5, -0.5}, false}, // pole at z = -1
        {{1, 0, 0, 0, 1.0}, false},     // real poles at +-1
        {{1, 0, 0, 1.9, -0.95}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.c.a1 << " " << c.c.a2);
        EXPECT_EQ(StoredBiquadIsStable(QuantiseBiquad(c.c)), c.stable);
    }
}

} // namespace
