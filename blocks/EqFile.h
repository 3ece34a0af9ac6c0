#pragma once

// Saving one DAP channel's seven biquads as an EQ file ("*.EQ46XX").
//
// The records are keyed, not absolute: "Q1" .. "Q7" stand for BQ1 .. BQ7 of
// whichever channel the file is loaded into (register base + 0x51 .. 0x57
// with the channel's base 0, 7, 42 or 49), so a curve saved from Ch2 loads
// into Ch4 as well. Each record is written as the configuration-file savers
// write theirs: the register's name line (a "!" comment) and then the key,
// a space and each byte as two lower-case hex digits followed by a space.
//     !r_ch1_bq[1]
//     Q1 00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00
// Lines starting with "/" are comments too; the file starts with a few.

#include "Configdataunit.h"

#include <string>
#include <vector>

// The EQ file text of channel `channelNumber` (1..4) as the table holds it.
// `comments` go first, one "/ " line each. Biquads the register map does not
// define are left out.
std::string EqFileText(const TConfigDataUnit& table, int channelNumber,
                       const std::vector<std::string>& comments);

// Writes that text through the safe writer: the file is replaced only once the
// whole text is written, never left half-written. An overwrite question is the
// caller's (the save dialog asks).
SaveOutcome SaveEqFile(const TConfigDataUnit& table, const std::string& fileName, int channelNumber,
                       const std::vector<std::string>& comments);
