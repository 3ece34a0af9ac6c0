#pragma once

#include <string_view>

// A USB-to-I2C bridge chip the kernel exposes as an i2c-dev bus, and how much
// one I2C message may carry through its driver without being split into
// separate bus transactions. A register that does not fit is refused: it is
// never sent cut short.
struct BridgeKind {
    std::string_view chip;     // the chip as users know it, "CP2112"
    std::string_view namePart; // lower-case piece of the bus name its driver gives
    int maxWriteLength;        // one write message, sub-address byte included
    int maxReadLength;         // the read message of a combined write-read
};

// The bridge a bus name belongs to, or null for other buses (graphics DDC,
// the chipset's SMBus, ...). The name is compared without regard to case.
const BridgeKind* FindBridgeKind(std::string_view busName);
