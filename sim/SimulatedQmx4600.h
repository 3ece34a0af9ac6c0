#pragma once

#include "IPMBusTransport.h"

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

// A QMX4600 on the far side of an adapter. It answers the four adapter calls
// like a real part: 256 registers sized by the register map, power-on
// contents after reset, and the sample rate and MCLK ratio it detects shown
// in register 0x00. Faults can be switched on, and every call is recorded.
class SimulatedQmx4600 : public IPMBusTransport {
public:
    using RegisterSizes = std::array<int, 256>;

    enum class CallKind { Connect, Reset, Write, Read };
    struct Call {
        CallKind kind;
        uint8_t address7 = 0;
        uint8_t subAddress = 0;
        int32_t count = 0;
        std::vector<uint8_t> bytes; // written, or returned by a read
        int32_t status = 0;
        AdapterResult result = 0;
    };

    // Status the device gives a transfer it does not acknowledge.
    static constexpr int32_t NotAcknowledged = 2;
    static constexpr uint8_t Address7 = 0x1B;

    explicit SimulatedQmx4600(const RegisterSizes& sizes);

    // The byte counts of a register map file; unreadable maps give no registers.
    static RegisterSizes SizesFromMapFile(const std::string& fileName);

    AdapterResult ConnectUSB(int32_t& status) override;
    AdapterResult ResetPulse(std::string& text) override;
    AdapterResult WriteI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                std::span<const uint8_t> bytes, int32_t& status) override;
    AdapterResult ReadI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                               std::vector<uint8_t>& bytes, int32_t& status) override;

    // What the clock detector reports; false for a rate or ratio the part
    // cannot detect.
    bool SetSampleRate(int hertz);
    bool SetMclkRatio(int ratio);

    // --- faults ---
    void SetPluggedIn(bool plugged) { pluggedIn_ = plugged; }
    void SetComponentFailure(bool failing) { componentFailure_ = failing; }
    void NackSubAddress(uint8_t subAddress) { nackedSubAddresses_.insert(subAddress); }
    void NackAll(bool all) { nackAll_ = all; }
    // The next `transfers` transfers are acknowledged, the ones after not.
    void NackAfterTransfers(int transfers) { nackAfter_ = transfers_ + transfers; }
    void ClearNacks();

    // --- inspection ---
    std::vector<uint8_t> Register(uint8_t subAddress) const;
    void SetRegister(uint8_t subAddress, std::span<const uint8_t> bytes);
    int RegisterSize(uint8_t subAddress) const { return sizes_[subAddress]; }
    const std::vector<Call>& Calls() const { return calls_; }
    std::vector<Call> TakeCalls();
    // The register image right after a reset.
    std::vector<uint8_t> PowerOnContents(uint8_t subAddress) const;

private:
    int32_t TransferStatus(uint8_t address7, uint8_t subAddress);
    uint8_t ClockRegister() const;

    RegisterSizes sizes_;
    std::array<std::vector<uint8_t>, 256> registers_;
    int rateCode_ = 3; // 48 kHz
    int mclkCode_ = 3; // 256 x fs
    bool pluggedIn_ = true;
    bool componentFailure_ = false;
    bool nackAll_ = false;
    std::set<uint8_t> nackedSubAddresses_;
    std::optional<int> nackAfter_;
    int transfers_ = 0;
    std::vector<Call> calls_;
};
