#pragma once

#include <linux/i2c.h>

#include <span>
#include <string>
#include <vector>

// One I2C bus the kernel offers: /dev/i2c-<number>, with the name its driver
// gave the adapter ("CP2112 SMBus Bridge on hidraw0", "i915 gmbus dpb", ...).
struct I2cBusEntry {
    int number = 0;
    std::string name;
};

// The few kernel services the bridge adapter uses. Failures are negated errno
// values, as the kernel gives them.
class IKernelI2c {
public:
    virtual ~IKernelI2c() = default;
    virtual std::vector<I2cBusEntry> ListBuses() = 0;
    // A descriptor of the opened device node, or -errno.
    virtual int Open(const std::string& devicePath) = 0;
    // One I2C_RDWR transaction: the number of messages done, or -errno.
    virtual int Transfer(int descriptor, std::span<i2c_msg> messages) = 0;
    virtual void Close(int descriptor) = 0;
};

// The buses found under a sysfs root (normally "/sys"), in bus-number order:
// the i2c-dev class entries and the i2c bus devices, which also show a bus
// whose /dev node is missing because the i2c-dev module is not loaded.
std::vector<I2cBusEntry> ListSysfsI2cBuses(const std::string& sysRoot);
