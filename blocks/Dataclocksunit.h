#pragma once

#include <cstdint>
#include <string>

class IRegisterBus;
class TConfigDataUnit;

// The serial audio format (register 0x0E) and the clocks the device detects
// on its own (register 0x00: sample rate in bits 7:5, MCLK ratio in bits
// 4:2). Keeps one value of its own, the high-rate mode: whether the last
// decoded sample rate was 176.4 or 192 kHz, where the device runs fewer
// processing channels.
class TDataClocks {
public:
    static constexpr int ClockRegister = 0x00;
    static constexpr int SerialFormatRegister = 0x0E;
    static constexpr int FormatCount = 9;
    // Format code and item of anything outside 0..8: I2S 24 bits.
    static constexpr int FallbackFormat = 5;

    TDataClocks(TConfigDataUnit& table, const IRegisterBus& bus);

    bool IsHighRate() const { return highRate_; }

    // Reads register 0x00 from the device first when transfers are
    // possible, then decodes the stored byte ("32k" ... "192k").
    std::string GetRateText();
    // The stored sample rate in hertz; no device read.
    int GetSampleRate();
    // The stored MCLK ratio ("64 * fs" ... "768 * fs"); no device read.
    std::string GetMclkText() const;

    static std::string FormatItemText(int item);
    static std::string GetFormatType(int item);
    static std::string GetFormatBits(int item);
    // Stores the item's format code in register 0x0E; sends nothing.
    void SetSerialFormat(int item);
    int GetSerialFormat() const;

    // Stores rate code r and MCLK code m into register 0x00, keeping its two
    // low bits; sends nothing.
    void SetClockCodes(int rateCode, int mclkCode);

private:
    uint8_t StoredByte(int subAddress) const;
    // Rate code of the stored clock byte; sets the high-rate mode.
    int DecodeRate();

    TConfigDataUnit& table_;
    const IRegisterBus& bus_;
    bool highRate_ = false;
};
