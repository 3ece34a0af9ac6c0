#pragma once

#include "BridgeAdapter.h"
#include "IPMBusTransport.h"

#include <memory>
#include <string>

// The adapter the program uses. Every connect looks for a USB-to-I2C bridge
// first and for the simulator second, and the calls that follow go to the
// one that answered ready. With neither there, the connect reports the
// bridge's answer when a bridge was found but could not be opened, and the
// simulator's answer otherwise (normally 7, no adapter); after a 7, transfers
// report no adapter and the reset pulse does nothing. A connect that fails,
// or answers neither 0 nor 7, keeps the adapter in use, so a query that goes
// wrong cannot break a connection that works.
class SystemAdapter : public IPMBusTransport {
public:
    SystemAdapter(std::unique_ptr<BridgeAdapter> bridge, std::unique_ptr<IPMBusTransport> simulator);

    AdapterResult ConnectUSB(int32_t& status) override;
    AdapterResult ResetPulse(std::string& text) override;
    AdapterResult WriteI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                std::span<const uint8_t> bytes, int32_t& status) override;
    AdapterResult ReadI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                               std::vector<uint8_t>& bytes, int32_t& status) override;

    // Why the bridge could not be used (see BridgeAdapter::Problem); a new
    // text is also written to standard error when a connect meets it.
    const std::string& Problem() const { return bridge_->Problem(); }

private:
    std::unique_ptr<BridgeAdapter> bridge_;
    std::unique_ptr<IPMBusTransport> simulator_;
    IPMBusTransport* active_ = nullptr;
    std::string reportedProblem_;
};

// The bridge on the running kernel and the simulator on its usual socket.
// Fits AdapterFactory.
std::unique_ptr<IPMBusTransport> CreateSystemAdapter();
