// Decimal texts and fixed-point bytes: any text converts without fault to a
// value inside the format, saturating at its limits, and the shown text of
// any bytes reads back to (nearly) the same count.
//
// The input is used twice: as a decimal text, and its first 8 bytes as
// register bytes.

#include "Conversions.h"
#include "FuzzCheck.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr double Scale = 8388608.0; // 2^23

template <size_t N> int64_t Counts(const std::array<uint8_t, N>& bytes, int bits) {
    uint64_t word = 0;
    for (uint8_t b : bytes)
        word = (word << 8) | b;
    word &= (uint64_t{1} << bits) - 1;
    int64_t counts = static_cast<int64_t>(word);
    if (word >> (bits - 1))
        counts -= int64_t{1} << bits;
    return counts;
}

// Written values carry the sign in every bit above the significant ones.
template <size_t N> bool SignFilled(const std::array<uint8_t, N>& bytes, int bits) {
    uint64_t word = 0;
    for (uint8_t b : bytes)
        word = (word << 8) | b;
    const int64_t value = static_cast<int64_t>(word << (64 - 8 * N)) >> (64 - 8 * N);
    return value >= -(int64_t{1} << (bits - 1)) && value < (int64_t{1} << (bits - 1));
}

bool LooksLikeShownText(const std::string& text) {
    const size_t point = text.find('.');
    if (point == std::string::npos || text.size() != point + 9 || point == 0)
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (i != point && !(text[i] >= '0' && text[i] <= '9') && !(i == 0 && text[i] == '-'))
            return false;
    return true;
}

template <size_t N> void CheckTextConversion(double value, const std::array<uint8_t, N>& bytes, int bits) {
    const int64_t highest = (int64_t{1} << (bits - 1)) - 1;
    const int64_t lowest = -(int64_t{1} << (bits - 1));
    FUZZ_CHECK(SignFilled(bytes, bits));
    const int64_t counts = Counts(bytes, bits);
    const double wanted = value * Scale;
    if (wanted >= static_cast<double>(highest))
        FUZZ_CHECK(counts >= highest - 1);
    else if (wanted <= static_cast<double>(lowest))
        FUZZ_CHECK(counts == lowest);
    else
        FUZZ_CHECK(std::fabs(static_cast<double>(counts) - std::trunc(wanted)) <=
                   1.0 + std::fabs(wanted) * 1e-15);
    // Truncation toward zero never changes the sign.
    FUZZ_CHECK(!(value > 0 && counts < 0) && !(value < 0 && counts > 0));
}

// The shown text is the single-precision value with eight decimals; read
// back it lands within float rounding (and the last shown decimal) of the
// count it came from.
template <size_t N>
void CheckShownText(const std::string& shown, const std::array<uint8_t, N>& bytes, int bits) {
    FUZZ_CHECK(LooksLikeShownText(shown));
    const double exact = static_cast<double>(Counts(bytes, bits)) / Scale;
    const double back = ParseDecimal(shown);
    FUZZ_CHECK(std::fabs(back - exact) <= std::fabs(exact) * 6e-8 + 5.1e-9);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const double value = ParseDecimal(text);
    FUZZ_CHECK(!std::isnan(value));
    CheckTextConversion(value, TextToFixed523(text), 28);
    CheckTextConversion(value, TextToFixed2523(text), 48);

    Fixed2523 raw8{};
    std::memcpy(raw8.data(), data, std::min(size, raw8.size()));
    Fixed523 raw4{};
    std::memcpy(raw4.data(), data, std::min(size, raw4.size()));
    const std::string shown4 = Fixed523ToText(raw4);
    const std::string shown8 = Fixed2523ToText(raw8);
    CheckShownText(shown4, raw4, 28);
    CheckShownText(shown8, raw8, 48);

    // Shown text back into bytes: the same count, give or take the float
    // rounding of the shown value.
    const int64_t before = Counts(raw4, 28);
    const int64_t after = Counts(TextToFixed523(shown4), 28);
    FUZZ_CHECK(std::llabs(after - before) <= 8 + std::llabs(before) / (1 << 23));

    const double db = Fixed523ToDb(raw4);
    FUZZ_CHECK(!std::isnan(db));
    FUZZ_CHECK(db == MinusInfinityDb || (db >= -138.5 && db <= 24.1));
    FUZZ_CHECK((db == MinusInfinityDb) == (ParseDecimal(shown4) == 0.0));

    // Byte edit fields: any text in them reads as a byte, shown as two digits.
    std::array<std::string, 4> fields;
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i] = std::string(text.substr(std::min(size, 2 * i), 2));
    std::string result;
    const Fixed523 edited = ByteEditsToText4(fields, result);
    FUZZ_CHECK((edited[0] & 0xF0) == 0);
    FUZZ_CHECK(result == Fixed523ToText(edited));
    for (size_t i = 1; i < fields.size(); ++i)
        FUZZ_CHECK(ByteEditValue(ByteEditText(edited[i])) == edited[i]);
    return 0;
}
