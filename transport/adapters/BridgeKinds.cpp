#include "BridgeKinds.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

// Limits as the drivers of the Debian 12 kernel (6.1) handle them. Every one
// of these takes a one-byte sub-address as the write part of a combined
// write-read with a repeated start (CP2112 up to 16 bytes, FT260 up to 2).
constexpr BridgeKind Bridges[] = {
    // hid-cp2112: a write report carries at most 61 bytes, a read 1 to 512.
    // The first chip revision has no repeated start; the driver refuses
    // combined transfers there, and the adapter reports that as a failure.
    {"CP2112", "cp2112", 61, 512},
    // hid-ft260: an output report carries 60 data bytes and the driver sends
    // each report of a longer write as a transaction of its own; reads beyond
    // 180 bytes are re-addressed as if the device counted up by itself.
    {"FT260", "ft260", 60, 180},
    // hid-mcp2221: one output report carries 60 data bytes (longer writes
    // depend on the chip joining reports); the chip reads up to 65535 bytes
    // in one transaction.
    {"MCP2221", "mcp2221", 60, 65535},
    // The CH341 has no I2C driver in this kernel, and the drivers built
    // outside it do not state their limits. Messages are kept within one of
    // the chip's 32-byte USB packets.
    {"CH341", "ch341", 32, 32},
};

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

} // namespace

const BridgeKind* FindBridgeKind(std::string_view busName) {
    const std::string name = Lowered(busName);
    for (const BridgeKind& kind : Bridges)
        if (name.find(kind.namePart) != std::string::npos)
            return &kind;
    return nullptr;
}
