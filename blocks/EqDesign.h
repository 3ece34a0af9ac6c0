#pragma once

// Filter design for the equaliser's biquads: from what an engineer thinks in
// (a peaking filter at 1 kHz, +6 dB, Q 1.4) to the 20 register bytes the
// device holds, with a report of what fixed-point storage does to the filter.
//
// The coefficients follow the well-known audio-EQ-cookbook formulas (bilinear
// transform of the analog prototypes with the centre frequency prewarped);
// the first-order shapes are the one-pole bilinear prototypes. Results are
// normalised so the denominator starts with 1 and are given in the device's
// sign convention: the device computes
//     y[n] = b0 x[n] + b1 x[n-1] + b2 x[n-2] + a1 y[n-1] + a2 y[n-2],
// so its a1 and a2 are the cookbook's a1/a0 and a2/a0 with the sign inverted.
//
// Plain C++: no Qt, so the build-time generator of the delivered EQ files and
// the tests use exactly what the designer window uses.

#include "EqResponse.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class FilterType { Peaking, LowShelf, HighShelf, LowPass, HighPass, BandPass, Notch, AllPass };

// How the width of a second-order filter is given: as Q, or as a bandwidth
// in octaves (between the -3 dB points of band pass and notch, between the
// half-gain points of a peaking filter).
enum class WidthKind { Q, Bandwidth };

struct FilterSpec {
    FilterType type = FilterType::Peaking;
    int order = 2;           // 1 only for LowPass, HighPass, the shelves and AllPass
    double frequency = 1000; // Hz: centre, corner or shelf mid-point
    double gainDb = 0;       // peaking and shelves only
    double width = 0.7071;   // second order only
    WidthKind widthKind = WidthKind::Q;
};

// Every type in the order the designer lists them, with its caption.
inline constexpr std::array<FilterType, 8> AllFilterTypes = {
    FilterType::Peaking,  FilterType::LowShelf, FilterType::HighShelf, FilterType::LowPass,
    FilterType::HighPass, FilterType::BandPass, FilterType::Notch,     FilterType::AllPass};
std::string_view FilterTypeName(FilterType type);
bool HasGain(FilterType type);
bool HasFirstOrder(FilterType type);

// The coefficients of a spec in the device's sign convention, unchecked and
// unquantised (NaN or infinity for nonsense input; CheckFilterSpec first).
BiquadCoefficients DesignCoefficients(const FilterSpec& spec, double sampleRate);

// Why the device cannot hold this filter at this sample rate, or nothing.
// Covers the entries themselves (frequency at or above half the sample rate,
// Q or bandwidth not above 0, a gain that is not a number); coefficients
// beyond the 5.23 range are found by DesignFilter.
std::optional<std::string> CheckFilterSpec(const FilterSpec& spec, double sampleRate);

// --- the device's 5.23 coefficient words ---

inline constexpr int BiquadWordBytes = 20;
using BiquadWords = std::array<uint8_t, BiquadWordBytes>;

// One coefficient rounded to the nearest 5.23 count (2^-23). Values beyond
// -16 .. 16 - 2^-23 saturate at the limit and say so.
struct QuantisedWord {
    std::array<uint8_t, 4> bytes{};
    bool saturated = false;
};
QuantisedWord QuantiseCoefficient(double value);

// b0, b1, b2, a1, a2 as the device stores them: five 5.23 words, most
// significant byte first, the unused top nibble a copy of the sign.
BiquadWords QuantiseBiquad(const BiquadCoefficients& c);
// The exact values of the stored words (top nibble ignored, as the device reads them).
BiquadCoefficients StoredCoefficients(const BiquadWords& bytes);
// Whether a stored biquad is stable, decided exactly on the integer counts:
// both poles strictly inside the unit circle (|A2| < 1 and |A1| < 1 + A2 with
// A1 = -a1, A2 = -a2). A pole on the circle counts as unstable.
bool StoredBiquadIsStable(const BiquadWords& bytes);

// What storing a designed filter in 5.23 does to it.
struct QuantisationReport {
    double maxDeviationDb = 0; // largest |designed - stored| magnitude over the grid
    double worstFrequency = 0; // Hz where that deviation is
    bool designedStable = true;
    bool storedStable = true;
    std::vector<std::string> saturated; // names of coefficients clipped at the 5.23 limits
};

// Magnitudes below this floor are taken as the floor when deviations are
// measured, so the exact zero of a notch does not count as an infinite error.
inline constexpr double DeviationFloorDb = -120.0;

// The deviation is measured over the whole 1 Hz grid, which is most of the
// work; without `measureDeviation` only saturation and stability are told.
QuantisationReport ReportQuantisation(const BiquadCoefficients& designed, const BiquadWords& stored,
                                      double sampleRate, bool measureDeviation = true);

struct FilterDesign {
    std::string error;             // empty when the device can hold the filter
    BiquadCoefficients designed{}; // exact, device signs
    BiquadWords bytes{};           // as the device stores them
    QuantisationReport report;
    // Warnings a user must see before applying (unstable when stored).
    std::vector<std::string> warnings;
};

// Checks, designs, quantises and reports. The words are the nearest ones,
// except that a second-order low or high pass keeps b1 = +-2 b0 exactly, so
// its zeros stay where they belong. A filter with an error must not be
// written: `bytes` is then all-pass.
// An importer, which shows no deviation, leaves `measureDeviation` off.
FilterDesign DesignFilter(const FilterSpec& spec, double sampleRate, bool measureDeviation = true);

// The all-pass (pass-through) set: b0 = 1.0, everything else 0.
BiquadWords AllPassBytes();
