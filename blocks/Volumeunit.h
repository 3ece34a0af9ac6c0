#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

class TConfigDataUnit;

// The device's volumes and soft mutes. Each of the five volumes (master and
// the four processing channels) is a 4-byte register holding a step number:
// step n is 18 - 0.25 * n dB for n = 0..580, and 581 or more is silence. One
// more register, 0x0F, holds a soft-mute bit per channel. The register table
// is the only store; this class only converts.
class TVolume {
public:
    static constexpr int MasterRegister = 0xD9;
    static constexpr int SoftMuteRegister = 0x0F;
    // 0 dB.
    static constexpr int ZeroDbStep = 72;
    // Where the volume track bars and up-downs start, before the first
    // refresh (-0.25 dB).
    static constexpr int DesignedStep = 73;
    // The last position of a volume track bar.
    static constexpr int MaxStep = 581;
    // What the mute buttons store: one beyond the track bar, so a refresh
    // that clamps it moves the bar and writes the register again.
    static constexpr int MuteValue = 582;

    // Whether each channel's mute bit is set, and whether all four are.
    struct MuteStates {
        std::array<bool, 4> channel{};
        bool master = false;
    };

    explicit TVolume(TConfigDataUnit& table);

    // Step number of a volume register: the low 12 bits of its word,
    // clamped to 0..581.
    int GetVolumeStep(int subAddress) const;
    // The same for a register's bytes (missing bytes count as 0).
    static int StepOfWord(std::span<const uint8_t> bytes);
    // Stores the step as a 32-bit word; nothing is sent to the device.
    void SetVolumeStep(int subAddress, int step);
    static int MuteStep() { return MaxStep; }

    // The text a volume label shows for a step: the gain in dB, shortest
    // form and no unit ("18", "-0.25"), or "MUTE" beyond step 580.
    static std::string VolumeText(int step);

    // Sets or clears channel 1..4's bit in the soft-mute register and sends
    // the register. Other channel numbers change nothing.
    void ApplyChannelMute(int channel, bool muted);
    MuteStates GetMuteStates() const;

private:
    uint8_t SoftMuteByte() const;

    TConfigDataUnit& table_;
};
