#include "Volumeunit.h"

#include "Configdataunit.h"
#include "Conversions.h"

#include <algorithm>
#include <vector>

namespace {

// Soft-mute bits of channels 1..4 in register 0x0F; the middle bits belong
// to channels this tool does not control.
constexpr std::array<uint8_t, 4> MuteBits = {0x01, 0x02, 0x40, 0x80};

} // namespace

TVolume::TVolume(TConfigDataUnit& table) : table_(table) {}

int TVolume::GetVolumeStep(int subAddress) const {
    return StepOfWord(table_.GetData(subAddress));
}

int TVolume::StepOfWord(std::span<const uint8_t> bytes) {
    std::array<uint8_t, 4> word{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), word.size()), word.begin());
    const int step = (word[2] & 0x0F) * 256 + word[3];
    return std::clamp(step, 0, MaxStep);
}

void TVolume::SetVolumeStep(int subAddress, int step) {
    const auto n = static_cast<uint32_t>(step);
    const std::array<uint8_t, 4> word = {static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                                         static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
    table_.SetData(subAddress, word);
}

std::string TVolume::VolumeText(int step) {
    if (step >= MaxStep)
        return "MUTE";
    return FormatShortest(18.0 - 0.25 * step);
}

uint8_t TVolume::SoftMuteByte() const {
    const std::vector<uint8_t> data = table_.GetData(SoftMuteRegister);
    return data.empty() ? 0 : data[0];
}

void TVolume::ApplyChannelMute(int channel, bool muted) {
    if (channel < 1 || channel > 4)
        return;
    const uint8_t bit = MuteBits[channel - 1];
    const uint8_t old = SoftMuteByte();
    const uint8_t byte = muted ? static_cast<uint8_t>(old | bit) : static_cast<uint8_t>(old & ~bit);
    table_.SetData(SoftMuteRegister, std::array<uint8_t, 1>{byte});
    table_.WriteRegister(SoftMuteRegister);
}

TVolume::MuteStates TVolume::GetMuteStates() const {
    const uint8_t byte = SoftMuteByte();
    MuteStates states;
    for (size_t i = 0; i < MuteBits.size(); ++i)
        states.channel[i] = (byte & MuteBits[i]) != 0;
    states.master = std::all_of(states.channel.begin(), states.channel.end(), [](bool m) { return m; });
    return states;
}
