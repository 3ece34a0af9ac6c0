// Any text read as biquad coefficient text gives either seven biquads or
// errors naming real lines; the biquads written back as coefficient text
// read back to the same register bytes.

#include "Conversions.h"
#include "EqImportChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

std::string Written(const EqImportResult& result) {
    std::string text;
    char line[64];
    for (size_t i = 0; i < result.biquads.size(); ++i) {
        const BiquadCoefficients c = StoredCoefficients(result.biquads[i].bytes);
        text += "biquad" + std::to_string(i + 1) + ",\n";
        const double values[5] = {c.b0, c.b1, c.b2, c.a1, c.a2};
        const char* names[5] = {"b0", "b1", "b2", "a1", "a2"};
        for (int k = 0; k < 5; ++k) {
            std::snprintf(line, sizeof line, "%s=%.17g,\n", names[k], values[k]);
            text += line;
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const EqImportResult result = ImportBiquadCoefficients(text);
    CheckImport(result, text);
    // Coefficients given as numbers are stored as the nearest words.
    for (const ImportedBiquad& b : result.biquads)
        FUZZ_CHECK(b.bytes == QuantiseBiquad(b.designed));
    if (result.Ok()) {
        const std::string again = Written(result);
        const EqImportResult reread = ImportBiquadCoefficients(again);
        FUZZ_CHECK(reread.Ok());
        FUZZ_CHECK(reread.biquads.size() == result.biquads.size());
        for (size_t i = 0; i < result.biquads.size(); ++i)
            FUZZ_CHECK(reread.biquads[i].bytes == result.biquads[i].bytes);
    }
    return 0;
}
