#include "Dataclocksunit.h"

#include "Configdataunit.h"
#include "RegisterBus.h"

#include <array>
#include <vector>

namespace {

struct SerialFormat {
    const char* itemText;
    const char* type;
    const char* bits;
};

constexpr std::array<SerialFormat, TDataClocks::FormatCount> SerialFormats = {{
    {"Right Justified 16 bits  (data=0x00)", "RJ", "16"},
    {"Right Justified 20 bits  (data=0x01)", "RJ", "20"},
    {"Right Justified 24 bits  (data=0x02)", "RJ", "24"},
    {"I2S 16 bits  (data=0x03)", "I2S", "16"},
    {"I2S 20 bits  (data=0x04)", "I2S", "20"},
    {"I2S 24 bits  (data=0x05)", "I2S", "24"},
    {"Left Justified 16 bits  (data=0x06)", "LJ", "16"},
    {"Left Justified 20 bits  (data=0x07)", "LJ", "20"},
    {"Left Justified 24 bits  (data=0x08)", "LJ", "24"},
}};

struct SampleRate {
    const char* text;
    int hertz;
};

constexpr std::array<SampleRate, 8> SampleRates = {{
    {"32k", 32000},
    {"38k", 38000},
    {"44.1k", 44100},
    {"48k", 48000},
    {"88.2k", 88200},
    {"96k", 96000},
    {"176.4k", 176400},
    {"192k", 192000},
}};

// Code 7 is not a ratio the device detects; it is shown like the common one.
constexpr std::array<const char*, 8> MclkRatios = {"64 * fs",  "128 * fs", "192 * fs", "256 * fs",
                                                   "384 * fs", "512 * fs", "768 * fs", "256 * fs"};

constexpr int FirstHighRateCode = 6;

const SerialFormat& FormatOf(int item) {
    const bool known = item >= 0 && item < TDataClocks::FormatCount;
    return SerialFormats[static_cast<size_t>(known ? item : TDataClocks::FallbackFormat)];
}

} // namespace

TDataClocks::TDataClocks(TConfigDataUnit& table, const IRegisterBus& bus) : table_(table), bus_(bus) {}

uint8_t TDataClocks::StoredByte(int subAddress) const {
    const std::vector<uint8_t> data = table_.GetData(subAddress);
    return data.empty() ? 0 : data[0];
}

int TDataClocks::DecodeRate() {
    const int code = StoredByte(ClockRegister) >> 5;
    highRate_ = code >= FirstHighRateCode;
    return code;
}

std::string TDataClocks::GetRateText() {
    if (bus_.IsTransferOk())
        table_.ReadRegisters(ClockRegister, ClockRegister);
    return SampleRates[static_cast<size_t>(DecodeRate())].text;
}

int TDataClocks::GetSampleRate() {
    return SampleRates[static_cast<size_t>(DecodeRate())].hertz;
}

std::string TDataClocks::GetMclkText() const {
    return MclkRatios[static_cast<size_t>((StoredByte(ClockRegister) >> 2) & 0x07)];
}

std::string TDataClocks::FormatItemText(int item) {
    return FormatOf(item).itemText;
}

std::string TDataClocks::GetFormatType(int item) {
    return FormatOf(item).type;
}

std::string TDataClocks::GetFormatBits(int item) {
    return FormatOf(item).bits;
}

void TDataClocks::SetSerialFormat(int item) {
    const bool known = item >= 0 && item < FormatCount;
    const auto code = static_cast<uint8_t>(known ? item : FallbackFormat);
    table_.SetData(SerialFormatRegister, std::array<uint8_t, 1>{code});
}

int TDataClocks::GetSerialFormat() const {
    const int code = StoredByte(SerialFormatRegister);
    return code < FormatCount ? code : FallbackFormat;
}

void TDataClocks::SetClockCodes(int rateCode, int mclkCode) {
    const int kept = StoredByte(ClockRegister) & 0x03;
    const auto byte = static_cast<uint8_t>(((rateCode & 0x07) << 5) | ((mclkCode & 0x07) << 2) | kept);
    table_.SetData(ClockRegister, std::array<uint8_t, 1>{byte});
}
