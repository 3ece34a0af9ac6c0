#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The device's two's-complement fixed-point formats, both with 23 fraction
// bits: 5.23 in 4 bytes (28 significant bits) and 25.23 in 8 bytes (48
// significant bits), most significant byte first. Values are written with the
// unused top bits as copies of the sign and read with those bits ignored.
//
// Every decimal text here uses "." as the separator, whatever the locale.

using Fixed523 = std::array<uint8_t, 4>;
using Fixed2523 = std::array<uint8_t, 8>;

// Returned by Fixed523ToDb for a zero gain, shown as "Negative Infinity".
inline constexpr double MinusInfinityDb = 67108864.0;

// 0..15 for 0-9, A-F and a-f; 0 for any other character.
uint8_t HexDigitValue(char c);
// Whether the character is one of 0-9, A-F and a-f, for readers that refuse
// anything else rather than count it as 0.
constexpr bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// A decimal number at the start of the text (after white space): optional
// sign, digits with an optional ".", optional exponent. Anything else,
// "nan", "inf" and hexadecimal floats included, is not a number and gives 0;
// magnitudes beyond the double range give +-HUGE_VAL.
double ParseDecimal(std::string_view text);

// The number a whole text stands for: white space around it allowed, nothing
// else; "0.5", " -1e3 ", "2." and ".5" are numbers, "", "-", "1x" are not.
std::optional<double> ParseWholeDecimal(std::string_view text);

// Shortest text that reads back as the same number ("18", "17.75", "-0.25").
std::string FormatShortest(double value);

Fixed523 TextToFixed523(std::string_view text);
Fixed2523 TextToFixed2523(std::string_view text);
std::string Fixed523ToText(std::span<const uint8_t, 4> bytes);
std::string Fixed2523ToText(std::span<const uint8_t, 8> bytes);

// Decibels of a 5.23 gain; the sign of the gain does not count.
double Fixed523ToDb(std::span<const uint8_t, 4> bytes);

// A byte edit field holds one byte as two hex digits: the first two
// characters are read, a single digit is the high nibble, anything that is not
// a hex digit counts as 0. Bytes are shown as two lower-case digits.
uint8_t ByteEditValue(std::string_view field);
std::string ByteEditText(uint8_t value);

// Fill byte edit fields from a decimal text, and read them back into a
// decimal text; both return the register bytes.
Fixed523 TextToByteEdits4(std::string_view text, std::span<std::string, 4> fields);
Fixed523 ByteEditsToText4(std::span<const std::string, 4> fields, std::string& result);
Fixed2523 TextToByteEdits8(std::string_view text, std::span<std::string, 8> fields);
Fixed2523 ByteEditsToText8(std::span<const std::string, 8> fields, std::string& result);
