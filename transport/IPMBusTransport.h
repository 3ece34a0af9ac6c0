#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The USB-to-I2C adapter as the transport sees it: four calls, each returning
// a result that is negative when the adapter component itself failed (a
// negated errno value, so the system can name it), and for transfers a status
// the device side reports.
using AdapterResult = int32_t;

namespace AdapterStatus {
inline constexpr int32_t Done = 0;      // adapter ready / transfer acknowledged
inline constexpr int32_t AlsoDone = 6;  // the value the caller presets; also success
inline constexpr int32_t NoAdapter = 7; // no adapter is plugged in
} // namespace AdapterStatus

inline bool IsTransferStatusOk(int32_t status) {
    return status == AdapterStatus::Done || status == AdapterStatus::AlsoDone;
}

class IPMBusTransport {
public:
    virtual ~IPMBusTransport() = default;

    // Finds and opens the adapter: status 0 when ready, 7 when none is there.
    virtual AdapterResult ConnectUSB(int32_t& status) = 0;
    // Pulses the device's reset line; the text says what was done.
    virtual AdapterResult ResetPulse(std::string& text) = 0;
    // One bus write of the sub-address followed by `count` bytes.
    virtual AdapterResult WriteI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                        std::span<const uint8_t> bytes, int32_t& status) = 0;
    // One bus read of `count` bytes from the sub-address. `bytes` comes in
    // zero-filled with `count` elements and holds the data on return.
    virtual AdapterResult ReadI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                       std::vector<uint8_t>& bytes, int32_t& status) = 0;
};

// Creates the adapter object once at start-up; like any component creation
// it can fail, and then yields nothing.
using AdapterFactory = std::function<std::unique_ptr<IPMBusTransport>()>;
