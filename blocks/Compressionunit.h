#pragma once

#include "DataFileCombo.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class TConfigDataUnit;

// The device's two dynamic range compressors: DRC1 (DAP channels 1,2,3, or 1
// and 2 at the high rates) and DRC2 (channel 4). Each has an energy filter
// (alpha E and 1 - alpha E, register 0x98 / 0x9D), an attack and a decay
// filter (alpha A, 1 - alpha A, alpha D, 1 - alpha D, register 0x9C / 0xA1),
// all 5.23 words, and three parameter registers (T, K, O) in between that
// come from DRC parameter files (*.DRC46xx). DRC2's registers are DRC1's plus
// 5. A control register pair (0x96, 0x97) and the channel registers 0xA2 ..
// 0xA9 place compression before or after the volume stage, or nowhere.
//
// The register table is the only store; this class converts and keeps the
// list of parameter files.
class TCompression {
public:
    static constexpr int Drc1ControlRegister = 0x96;
    static constexpr int Drc2ControlRegister = 0x97;
    static constexpr int Drc1EnergyRegister = 0x98;
    static constexpr int Drc2EnergyRegister = 0x9D;
    // From the energy register: parameters T, K, O at +1..+3, attack and
    // decay at +4.
    static constexpr int AttackDecayOffset = 4;
    static constexpr int Drc2Offset = Drc2EnergyRegister - Drc1EnergyRegister;
    static constexpr int FirstChannelRegister = 0xA2;
    static constexpr int LastChannelRegister = 0xA9;
    static constexpr int SoftMuteRegister = 0x0F;
    static constexpr DataFileKind Files{"*.DRC46xx", "No DRC (*.DRC46xx) Files Exist"};

    enum Mode { NoDrc = 0, PreVolume = 1, PostVolume = 2 };

    explicit TCompression(TConfigDataUnit& table);

    // 1 only when both control registers hold the pre-volume word, 2 only
    // when both hold the post-volume word, otherwise 0.
    int GetControlMode() const;
    // Stores and sends 0x96, 0x97, then 0xA2 .. 0xA9 with the mode's bytes.
    void SetControlMode(int mode);
    // All channels muted (0xFF) or none (0x00): stored and sent.
    void WriteSoftMute(uint8_t value);

    // Store 8 (energy) or 16 (attack then decay) bytes; nothing is sent.
    void StoreEnergy(int subAddress, std::span<const uint8_t, 8> bytes);
    void StoreAttackDecay(int subAddress, std::span<const uint8_t, 16> bytes);
    // The register's first 8 or 16 bytes for the hex edits.
    std::vector<uint8_t> ShowEnergy(int subAddress) const;
    std::vector<uint8_t> ShowAttackDecay(int subAddress) const;

    // alpha = 1 - e^(-1/n) with n = t * f * 0.001 samples, for a time
    // constant t in milliseconds at a sample rate f in hertz.
    static double CalcAlpha(double timeConstantMs, double sampleRateHz);
    // The inverse: the time constant in milliseconds that alpha stands for
    // at the rate; nothing for an alpha outside 0 < alpha < 1 or no rate.
    static std::optional<double> TimeConstantMs(double alpha, double sampleRateHz);
    // Fixed notation, 15 significant digits, 18 decimals ("0.020617806947321400").
    static std::string AlphaText(double alpha);
    // General form with at most 15 significant digits ("0.5", "0.979382193052679").
    static std::string GeneralText(double value);

    void ScanDrcFiles(const std::string& folder) { fileList_.Scan(folder); }
    const TDataFileList& FileList() const { return fileList_; }

private:
    std::vector<uint8_t> Bytes(int subAddress, size_t count) const;

    TConfigDataUnit& table_;
    TDataFileList fileList_{Files};
};
