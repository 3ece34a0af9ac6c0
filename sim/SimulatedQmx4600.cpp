#include "SimulatedQmx4600.h"

#include "Configdataunit.h"
#include "PowerOnImage.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace {

constexpr int SampleRates[] = {32000, 38000, 44100, 48000, 88200, 96000, 176400, 192000};
constexpr int MclkRatios[] = {64, 128, 192, 256, 384, 512, 768};

template <size_t N> int CodeOf(const int (&values)[N], int value) {
    const auto it = std::find(std::begin(values), std::end(values), value);
    return it == std::end(values) ? -1 : static_cast<int>(it - std::begin(values));
}

constexpr AdapterResult ComponentFailure = -EIO;

} // namespace

SimulatedQmx4600::SimulatedQmx4600(const RegisterSizes& sizes) : sizes_(sizes) {
    for (int s = 0; s < 256; ++s)
        registers_[s] = PowerOnContents(static_cast<uint8_t>(s));
}

SimulatedQmx4600::RegisterSizes SimulatedQmx4600::SizesFromMapFile(const std::string& fileName) {
    TConfigDataUnit map;
    map.ReadMapFile(fileName);
    RegisterSizes sizes{};
    for (int s = 0; s < 256; ++s)
        sizes[s] = map.GetSize(s);
    return sizes;
}

std::vector<uint8_t> SimulatedQmx4600::PowerOnContents(uint8_t subAddress) const {
    return PowerOnRegister(subAddress, sizes_[subAddress]);
}

bool SimulatedQmx4600::SetSampleRate(int hertz) {
    const int code = CodeOf(SampleRates, hertz);
    if (code >= 0)
        rateCode_ = code;
    return code >= 0;
}

bool SimulatedQmx4600::SetMclkRatio(int ratio) {
    const int code = CodeOf(MclkRatios, ratio);
    if (code >= 0)
        mclkCode_ = code;
    return code >= 0;
}

void SimulatedQmx4600::ClearNacks() {
    nackAll_ = false;
    nackedSubAddresses_.clear();
    nackAfter_.reset();
}

std::vector<uint8_t> SimulatedQmx4600::Register(uint8_t subAddress) const {
    std::vector<uint8_t> bytes = registers_[subAddress];
    if (subAddress == 0x00 && !bytes.empty())
        bytes[0] = ClockRegister();
    return bytes;
}

void SimulatedQmx4600::SetRegister(uint8_t subAddress, std::span<const uint8_t> bytes) {
    std::vector<uint8_t>& stored = registers_[subAddress];
    std::copy_n(bytes.begin(), std::min(bytes.size(), stored.size()), stored.begin());
}

std::vector<SimulatedQmx4600::Call> SimulatedQmx4600::TakeCalls() {
    return std::exchange(calls_, {});
}

uint8_t SimulatedQmx4600::ClockRegister() const {
    const uint8_t stored = registers_[0x00].empty() ? 0 : registers_[0x00][0];
    return static_cast<uint8_t>((rateCode_ << 5) | (mclkCode_ << 2) | (stored & 0x03));
}

int32_t SimulatedQmx4600::TransferStatus(uint8_t address7, uint8_t subAddress) {
    ++transfers_;
    if (!pluggedIn_)
        return AdapterStatus::NoAdapter;
    const bool nacked = nackAll_ || address7 != Address7 || nackedSubAddresses_.count(subAddress) > 0 ||
                        (nackAfter_ && transfers_ > *nackAfter_);
    return nacked ? NotAcknowledged : AdapterStatus::Done;
}

AdapterResult SimulatedQmx4600::ConnectUSB(int32_t& status) {
    Call call{CallKind::Connect};
    if (componentFailure_) {
        call.result = ComponentFailure;
    } else {
        status = pluggedIn_ ? AdapterStatus::Done : AdapterStatus::NoAdapter;
        call.status = status;
    }
    calls_.push_back(call);
    return call.result;
}

AdapterResult SimulatedQmx4600::ResetPulse(std::string& text) {
    Call call{CallKind::Reset};
    if (componentFailure_) {
        call.result = ComponentFailure;
    } else if (!pluggedIn_) {
        text = "no adapter: reset not sent";
    } else {
        for (int s = 0; s < 256; ++s)
            registers_[s] = PowerOnContents(static_cast<uint8_t>(s));
        text = "reset done";
    }
    calls_.push_back(call);
    return call.result;
}

AdapterResult SimulatedQmx4600::WriteI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                              std::span<const uint8_t> bytes, int32_t& status) {
    const size_t n = std::min(bytes.size(), static_cast<size_t>(std::max(count, 0)));
    Call call{CallKind::Write, address7, subAddress, count, {bytes.begin(), bytes.begin() + n}};
    if (componentFailure_) {
        call.result = ComponentFailure;
    } else {
        status = TransferStatus(address7, subAddress);
        call.status = status;
        if (status == AdapterStatus::Done)
            SetRegister(subAddress, call.bytes);
    }
    calls_.push_back(std::move(call));
    return calls_.back().result;
}

AdapterResult SimulatedQmx4600::ReadI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                             std::vector<uint8_t>& bytes, int32_t& status) {
    Call call{CallKind::Read, address7, subAddress, count};
    if (componentFailure_) {
        call.result = ComponentFailure;
    } else {
        status = TransferStatus(address7, subAddress);
        call.status = status;
        // A read nobody acknowledges sees the idle bus: all ones.
        bytes.assign(static_cast<size_t>(std::max(count, 0)), status == AdapterStatus::Done ? 0x00 : 0xFF);
        if (status == AdapterStatus::Done) {
            const std::vector<uint8_t> stored = Register(subAddress);
            std::copy_n(stored.begin(), std::min(stored.size(), bytes.size()), bytes.begin());
        }
        call.bytes = bytes;
    }
    calls_.push_back(std::move(call));
    return calls_.back().result;
}
