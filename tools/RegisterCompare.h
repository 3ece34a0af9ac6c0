#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class TConfigDataUnit;

// Comparing register images register by register: two configuration files,
// a file and the register table (what the tool believes the device holds),
// or either of them and the device itself, read back now. No windows here:
// the register compare window and the device check of the configuration
// compare window show what this finds.

// One side of a compare: the registers it holds, by sub-address, and what
// went wrong while it was read.
struct RegisterImage {
    std::string title; // "A: 48k.cfg", "Register table", "Device"
    std::map<int, std::vector<uint8_t>> registers;
    std::vector<std::string> problems;
    // Holds every register of the map (the table, a device read back). A
    // file need not: a register only the complete side holds is not a
    // difference, whereas one that only one of two files holds is.
    bool complete = false;
};

// The records of a configuration file, sized by the table's map, as far as
// the file reads; a record read twice keeps its last bytes, as loading it
// would. An unreadable file gives no registers and says so.
RegisterImage FileImage(const TConfigDataUnit& table, const std::string& fileName, const std::string& title);
// Every register the map defines, as the table holds it.
RegisterImage TableImage(const TConfigDataUnit& table);
// Every register the map defines, read from the device now without touching
// the table; reading stops at the first failed transfer, the rest missing.
RegisterImage DeviceImage(TConfigDataUnit& table);
// Only the given registers, read from the device (the device check).
RegisterImage DeviceImage(TConfigDataUnit& table, const std::vector<int>& subAddresses);

// One register in both images.
struct RegisterRow {
    int subAddress = 0;
    std::string name; // from the map, without its leading "!"
    bool inLeft = false, inRight = false;
    std::vector<uint8_t> left, right;
    // Per byte position (the longer side's count): the bytes differ or one
    // side has none there.
    std::vector<bool> byteDiffers;
    bool differs = false;
    // The decoded value where the register's format is known, else empty.
    std::string leftValue, rightValue;
};

struct RegisterComparison {
    std::vector<RegisterRow> rows; // every register either side holds, by sub-address
    int differences = 0;
};

RegisterComparison CompareImages(const TConfigDataUnit& table, const RegisterImage& left,
                                 const RegisterImage& right);

// The value a register's bytes stand for where the tool knows the format:
// volume steps in dB ("-2 dB", "MUTE"), biquad coefficient sets as decimals
// ("b0 1 b1 0 b2 0 a1 0 a2 0") and 5.23 gain words in dB ("0 dB, -inf dB").
// Empty for every other register.
std::string DecodeRegister(int subAddress, const std::vector<uint8_t>& bytes);

// "00 80 00 00": a register's bytes as the tool writes them.
std::string BytesText(const std::vector<uint8_t>& bytes);
// "0x41 r_A_to_ipmix[1]": how a register is named in lists.
std::string RegisterLabel(const RegisterRow& row);
// One line per differing register, for the clipboard and the device check:
// "0xd1 r_ch1_vol  A: 00 00 00 48 (0 dB)  B: 00 00 00 50 (-2 dB)".
std::string DifferenceLine(const RegisterRow& row, const std::string& leftName, const std::string& rightName);
// The heading and a line per difference.
std::string DifferencesText(const RegisterComparison& comparison, const RegisterImage& left,
                            const RegisterImage& right);
