#include "Compressionunit.h"

#include "Configdataunit.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

using Word = std::array<uint8_t, 4>;
using Pair = std::array<uint8_t, 8>;

// Control word of each mode, and the two 5.23 words (through, compressed) of
// every channel register: "No DRC" passes the signal straight through.
constexpr std::array<Word, 3> ControlWords = {
    {{0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x15, 0x55}, {0x00, 0x00, 0x2A, 0xAA}}};
constexpr Pair ChannelThrough = {0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
constexpr Pair ChannelCompressed = {0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00};

} // namespace

TCompression::TCompression(TConfigDataUnit& table) : table_(table) {}

std::vector<uint8_t> TCompression::Bytes(int subAddress, size_t count) const {
    std::vector<uint8_t> bytes = table_.GetData(subAddress);
    bytes.resize(count, 0);
    return bytes;
}

int TCompression::GetControlMode() const {
    const std::vector<uint8_t> first = Bytes(Drc1ControlRegister, 4);
    const std::vector<uint8_t> second = Bytes(Drc2ControlRegister, 4);
    for (int mode : {PreVolume, PostVolume}) {
        const Word& word = ControlWords[static_cast<size_t>(mode)];
        if (std::equal(word.begin(), word.end(), first.begin()) &&
            std::equal(word.begin(), word.end(), second.begin()))
            return mode;
    }
    return NoDrc;
}

void TCompression::SetControlMode(int mode) {
    if (mode < NoDrc || mode > PostVolume)
        mode = NoDrc;
    for (int control : {Drc1ControlRegister, Drc2ControlRegister}) {
        table_.SetData(control, ControlWords[static_cast<size_t>(mode)]);
        table_.WriteRegister(control);
    }
    for (int channel = FirstChannelRegister; channel <= LastChannelRegister; ++channel) {
        table_.SetData(channel, mode == NoDrc ? ChannelThrough : ChannelCompressed);
        table_.WriteRegister(channel);
    }
}

void TCompression::WriteSoftMute(uint8_t value) {
    table_.SetData(SoftMuteRegister, std::span<const uint8_t>(&value, 1));
    table_.WriteRegister(SoftMuteRegister);
}

void TCompression::StoreEnergy(int subAddress, std::span<const uint8_t, 8> bytes) {
    table_.SetData(subAddress, bytes);
}

void TCompression::StoreAttackDecay(int subAddress, std::span<const uint8_t, 16> bytes) {
    table_.SetData(subAddress, bytes);
}

std::vector<uint8_t> TCompression::ShowEnergy(int subAddress) const {
    return Bytes(subAddress, 8);
}

std::vector<uint8_t> TCompression::ShowAttackDecay(int subAddress) const {
    return Bytes(subAddress, 16);
}

double TCompression::CalcAlpha(double timeConstantMs, double sampleRateHz) {
    const double samples = timeConstantMs * sampleRateHz * 0.001;
    return 1.0 - std::exp(-1.0 / samples);
}

std::optional<double> TCompression::TimeConstantMs(double alpha, double sampleRateHz) {
    if (!(alpha > 0.0 && alpha < 1.0) || !(sampleRateHz > 0.0))
        return std::nullopt;
    const double samples = -1.0 / std::log1p(-alpha);
    return samples * 1000.0 / sampleRateHz;
}

// Texts use "." whatever the locale: std::to_chars and std::from_chars never
// look at it.
std::string TCompression::AlphaText(double alpha) {
    if (std::isnan(alpha))
        return "NAN";
    if (std::isinf(alpha))
        return alpha > 0 ? "INF" : "-INF";
    // Round to 15 significant digits first; the decimals past them are zeros.
    char text[400];
    auto end = std::to_chars(text, text + sizeof text, alpha, std::chars_format::scientific, 14).ptr;
    double value = 0.0;
    std::from_chars(text, end, value);
    if (std::fabs(value) >= 1e15)
        return std::string(
            text, std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 14).ptr);
    const int exponent = value == 0.0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int significantDecimals = std::max(0, 14 - exponent);
    end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                        std::min(significantDecimals, 18))
              .ptr;
    std::string result(text, end);
    if (significantDecimals < 18)
        result.append(static_cast<size_t>(18 - significantDecimals), '0');
    return result;
}

std::string TCompression::GeneralText(double value) {
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, value == 0.0 ? 0.0 : value, std::chars_format::general, 15)
            .ptr;
    return std::string(text, end);
}
