#pragma once

#include <array>
#include <cstdint>
#include <string>

class TConfigDataUnit;

// The device's bass and treble controls. Each kind has two controls: control
// 1 serves DAP channel 4 (the subwoofer), control 2 DAP channels 1, 2 and 3.
// A filter-set register holds control 1's set (1..5) in byte 0 and control
// 2's in byte 3; a level register holds the level index 0..36 (+18 dB down to
// -18 dB) in the same places. The bytes in between belong to the device and
// are written back as stored. Tone stages are switched in or out of a
// channel's path by an 8-byte bypass/inline coefficient pair. The register
// table is the only store; this class only converts.
class TTone {
public:
    static constexpr int BassFilterSetRegister = 0xDA;
    static constexpr int BassLevelRegister = 0xDB;
    static constexpr int TrebleFilterSetRegister = 0xDC;
    static constexpr int TrebleLevelRegister = 0xDD;
    // Byte 0 and byte 3 of the filter-set and level registers.
    static constexpr int Control1Byte = 0;
    static constexpr int Control2Byte = 3;
    static constexpr int MaxLevel = 36;
    static constexpr int ZeroDbLevel = 18;
    static constexpr int FilterSetCount = 5;

    // Tone active: bypass coefficient 0, inline coefficient 1.0 (5.23).
    static constexpr std::array<uint8_t, 8> OnBytes = {0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00};
    // Tone bypassed: bypass coefficient 1.0, inline coefficient 0.
    static constexpr std::array<uint8_t, 8> OffBytes = {0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

    explicit TTone(TConfigDataUnit& table);

    // Stores both filter sets of a kind: byte 0 = item1 + 1, byte 3 = item2 +
    // 1, where an item of -1 (nothing chosen) stores 0. Nothing is sent.
    void WriteFilterSets(int subAddress, int item1, int item2);
    // Stores the position of the control that moved (1 or 2) in its byte of
    // the level register; the other bytes stay as stored. Nothing is sent.
    void WriteToneLevel(int subAddress, int control, int position1, int position2);
    // What a level label shows for a track bar position: 18 - position dB,
    // shortest form ("18", "5", "0", "-18").
    static std::string ToneLevelLabel(int position);
    // The combo item of a stored filter-set byte: 0 and 1 give item 0, 2..5
    // give items 1..4, anything larger the last item.
    int ReadFilterSet(int subAddress, int byte) const;
    // The track bar position of a stored level byte, at most 36.
    int ReadToneLevel(int subAddress, int byte) const;
    // Stores the ON or OFF coefficient pair. Nothing is sent.
    void WriteToneSwitch(int subAddress, bool on);

private:
    std::array<uint8_t, 4> Word(int subAddress) const;

    TConfigDataUnit& table_;
};
