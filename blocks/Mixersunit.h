#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TConfigDataUnit;

// The input and output mixers. An input mixer (0x41 ... 0x44, one per DAP
// channel) holds eight 5.23 gains, one per serial input. An output mixer
// (0xAA, 0xAB: two rows; 0xB0, 0xB1: three rows) holds one word per row
// whose top nibble selects the DAP channel feeding the row and whose other
// 28 bits are the gain. The model has no data of its own.
class TMixers {
public:
    explicit TMixers(const TConfigDataUnit& table) : table_(table) {}

    // Source selection code of each combo item: DAP Ch1, Ch2, Ch3, Ch4.
    static constexpr uint8_t SourceCodes[4] = {0x0, 0x1, 0x6, 0x7};
    // The combo item of a source code; every unknown code reads as item 0.
    static int SourceItem(uint8_t code);
    // Rows of an output-mixer register: 2 for 0xAA and 0xAB, 3 for 0xB0 and
    // 0xB1, 0 for any other.
    static int OutputRows(int subAddress);

    // The combo item of each row of an output-mixer register, from the top
    // nibble of each row's word in the register table.
    std::vector<int> GetSources(int subAddress) const;

private:
    const TConfigDataUnit& table_;
};
