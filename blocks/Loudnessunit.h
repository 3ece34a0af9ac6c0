#pragma once

#include "DataFileCombo.h"

#include <cstdint>
#include <span>
#include <vector>

class TConfigDataUnit;

// The device's loudness compensation, shared by all DAP channels: four
// parameters, LG (log2 gain) and G (gain) as 4-byte 5.23 words, LO (log2
// offset) and O (offset) as 8-byte 25.23 words, and a loudness filter that
// comes from loudness files (*.LD46xx) beside the program. G above zero turns
// loudness on; G and O both zero turn it off. The register table is the only
// store of the parameters; this class moves their bytes and keeps the list
// of loudness files.
class TLoudness {
public:
    static constexpr int LGRegister = 0x91;
    static constexpr int LORegister = 0x92;
    static constexpr int GRegister = 0x93;
    static constexpr int ORegister = 0x94;
    static constexpr DataFileKind Files{"*.LD46xx", "No Loudness (*.LD46xx) Files Exist"};

    explicit TLoudness(TConfigDataUnit& table);

    // The register's bytes for its byte edits (4 or 8 of them).
    std::vector<uint8_t> ShowLoudness4(int subAddress) const;
    std::vector<uint8_t> ShowLoudness8(int subAddress) const;
    // Stores the bytes read from the edits; nothing is sent.
    void StoreLoudness4(int subAddress, std::span<const uint8_t, 4> bytes);
    void StoreLoudness8(int subAddress, std::span<const uint8_t, 8> bytes);

    void ScanLoudnessFiles(const std::string& folder) { fileList_.Scan(folder); }
    const TDataFileList& FileList() const { return fileList_; }

private:
    std::vector<uint8_t> Bytes(int subAddress, size_t count) const;

    TConfigDataUnit& table_;
    TDataFileList fileList_{Files};
};
