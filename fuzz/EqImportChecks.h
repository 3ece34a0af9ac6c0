#pragma once

// What every import result must satisfy, whatever text it came from.

#include "EqImport.h"
#include "FuzzCheck.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

inline int CountLines(std::string_view text) {
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// "line N: ..." with N a line of the text.
inline bool NamesALine(const std::string& message, int lines) {
    if (message.rfind("line ", 0) != 0)
        return false;
    size_t end = 5;
    int n = 0;
    while (end < message.size() && message[end] >= '0' && message[end] <= '9' && n <= lines)
        n = n * 10 + (message[end++] - '0');
    return end > 5 && message.compare(end, 2, ": ") == 0 && n >= 1 && n <= lines;
}

inline void CheckImport(const EqImportResult& result, std::string_view text) {
    const int lines = CountLines(text);
    FUZZ_CHECK(result.errors.size() <= static_cast<size_t>(MaxImportErrors) + 1);
    for (size_t i = 0; i < result.errors.size(); ++i)
        FUZZ_CHECK(NamesALine(result.errors[i], lines) ||
                   (i == static_cast<size_t>(MaxImportErrors) &&
                    result.errors[i].ends_with(" more errors not listed")));
    for (const std::string& warning : result.warnings)
        FUZZ_CHECK(NamesALine(warning, lines));
    if (!result.Ok()) {
        FUZZ_CHECK(result.biquads.empty());
        return;
    }
    FUZZ_CHECK(result.biquads.size() == static_cast<size_t>(BiquadsPerChannel));
    FUZZ_CHECK(result.filterCount >= 0 && result.filterCount <= BiquadsPerChannel);
    for (size_t i = 0; i < result.biquads.size(); ++i) {
        const ImportedBiquad& b = result.biquads[i];
        const bool filled = static_cast<int>(i) >= result.filterCount;
        FUZZ_CHECK(filled == (b.line == 0));
        FUZZ_CHECK(b.line >= 0 && b.line <= lines);
        if (filled)
            FUZZ_CHECK(b.bytes == AllPassBytes());
        // The top nibble of every word copies the sign bit.
        for (size_t w = 0; w < 5; ++w) {
            const uint8_t top = b.bytes[4 * w];
            FUZZ_CHECK((top >> 4) == ((top & 0x08) ? 0xF : 0x0));
        }
        // The nearest words, but for a low or high pass whose b1 follows b0:
        // within one count either way.
        const BiquadCoefficients stored = StoredCoefficients(b.bytes);
        const double half = 1.0 / 8388608.0;
        FUZZ_CHECK(
            std::fabs(stored.b0 - b.designed.b0) <= half && std::fabs(stored.b1 - b.designed.b1) <= half &&
            std::fabs(stored.b2 - b.designed.b2) <= half && std::fabs(stored.a1 - b.designed.a1) <= half &&
            std::fabs(stored.a2 - b.designed.a2) <= half);
    }
}
