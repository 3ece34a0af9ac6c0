#pragma once

#include "CliTransportUi.h"
#include "Configdataunit.h"
#include "I2cunit.h"
#include "RegisterBus.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

class SystemAdapter;

// Why a command ended early, with the exit status it ends with:
// 1 the device disagreed or a transfer failed, 2 bad usage or a bad file.
class TCliFailure : public std::runtime_error {
public:
    static constexpr int DeviceStatus = 1;
    static constexpr int UsageStatus = 2;

    TCliFailure(int status, const std::string& reason) : std::runtime_error(reason), status_(status) {}
    int Status() const { return status_; }

private:
    int status_;
};

// The register table on its map, and the way to the device the tool itself
// uses: the system adapter (bridge first, then the simulator) behind the I2C
// transport. Between the two sits a watch that remembers the first transfer
// that failed, so a command can say which register it stopped at.
class TCliDevice : private IRegisterBus {
public:
    TCliDevice();
    ~TCliDevice() override;

    // Reads the register map; a map that cannot be read or has problems is a
    // bad file (the names and sizes of every later step come from it).
    void ReadMap(const std::string& fileName);

    // Asks the adapter whether it is ready, without the reset pulse the tool
    // sends at start-up: a command must find the device as it was left.
    void Connect();

    TConfigDataUnit& Table() { return table_; }

    // The first failed transfer since Connect, as "write to 0x41
    // r_A_to_ipmix[1] failed (I2C Error)"; nothing while all went through.
    std::optional<std::string> FirstFailure() const;
    int SuccessfulWrites() const { return successfulWrites_; }

    // "0x41 r_A_to_ipmix[1]": a register as lists name it.
    std::string Label(int subAddress) const;

private:
    void I2CWrite(uint8_t deviceAddress, uint8_t subAddress, int count, const uint8_t* bytes) override;
    void I2CRead(uint8_t deviceAddress, uint8_t subAddress, int count, uint8_t* buffer) override;
    bool IsTransferOk() const override { return transport_.IsTransferOk(); }
    void Watch(bool write, uint8_t subAddress);

    TCliTransportUi ui_;
    SystemAdapter* adapter_ = nullptr; // owned by the transport
    TI2CForm transport_;
    TConfigDataUnit table_;
    std::optional<std::string> failure_;
    int successfulWrites_ = 0;
};

// "d9", "D9", "0xd9": a sub-address; nothing for anything else.
std::optional<int> ParseHexByte(const std::string& text);
// "0xd9": a sub-address as the program writes it.
std::string SubText(int subAddress);
