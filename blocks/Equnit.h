#pragma once

#include "Configdataunit.h"
#include "DataFileCombo.h"
#include "EqResponse.h"

#include <array>
#include <span>
#include <string>

// The equaliser: seven biquads per DAP channel, each one 20-byte register
// holding b0, b1, b2, a1, a2 as 5.23 words, most significant byte first.
// A plain model over the register table: the panel's 20 byte edits reach it
// as texts, so it holds no widget. Besides the table it keeps only the EQ
// file list.
class TEQ {
public:
    static constexpr int ChannelCount = 4;
    static constexpr int BiquadCount = 7;
    static constexpr int BiquadBytes = 20;
    static constexpr int CoefficientCount = 5;
    static constexpr DataFileKind EqFiles{"*.EQ46XX", "No EQ (*.EQ46XX) Files Exist"};

    // The texts of the 20 byte edits in register byte order: row r
    // (b0, b1, b2, a1, a2) and column c (bits 31:24 first) at 4·r + c.
    using BiquadFields = std::array<std::string, BiquadBytes>;

    explicit TEQ(TConfigDataUnit& table) : table_(table) {}

    // The register of biquad `biquad` (0..6) of DAP channel `channel` (0..3).
    // Ch3 and Ch4 do not follow on from Ch2 in the device's map. A channel
    // outside 1..3 falls back to Ch1, a biquad outside 0..6 to BQ1.
    static int BiquadSubAddress(int channel, int biquad);
    // The base number of a channel's keyed records in an EQ file (Q1 of the
    // channel is register base + 0x51), for channel number 1..4; 0 otherwise.
    static int ChannelBase(int channelNumber);
    // The curve a delivered EQ file holds, found by its name anywhere in the
    // path, with the case it is delivered in; "N/A" for any other file.
    static std::string EqName(const std::string& path);

    // The register's bytes as byte-edit texts; bytes the register does not
    // have leave their fields as they are.
    void ShowBiquad(int subAddress, BiquadFields& fields) const;
    // The fields read as bytes (two hex digits each, anything else 0),
    // stored and sent as one write of the whole register.
    void ApplyBiquad(int subAddress, const BiquadFields& fields);
    // The pass-through set: b0 = 1.0, everything else 0.
    static BiquadFields AllPassFields();
    // Row `row` (0 = b0 ... 4 = a2) of the fields, for the 5.23 conversions.
    static std::span<const std::string, 4> Row(const BiquadFields& fields, int row);
    // The stored coefficients of a register as numbers.
    BiquadCoefficients StoredCoefficients(int subAddress) const;

    // The EQ file list of the start directory.
    void ScanEqFiles(const std::string& folder) { eqFiles_.Scan(folder); }
    const TDataFileList& EqFileList() const { return eqFiles_; }

    struct LoadResult {
        std::string eqName;
        FileReport report;
    };
    // Loads an EQ file into channel `channelNumber` (1..4): every record is
    // stored first, then each is sent in file order. `shownPath` is the path
    // as the user named it (it gives the EQ name); `fileToOpen` the file found
    // for it. A record cut short is dropped whole, so no biquad is sent half
    // written.
    LoadResult LoadEqFile(const std::string& shownPath, const std::string& fileToOpen, int channelNumber);

private:
    TConfigDataUnit& table_;
    TDataFileList eqFiles_{EqFiles};
};
