// Any text read as a room-measurement filter list gives either seven biquads
// the device can hold or errors that name real lines, never both; the first
// input byte picks the device's sample rate.

#include "EqImportChecks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static constexpr double Rates[] = {32000, 38000, 44100, 48000, 88200, 96000, 176400, 192000};
    const double rate = Rates[data[0] % 8];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const EqImportResult result = ImportFilterList(text, rate);
    CheckImport(result, text);
    for (const ImportedBiquad& b : result.biquads)
        if (b.line > 0) {
            // A designed filter never has a saturated word: that is refused.
            FUZZ_CHECK(!QuantiseCoefficient(b.designed.b0).saturated &&
                       !QuantiseCoefficient(b.designed.a2).saturated);
        }
    return 0;
}
