#pragma once

// Reading filter sets that engineers already have into one channel's seven
// biquads. Two text forms are understood:
//
// Filter list, as room-measurement programs export it, one filter per line:
//     Filter  1: ON  PK       Fc   63.0 Hz  Gain  -4.5 dB  Q  2.50
// A line is a filter line when its first word is "Filter" and the next word
// is a number (a colon after it is optional); every other line (titles,
// notes, dates, blank lines, a "Filter Settings file" heading) is skipped.
// A filter line must read completely, or it is an error naming its line:
//   - "ON" or "OFF"; OFF lines and the type "None" give no filter;
//   - the type: PK (peaking), LS and HS (shelves, also LSC, HSC, "LS 12dB",
//     and the first-order "LS 6dB", "HS 6dB"), LP and HP (also LPQ, HPQ;
//     LP1 and HP1 first order), BP (band pass), NO (notch), AP (all-pass);
//   - "Fc <Hz> [Hz]" always; "Gain <dB> [dB]" for PK, LS and HS (other
//     types accept only a gain of 0); "Q <q>" or "BW Oct <octaves>" for the
//     width: PK, BP, NO and AP need one, shelves, LP and HP default to
//     Q 0.7071 (Butterworth).
// Each filter is designed for the device's current sample rate.
//
// Coefficient text, five coefficients per biquad:
//     biquad1,
//     b0=1.0001,  b1=...,  b2=...,  a1=...,  a2=...    (one per line)
// with a1 and a2 already in the device's sign convention. The commas at line
// ends are optional; blank lines and lines starting with "#", ";" or "//"
// are skipped; every other line is an error. Biquads are taken in file order
// whatever their numbers; each needs all five coefficients once.
//
// At most seven filters fit a channel: they become BQ1, BQ2, ... in file
// order and the rest are all-pass. A text with any error gives no biquads at
// all, so nothing half-read can reach the device.

#include "EqDesign.h"

#include <string>
#include <string_view>
#include <vector>

inline constexpr int BiquadsPerChannel = 7;

struct ImportedBiquad {
    int line = 0;                  // where the filter starts; 0 for the all-pass fill
    std::string description;       // "PK 63 Hz -4.5 dB Q 2.5", "biquad1", "all-pass"
    BiquadCoefficients designed{}; // exact values before storing
    BiquadWords bytes{};           // as the device stores them
};

struct EqImportResult {
    // Each names its line: "line 4: Q must be above 0". At most
    // MaxImportErrors are listed, then one line says how many more there were.
    std::vector<std::string> errors;
    // Things to know before writing, naming their lines (a filter that is
    // unstable once stored). They do not stop the import.
    std::vector<std::string> warnings;
    // Exactly seven when there are no errors (BQ1..BQ7), empty otherwise.
    std::vector<ImportedBiquad> biquads;
    int filterCount = 0; // active filters read, before the all-pass fill

    bool Ok() const { return errors.empty(); }
};

inline constexpr int MaxImportErrors = 50;

EqImportResult ImportFilterList(std::string_view text, double sampleRate);
EqImportResult ImportBiquadCoefficients(std::string_view text);
// Either form, told apart by the text: a line starting with "biquad" or with
// "b0=" makes it coefficient text, anything else a filter list.
EqImportResult ImportEqText(std::string_view text, double sampleRate);
