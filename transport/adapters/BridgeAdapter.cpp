#include "BridgeAdapter.h"

#include <cerrno>
#include <cstring>

namespace {

std::string OpenProblem(const std::string& label, int error) {
    if (error == EACCES || error == EPERM)
        return "No permission to open " + label +
               ": install the udev rule 70-qmx4600-i2c-bridges.rules and join the plugdev group";
    if (error == ENOENT)
        return label + " has no device node: load the i2c-dev kernel module (modprobe i2c-dev)";
    return "Cannot open " + label + ": " + std::strerror(error);
}

// Errors with which the bridge drivers report that the device did not answer
// or the bus did not complete the transfer: no acknowledge (ENXIO, EREMOTEIO,
// or ETIMEDOUT on the CP2112), a lost or busy bus (EAGAIN), a failed transfer
// (EIO).
bool IsBusFailure(int error) {
    return error == ENXIO || error == EREMOTEIO || error == EIO || error == ETIMEDOUT || error == EAGAIN;
}

// The bridge has gone between the connect and this transfer.
bool IsBridgeGone(int error) {
    return error == ENOENT || error == ENODEV || error == ESHUTDOWN;
}

} // namespace

BridgeAdapter::BridgeAdapter(std::unique_ptr<IKernelI2c> kernel) : kernel_(std::move(kernel)) {}

std::string BridgeAdapter::BusLabel() const {
    return devicePath_ + " (" + busName_ + ")";
}

// Only a bridge that opens, or none at all, replaces the bridge in use: when
// the bridges found cannot be opened (a node busy for a moment, a second
// bridge without permission), the one in use stays as it was.
AdapterResult BridgeAdapter::ConnectUSB(int32_t& status) {
    std::string problem;
    for (const I2cBusEntry& bus : kernel_->ListBuses()) {
        const BridgeKind* kind = FindBridgeKind(bus.name);
        if (!kind)
            continue;
        const std::string devicePath = "/dev/i2c-" + std::to_string(bus.number);
        const int descriptor = kernel_->Open(devicePath);
        if (descriptor >= 0) {
            kernel_->Close(descriptor);
            kind_ = kind;
            devicePath_ = devicePath;
            busName_ = bus.name;
            problem_.clear();
            status = AdapterStatus::Done;
            return 0;
        }
        if (problem.empty())
            problem = OpenProblem(devicePath + " (" + bus.name + ")", -descriptor);
    }
    problem_ = problem;
    if (problem.empty())
        kind_ = nullptr;
    status = problem.empty() ? AdapterStatus::NoAdapter : BridgeStatus::CannotOpen;
    return 0;
}

AdapterResult BridgeAdapter::ResetPulse(std::string& text) {
    text = "I2C bridge: no reset line to the device, reset not sent";
    return 0;
}

AdapterResult BridgeAdapter::Run(std::span<i2c_msg> messages, int32_t& status) {
    const int descriptor = kernel_->Open(devicePath_);
    if (descriptor < 0) {
        if (IsBridgeGone(-descriptor)) {
            kind_ = nullptr;
            status = AdapterStatus::NoAdapter;
            return 0;
        }
        problem_ = OpenProblem(BusLabel(), -descriptor);
        return descriptor;
    }
    const int done = kernel_->Transfer(descriptor, messages);
    kernel_->Close(descriptor);
    if (done == static_cast<int>(messages.size())) {
        status = AdapterStatus::Done;
        return 0;
    }
    const int error = done < 0 ? -done : EIO;
    if (IsBusFailure(error)) {
        status = BridgeStatus::NotAcknowledged;
        return 0;
    }
    if (IsBridgeGone(error)) {
        kind_ = nullptr;
        status = AdapterStatus::NoAdapter;
        return 0;
    }
    problem_ = "Transfer on " + BusLabel() + " failed: " + std::strerror(error);
    return -error;
}

AdapterResult BridgeAdapter::WriteI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                           std::span<const uint8_t> bytes, int32_t& status) {
    if (!kind_) {
        status = AdapterStatus::NoAdapter;
        return 0;
    }
    if (count < 0 || static_cast<size_t>(count) > bytes.size())
        return -EINVAL;
    const int length = count + 1;
    if (length > kind_->maxWriteLength) {
        problem_ = "A write of " + std::to_string(count) + " bytes does not fit in one " +
                   std::string(kind_->chip) + " message (at most " +
                   std::to_string(kind_->maxWriteLength - 1) + " bytes after the sub-address)";
        return -EMSGSIZE;
    }
    std::vector<uint8_t> message;
    message.reserve(static_cast<size_t>(length));
    message.push_back(subAddress);
    message.insert(message.end(), bytes.begin(), bytes.begin() + count);
    i2c_msg write{address7, 0, static_cast<__u16>(length), message.data()};
    return Run({&write, 1}, status);
}

AdapterResult BridgeAdapter::ReadI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                          std::vector<uint8_t>& bytes, int32_t& status) {
    if (!kind_) {
        status = AdapterStatus::NoAdapter;
        return 0;
    }
    if (count < 1)
        return -EINVAL;
    if (count > kind_->maxReadLength) {
        problem_ = "A read of " + std::to_string(count) + " bytes does not fit in one " +
                   std::string(kind_->chip) + " message (at most " + std::to_string(kind_->maxReadLength) +
                   " bytes)";
        return -EMSGSIZE;
    }
    bytes.resize(static_cast<size_t>(count));
    uint8_t address = subAddress;
    i2c_msg messages[] = {
        {address7, 0, 1, &address},
        {address7, I2C_M_RD, static_cast<__u16>(count), bytes.data()},
    };
    return Run(messages, status);
}
