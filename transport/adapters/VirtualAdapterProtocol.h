#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The line protocol between the adapter layer and the simulator program (or
// anything else that stands in for an adapter on the Unix socket): one
// request line, one reply line, fields separated by one space, sub-addresses
// and bytes as two hexadecimal digits, counts and statuses in decimal.
namespace VirtualAdapter {

// Longest request line a server takes; a longer one is refused and the
// connection dropped, so nobody can make it buffer without end.
inline constexpr std::size_t MaxRequestLength = 4096;
// Longest reply line a client takes (a register dump is the longest reply).
inline constexpr std::size_t MaxReplyLength = 64 * 1024;
// Most bytes one WRITE or READ moves; keeps both lines well within the limits.
inline constexpr int MaxTransferBytes = 1024;

// The fields of a line. Empty fields are kept, so a doubled or trailing
// space shows up as an empty field that no parser accepts.
std::vector<std::string_view> SplitFields(std::string_view line);

// Exactly two hexadecimal digits, either case.
std::optional<uint8_t> ParseHexByte(std::string_view field);
// Decimal digits only, at most `largest`.
std::optional<int> ParseDecimal(std::string_view field, int largest);

std::string HexByte(uint8_t value);
std::string WriteRequest(uint8_t address7, uint8_t subAddress, std::span<const uint8_t> bytes);
std::string ReadRequest(uint8_t address7, uint8_t subAddress, int count);

} // namespace VirtualAdapter
