#include "SystemAdapter.h"

#include "LinuxKernelI2c.h"
#include "SimulatorSocketAdapter.h"

#include <iostream>

SystemAdapter::SystemAdapter(std::unique_ptr<BridgeAdapter> bridge,
                             std::unique_ptr<IPMBusTransport> simulator)
    : bridge_(std::move(bridge)), simulator_(std::move(simulator)) {}

// The adapter in use changes only when the query ends in an answer: 0 (the
// one that answered ready) or 7 (none). A query that fails, or that finds a
// bridge it cannot open, leaves the adapter in use as it was.
AdapterResult SystemAdapter::ConnectUSB(int32_t& status) {
    int32_t bridgeStatus = status;
    const AdapterResult bridgeResult = bridge_->ConnectUSB(bridgeStatus);
    if (bridgeResult >= 0 && bridgeStatus == AdapterStatus::Done) {
        active_ = bridge_.get();
        status = bridgeStatus;
        return bridgeResult;
    }
    if (!Problem().empty() && Problem() != reportedProblem_)
        std::cerr << Problem() << '\n';
    reportedProblem_ = Problem();

    int32_t simulatorStatus = status;
    const AdapterResult simulatorResult = simulator_->ConnectUSB(simulatorStatus);
    if (simulatorResult >= 0 && simulatorStatus == AdapterStatus::Done) {
        active_ = simulator_.get();
        status = simulatorStatus;
        return simulatorResult;
    }
    if (bridgeResult < 0 || bridgeStatus != AdapterStatus::NoAdapter) {
        if (bridgeResult >= 0)
            status = bridgeStatus;
        return bridgeResult;
    }
    if (simulatorResult >= 0) {
        status = simulatorStatus;
        if (simulatorStatus == AdapterStatus::NoAdapter)
            active_ = nullptr;
    }
    return simulatorResult;
}

AdapterResult SystemAdapter::ResetPulse(std::string& text) {
    if (!active_) {
        text = "no adapter: reset not sent";
        return 0;
    }
    return active_->ResetPulse(text);
}

AdapterResult SystemAdapter::WriteI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                           std::span<const uint8_t> bytes, int32_t& status) {
    if (!active_) {
        status = AdapterStatus::NoAdapter;
        return 0;
    }
    return active_->WriteI2CBlock(address7, subAddress, count, bytes, status);
}

AdapterResult SystemAdapter::ReadI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                          std::vector<uint8_t>& bytes, int32_t& status) {
    if (!active_) {
        status = AdapterStatus::NoAdapter;
        return 0;
    }
    return active_->ReadI2CBlock(address7, subAddress, count, bytes, status);
}

std::unique_ptr<IPMBusTransport> CreateSystemAdapter() {
    return std::make_unique<SystemAdapter>(
        std::make_unique<BridgeAdapter>(std::make_unique<LinuxKernelI2c>()),
        std::make_unique<SimulatorSocketAdapter>());
}
