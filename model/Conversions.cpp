#include "Conversions.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

constexpr long double FractionScale = 8388608.0L; // 2^23

locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The longest prefix of `text` (after white space) that is a plain decimal
// number, or an empty view when there is none.
std::string_view DecimalPrefix(std::string_view text) {
    size_t p = 0;
    while (p < text.size() && IsSpace(text[p]))
        ++p;
    const size_t start = p;
    if (p < text.size() && (text[p] == '+' || text[p] == '-'))
        ++p;
    size_t digits = 0;
    while (p < text.size() && IsDigit(text[p]))
        ++p, ++digits;
    if (p < text.size() && text[p] == '.') {
        ++p;
        while (p < text.size() && IsDigit(text[p]))
            ++p, ++digits;
    }
    if (digits == 0)
        return {};
    if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
        size_t q = p + 1;
        if (q < text.size() && (text[q] == '+' || text[q] == '-'))
            ++q;
        if (q < text.size() && IsDigit(text[q])) {
            while (q < text.size() && IsDigit(text[q]))
                ++q;
            p = q;
        }
    }
    return text.substr(start, p - start);
}

long double ParseLongDecimal(std::string_view text) {
    const std::string number(DecimalPrefix(text));
    if (number.empty())
        return 0.0L;
    return strtold_l(number.c_str(), nullptr, CLocale());
}

// Scales a decimal text to counts of 2^-23, saturating at the format's
// limits and truncating toward zero.
int64_t TextToCounts(std::string_view text, int64_t lowest, int64_t highest) {
    const long double product = ParseLongDecimal(text) * FractionScale;
    if (product > static_cast<long double>(highest))
        return highest;
    if (product < static_cast<long double>(lowest))
        return lowest;
    return static_cast<int64_t>(product);
}

template <size_t N> std::array<uint8_t, N> CountsToBytes(int64_t counts) {
    std::array<uint8_t, N> bytes{};
    const uint64_t word = static_cast<uint64_t>(counts);
    for (size_t i = 0; i < N; ++i)
        bytes[i] = static_cast<uint8_t>(word >> (8 * (N - 1 - i)));
    return bytes;
}

// Reads the significant bits (all bytes less `skippedNibbles` leading
// nibbles) as a two's-complement count and shows it as "%2.8f" of its
// single-precision value.
std::string FixedToText(std::span<const uint8_t> bytes, int skippedNibbles) {
    uint64_t h = 0;
    for (uint8_t b : bytes)
        h = (h << 8) | b;
    const int bits = static_cast<int>(bytes.size()) * 8 - 4 * skippedNibbles;
    h &= (uint64_t{1} << bits) - 1;
    int64_t counts = static_cast<int64_t>(h);
    if (h > (uint64_t{1} << (bits - 1)) - 1)
        counts -= int64_t{1} << bits;
    const float value = static_cast<float>(static_cast<double>(counts) / 8388608.0);
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, static_cast<double>(value), std::chars_format::fixed, 8);
    return std::string(text, end.ptr);
}

template <size_t N> std::array<uint8_t, N> ReadByteEdits(std::span<const std::string, N> fields) {
    std::array<uint8_t, N> bytes{};
    for (size_t i = 0; i < N; ++i)
        bytes[i] = ByteEditValue(fields[i]);
    bytes[0] &= 0x0F;
    return bytes;
}

template <size_t N>
void WriteByteEdits(const std::array<uint8_t, N>& bytes, std::span<std::string, N> fields) {
    for (size_t i = 0; i < N; ++i)
        fields[i] = ByteEditText(bytes[i]);
}

} // namespace

uint8_t HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<uint8_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<uint8_t>(c - 'a' + 10);
    return 0;
}

double ParseDecimal(std::string_view text) {
    return static_cast<double>(ParseLongDecimal(text));
}

std::optional<double> ParseWholeDecimal(std::string_view text) {
    const std::string_view number = DecimalPrefix(text);
    if (number.empty())
        return std::nullopt;
    const size_t rest = static_cast<size_t>(number.data() - text.data()) + number.size();
    for (size_t p = rest; p < text.size(); ++p)
        if (!IsSpace(text[p]))
            return std::nullopt;
    return static_cast<double>(ParseLongDecimal(number));
}

std::string FormatShortest(double value) {
    if (value == 0.0)
        value = 0.0; // never "-0"
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end.ptr);
}

Fixed523 TextToFixed523(std::string_view text) {
    return CountsToBytes<4>(TextToCounts(text, -(int64_t{1} << 27), (int64_t{1} << 27) - 1));
}

Fixed2523 TextToFixed2523(std::string_view text) {
    return CountsToBytes<8>(TextToCounts(text, -(int64_t{1} << 47), (int64_t{1} << 47) - 1));
}

std::string Fixed523ToText(std::span<const uint8_t, 4> bytes) {
    return FixedToText(bytes, 1);
}

std::string Fixed2523ToText(std::span<const uint8_t, 8> bytes) {
    return FixedToText(bytes, 4);
}

double Fixed523ToDb(std::span<const uint8_t, 4> bytes) {
    const double x = std::fabs(ParseDecimal(Fixed523ToText(bytes)));
    return x == 0.0 ? MinusInfinityDb : 20.0 * std::log10(x);
}

uint8_t ByteEditValue(std::string_view field) {
    const uint8_t high = field.size() >= 1 ? HexDigitValue(field[0]) : 0;
    const uint8_t low = field.size() >= 2 ? HexDigitValue(field[1]) : 0;
    return static_cast<uint8_t>(high * 16 + low);
}

std::string ByteEditText(uint8_t value) {
    static constexpr char digits[] = "0123456789abcdef";
    return {digits[value >> 4], digits[value & 0x0F]};
}

Fixed523 TextToByteEdits4(std::string_view text, std::span<std::string, 4> fields) {
    const Fixed523 bytes = TextToFixed523(text);
    WriteByteEdits<4>(bytes, fields);
    return bytes;
}

Fixed523 ByteEditsToText4(std::span<const std::string, 4> fields, std::string& result) {
    const Fixed523 bytes = ReadByteEdits<4>(fields);
    result = Fixed523ToText(bytes);
    return bytes;
}

Fixed2523 TextToByteEdits8(std::string_view text, std::span<std::string, 8> fields) {
    const Fixed2523 bytes = TextToFixed2523(text);
    WriteByteEdits<8>(bytes, fields);
    return bytes;
}

Fixed2523 ByteEditsToText8(std::span<const std::string, 8> fields, std::string& result) {
    const Fixed2523 bytes = ReadByteEdits<8>(fields);
    result = Fixed2523ToText(bytes);
    return bytes;
}
