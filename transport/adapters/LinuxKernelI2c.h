#pragma once

#include "KernelI2c.h"

// The running kernel: sysfs under /sys, device nodes and the I2C_RDWR ioctl.
class LinuxKernelI2c : public IKernelI2c {
public:
    std::vector<I2cBusEntry> ListBuses() override;
    int Open(const std::string& devicePath) override;
    int Transfer(int descriptor, std::span<i2c_msg> messages) override;
    void Close(int descriptor) override;
};
