#include "EqResponse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A mixed cascade: a peak, a shelf-like section, a steep low pass near Fs/2,
// a notch that reaches a deep null, and the pass-through.
const std::vector<BiquadCoefficients> Cascade = {
    {1.0203, -1.9551, 0.9375, 1.9551, -0.9578},
    {0.9, -1.7, 0.81, 1.75, -0.77},
    {0.6389, 1.2779, 0.6389, -1.1430, -0.4128},
    {0.9984, -1.9966, 0.9984, 1.9966, -0.9969},
    {1.0, 0.0, 0.0, 0.0, 0.0},
    {0.25, 0.5, 0.25, 0.0, 0.0},
    {1.2, -0.3, 0.1, 0.2, -0.1},
};

TEST(EqResponseTest, GridHasAPointAtEveryWholeHertzUpToHalfTheRate) {
    const struct {
        int rate;
        int points;
    } cases[] = {{32000, 16000}, {38000, 19000}, {44100, 22050},  {48000, 24000},
                 {88200, 44100}, {96000, 48000}, {176400, 88200}, {192000, 96000}};
    for (const auto& c : cases) {
        const FrequencyGrid grid(c.rate);
        ASSERT_EQ(grid.Size(), c.points) << c.rate;
        EXPECT_EQ(grid.Frequencies().front(), 1.0);
        EXPECT_EQ(grid.Frequencies().back(), static_cast<double>(c.points));
    }
}

// The one-pass cascade is the plain formula, biquad by biquad, multiplied.
TEST(EqResponseTest, FastCascadeMatchesThePlainFormulaWithinANanoDecibel) {
    for (int rate : {44100, 48000, 192000}) {
        const FrequencyGrid grid(rate);
        std::vector<double> fast, phase;
        CascadeResponse(grid, Cascade, fast, &phase);
        ASSERT_EQ(fast.size(), static_cast<size_t>(grid.Size()));
        double worst = 0.0, worstPhase = 0.0;
        for (int k = 1; k <= grid.Size(); ++k) {
            std::complex<double> product = BiquadResponse(Cascade[0], k, rate);
            for (size_t i = 1; i < Cascade.size(); ++i)
                product *= BiquadResponse(Cascade[i], k, rate);
            const auto at = static_cast<size_t>(k - 1);
            worst = std::max(worst, std::abs(fast[at] - MagnitudeDb(product)));
            double dPhase = std::abs(phase[at] - std::arg(product) * 180.0 / M_PI);
            worstPhase = std::max(worstPhase, std::min(dPhase, 360.0 - dPhase));
        }
        EXPECT_LT(worst, 1e-9) << rate;
        EXPECT_LT(worstPhase, 1e-7) << rate;
    }
}

TEST(EqResponseTest, PassThroughIsFlatAtZeroDecibels) {
    const FrequencyGrid grid(48000);
    std::vector<double> dB;
    const BiquadCoefficients passThrough;
    CascadeResponse(grid, {&passThrough, 1}, dB);
    for (double value : dB)
        ASSERT_EQ(value, 0.0);
    CascadeResponse(grid, {}, dB);
    EXPECT_EQ(dB.size(), 24000u);
    EXPECT_EQ(dB.back(), 0.0);
}

// A biquad with no numerator passes nothing: minus infinity, not a number,
// in the cascade as in the reference.
TEST(EqResponseTest, ExactNullIsMinusInfinity) {
    const FrequencyGrid grid(48000);
    const BiquadCoefficients silent{0.0, 0.0, 0.0, 0.5, 0.0};
    const BiquadCoefficients cascade[] = {Cascade[0], silent};
    std::vector<double> dB;
    CascadeResponse(grid, cascade, dB);
    EXPECT_TRUE(std::all_of(dB.begin(), dB.end(), [](double v) { return std::isinf(v) && v < 0; }));
    EXPECT_EQ(MagnitudeDb(BiquadResponse(silent, 1000, 48000)), dB[999]);
}

TEST(EqResponseTest, PolesOnOrOutsideTheUnitCircleAreUnstable) {
    const struct {
        BiquadCoefficients c;
        bool stable;
    } cases[] = {
        {{1, 0, 0, 0, 0}, true},       {{1, 0, 0, 0, -1.0}, false},   // A2 = 1: both poles on the circle
        {{1, 0, 0, 0, -0.999}, true},  {{1, 0, 0, 2.0, -1.0}, false}, // double pole at z = 1
        {{1, 0, 0, 1.9, -0.95}, true},                                // complex pair inside
        {{1, 0, 0, 1.5, 0.6}, false},                                 // a real pole beyond 1
        {{1, 0, 0, NAN, 0}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsStableBiquad(c.c), c.stable) << c.c.a1 << " " << c.c.a2;
}

} // namespace
