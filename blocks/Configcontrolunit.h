#pragma once

#include "TransportUi.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class TConfigDataUnit;

// The coefficient banks. The device keeps its processing coefficients in
// three banks and picks one by hand or by the sample rate. Register 0x40
// (4 bytes) holds the choice:
//   byte 0  not ours: kept as the register table holds it;
//   byte 1  the bank selection code 0..7 (manual bank 1..3, automatic,
//           update bank 1..3, update the rate map only);
//   byte 2  rates assigned to bank 1, one bit per rate;
//   byte 3  rates assigned to bank 2, the same bit positions.
// A rate on bank 3 has its bit clear in both maps. The bits run from 32 kHz
// in bit 7 down to 192 kHz in bit 0.
//
// The panel's radio groups are the only record of the user's choices; this
// class composes the register from them and keeps nothing itself.
class TConfigControl {
public:
    static constexpr int BankRegister = 0x40;
    static constexpr int SelectionCount = 8;
    static constexpr int RateCount = 8;
    static constexpr int BankCount = 3;
    static constexpr int UpdateMapOnly = 7;

    // The bank item (0 = bank 1, 1 = bank 2, 2 = bank 3) of each rate, from
    // 32 kHz to 192 kHz; -1 (nothing selected) reads as bank 3.
    using RateItems = std::array<int, RateCount>;

    explicit TConfigControl(TConfigDataUnit& table);

    // The register as the panel writes it: byte 0 from the table, the
    // selection code (0 for no selection) and the two rate maps.
    std::array<uint8_t, 4> BankControlBytes(int selection, const RateItems& rates) const;
    // Stores BankControlBytes in register 0x40; sends nothing.
    void WriteBankControl(int selection, const RateItems& rates);
    // The table's register 0x40 when it is not what the panel would write
    // (the panel's choices are never read back from it); nothing when they
    // agree or the map has no such 4-byte register.
    std::optional<std::array<uint8_t, 4>> DifferingRegister(int selection, const RateItems& rates) const;

    // The display strip's texts and colour for a bank selection item; no
    // selection (or any other item) reads as manual bank 1.
    static std::string BankModeText(int item);
    static std::string BankNumberText(int item);
    static Rgb BankModeColour(int item);

    static std::string SelectionItemText(int item);
    // "32k" ... "192k", and the stem of the rate's radio group name
    // ("Bank32kRadioGroup").
    static std::string RateCaption(int rate);
    static std::string RateGroupName(int rate);

    static constexpr Rgb Aqua{0, 255, 255};

private:
    TConfigDataUnit& table_;
};
