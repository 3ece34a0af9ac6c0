#pragma once

#include "SimulatedQmx4600.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The requests of the virtual adapter protocol, answered by one simulated
// device: the four adapter calls and the SIM lines that steer the device.
// Every adapter call is recorded as "<request as received> -> <outcome>"
// ("READ 1b 00 1 -> STATUS 0", "RESET -> OK") until a SIM LOG takes the
// record; the record keeps the newest calls whose lines (with their line
// feeds) come to at most MaxRecordBytes, so the SIM LOG reply stays small
// enough for the server to send in full.
class SimulatorCommands {
public:
    static constexpr std::size_t MaxRecordBytes = 512 * 1024;

    struct Answer {
        std::string reply;                 // one line, or LOG and its lines; each line ends with '\n'
        std::optional<std::string> record; // the record line of an adapter call
    };

    explicit SimulatorCommands(SimulatedQmx4600& device);

    Answer Handle(std::string_view request);

private:
    std::string Connect();
    std::string Reset();
    std::string Write(const std::vector<std::string_view>& fields);
    std::string Read(const std::vector<std::string_view>& fields);
    std::string Simulator(const std::vector<std::string_view>& fields);
    std::string Nack(std::string_view what);
    std::string Dump() const;
    std::string TakeLog();

    SimulatedQmx4600& device_;
    std::deque<std::string> record_;
    std::size_t recordBytes_ = 0;
};
