#include "CliDevice.h"

#include "Conversions.h"
#include "LinuxKernelI2c.h"
#include "SimulatorSocketAdapter.h"
#include "SimulatorSocketPath.h"
#include "SystemAdapter.h"

#include <cstdio>

namespace {

std::unique_ptr<IPMBusTransport> MakeAdapter(SystemAdapter*& adapter) {
    auto made =
        std::make_unique<SystemAdapter>(std::make_unique<BridgeAdapter>(std::make_unique<LinuxKernelI2c>()),
                                        std::make_unique<SimulatorSocketAdapter>());
    adapter = made.get();
    return made;
}

} // namespace

std::optional<int> ParseHexByte(const std::string& text) {
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits.erase(0, 2);
    if (digits.empty() || digits.size() > 2)
        return std::nullopt;
    int value = 0;
    for (char c : digits) {
        if (!IsHexDigit(c))
            return std::nullopt;
        value = value * 16 + HexDigitValue(c);
    }
    return value;
}

std::string SubText(int subAddress) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", subAddress & 0xFF);
    return text;
}

TCliDevice::TCliDevice() : transport_(MakeAdapter(adapter_), &ui_) {
    table_.SetBus(this);
}

TCliDevice::~TCliDevice() = default;

void TCliDevice::ReadMap(const std::string& fileName) {
    if (!table_.ReadMapFile(fileName))
        throw TCliFailure(TCliFailure::UsageStatus, "cannot read the register map " + fileName);
    if (!table_.MapFileProblems().empty())
        throw TCliFailure(TCliFailure::UsageStatus,
                          "the register map has problems: " + ProblemSummary(table_.MapFileProblems()));
}

void TCliDevice::Connect() {
    // The transport's device-change query connects without the reset pulse.
    transport_.OnDeviceChange();
    if (transport_.IsUsbConnected())
        return;
    const std::string& problem = adapter_->Problem();
    throw TCliFailure(TCliFailure::DeviceStatus,
                      "no adapter: " + (problem.empty()
                                            ? "no USB-to-I2C bridge is plugged in and no simulator "
                                              "answers at " +
                                                  SimulatorSocketPath()
                                            : problem));
}

std::optional<std::string> TCliDevice::FirstFailure() const {
    return failure_;
}

std::string TCliDevice::Label(int subAddress) const {
    std::string name = table_.GetName(subAddress);
    if (!name.empty() && name.front() == '!')
        name.erase(0, 1);
    return SubText(subAddress) + (name.empty() ? "" : " " + name);
}

void TCliDevice::Watch(bool write, uint8_t subAddress) {
    if (transport_.IsTransferOk()) {
        successfulWrites_ += write ? 1 : 0;
        return;
    }
    if (!failure_)
        failure_ = std::string(write ? "write to " : "read from ") + Label(subAddress) + " failed (" +
                   (ui_.BusStatus().empty() ? "I2C Error" : ui_.BusStatus()) + ")";
}

void TCliDevice::I2CWrite(uint8_t deviceAddress, uint8_t subAddress, int count, const uint8_t* bytes) {
    transport_.I2CWrite(deviceAddress, subAddress, count, bytes);
    Watch(true, subAddress);
}

void TCliDevice::I2CRead(uint8_t deviceAddress, uint8_t subAddress, int count, uint8_t* buffer) {
    transport_.I2CRead(deviceAddress, subAddress, count, buffer);
    Watch(false, subAddress);
}
