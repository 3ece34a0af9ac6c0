#pragma once

#include <cstdint>
#include <string>

// What the register table needs from the outside world. The transport, the
// register command window and the overwrite question window implement these;
// the table itself knows nothing of windows or adapters.

// Carries register transfers to the device. The outcome of a transfer is not
// returned: callers ask IsTransferOk afterwards.
class IRegisterBus {
public:
    virtual ~IRegisterBus() = default;
    virtual void I2CWrite(uint8_t deviceAddress, uint8_t subAddress, int count, const uint8_t* bytes) = 0;
    virtual void I2CRead(uint8_t deviceAddress, uint8_t subAddress, int count, uint8_t* buffer) = 0;
    virtual bool IsTransferOk() const = 0;
};

// Supplies the device's 8-bit bus address (write form) before each transfer.
class IDeviceAddressSource {
public:
    virtual ~IDeviceAddressSource() = default;
    virtual uint8_t GetDeviceAddress() const = 0;
};

// Asked before an existing file is replaced; true means "replace it".
class IOverwriteQuestion {
public:
    virtual ~IOverwriteQuestion() = default;
    virtual bool ConfirmReplace(const std::string& fileName) = 0;
};
