#pragma once

#include "BridgeKinds.h"
#include "IPMBusTransport.h"
#include "KernelI2c.h"

#include <memory>
#include <string>

namespace BridgeStatus {
// The device did not acknowledge, or the bus did not complete the transfer.
inline constexpr int32_t NotAcknowledged = 2;
// A bridge is plugged in but its device node cannot be opened (most often
// for lack of permission). Neither ready nor absent: the transport leaves
// its state alone, and Problem() says what the user can do.
inline constexpr int32_t CannotOpen = 8;
} // namespace BridgeStatus

// A USB-to-I2C bridge that the kernel drives as an i2c-dev bus. The device
// node is opened for each transfer and closed again: an open node keeps the
// kernel from removing the bus, which would hold up the unplugging of the
// bridge until the tool let go.
class BridgeAdapter : public IPMBusTransport {
public:
    explicit BridgeAdapter(std::unique_ptr<IKernelI2c> kernel);

    // Looks for a bridge among the buses: status 0 when one could be opened,
    // CannotOpen when bridges are there but none opens (the bridge in use,
    // if any, is kept), 7 when there is none.
    AdapterResult ConnectUSB(int32_t& status) override;
    AdapterResult ResetPulse(std::string& text) override;
    AdapterResult WriteI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                std::span<const uint8_t> bytes, int32_t& status) override;
    AdapterResult ReadI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                               std::vector<uint8_t>& bytes, int32_t& status) override;

    // What went wrong in the last call that did not succeed, in words a user
    // can act on; empty when nothing did.
    const std::string& Problem() const { return problem_; }

private:
    AdapterResult Run(std::span<i2c_msg> messages, int32_t& status);
    std::string BusLabel() const;

    std::unique_ptr<IKernelI2c> kernel_;
    const BridgeKind* kind_ = nullptr; // null while no bridge is connected
    std::string devicePath_;
    std::string busName_;
    std::string problem_;
};
