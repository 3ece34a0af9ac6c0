#pragma once

#include "KernelI2c.h"

#include <string>
#include <vector>

class TConfigDataUnit;

// A USB-to-I2C bridge the kernel shows, as the adapters command reports it:
// whether its device node opens (and why not), how much one transfer through
// it carries, and which registers of the map are too long for that.
struct TBridgeReport {
    std::string device;  // "/dev/i2c-3"
    std::string busName; // the name its driver gave the bus
    std::string chip;    // "CP2112"
    bool opens = false;
    std::string problem; // why it does not open
    int maxWrite = 0, maxRead = 0;
    std::vector<int> tooLong; // sub-addresses that cannot be sent or read through it

    std::string Line() const;
};

// Every bridge among the kernel's buses, in bus order. Only opens and closes
// the device nodes: nothing is sent. `table` may be null (no map at hand).
std::vector<TBridgeReport> DescribeBridges(IKernelI2c& kernel, const TConfigDataUnit* table);
