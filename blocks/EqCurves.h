#pragma once

// The equaliser curves delivered beside the program as EQ files, one file
// per curve and sample rate ("JAZZ48.EQ46XX"). Each curve is a short list of
// filters; the files hold what the designer makes of them at each rate, so a
// curve sounds the same whatever rate the device runs at.

#include "EqDesign.h"

#include <array>
#include <string>
#include <vector>

struct DeliveredCurve {
    const char* filePrefix;          // "COUNTRY"
    const char* eqName;              // the name LOAD shows: "Country"
    const char* description;         // what the curve does, for the document
    std::vector<FilterSpec> filters; // BQ1, BQ2, ...; the rest are all-pass
};

struct DeliveredRate {
    int sampleRate;     // 44100
    const char* suffix; // "44"
};

inline constexpr std::array<DeliveredRate, 5> DeliveredRates = {
    {{32000, "32"}, {44100, "44"}, {48000, "48"}, {96000, "96"}, {192000, "192"}}};

const std::vector<DeliveredCurve>& DeliveredCurves();

// "COUNTRY44.EQ46XX"
std::string DeliveredFileName(const DeliveredCurve& curve, const DeliveredRate& rate);

// The seven biquads of a curve at a rate, as the device stores them. Every
// delivered filter designs without error and is stable once stored (the tests
// hold the table to that).
std::array<BiquadWords, 7> DeliveredBiquads(const DeliveredCurve& curve, int sampleRate);
