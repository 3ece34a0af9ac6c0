#include "VirtualAdapterProtocol.h"

#include "Conversions.h"

#include <charconv>

namespace VirtualAdapter {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t space = line.find(' ', start);
        fields.push_back(line.substr(start, space - start));
        if (space == std::string_view::npos)
            return fields;
        start = space + 1;
    }
}

std::optional<uint8_t> ParseHexByte(std::string_view field) {
    if (field.size() != 2)
        return std::nullopt;
    if (!IsHexDigit(field[0]) || !IsHexDigit(field[1]))
        return std::nullopt;
    return static_cast<uint8_t>(HexDigitValue(field[0]) * 16 + HexDigitValue(field[1]));
}

std::optional<int> ParseDecimal(std::string_view field, int largest) {
    if (field.empty() || field.size() > 10)
        return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || field[0] == '-' || field[0] == '+' ||
        value > largest)
        return std::nullopt;
    return static_cast<int>(value);
}

std::string HexByte(uint8_t value) {
    constexpr char digits[] = "0123456789abcdef";
    return {digits[value >> 4], digits[value & 0x0F]};
}

std::string WriteRequest(uint8_t address7, uint8_t subAddress, std::span<const uint8_t> bytes) {
    std::string line =
        "WRITE " + HexByte(address7) + ' ' + HexByte(subAddress) + ' ' + std::to_string(bytes.size());
    line.reserve(line.size() + 3 * bytes.size());
    for (uint8_t b : bytes) {
        line += ' ';
        line += HexByte(b);
    }
    return line;
}

std::string ReadRequest(uint8_t address7, uint8_t subAddress, int count) {
    return "READ " + HexByte(address7) + ' ' + HexByte(subAddress) + ' ' + std::to_string(count);
}

} // namespace VirtualAdapter
