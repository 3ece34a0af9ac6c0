#pragma once

#include <optional>
#include <string>
#include <vector>

// The simulator program's command line.
struct SimulatorOptions {
    std::string socketPath; // empty: the usual place (SimulatorSocketPath)
    std::optional<int> sampleRate;
    std::optional<int> mclkRatio;
    std::vector<std::string> nacks;  // as for SIM NACK: a sub-address in hex, ALL or OFF
    std::optional<std::string> send; // a line for a running simulator instead of serving
    bool quiet = false;
    bool help = false;
};

inline constexpr const char* SimulatorUsage =
    "usage: qmx4600-sim [--socket PATH] [--rate HZ] [--mclk RATIO] [--nack SUB|all|off]... [--quiet]\n"
    "       qmx4600-sim [--socket PATH] --send LINE\n"
    "Serves a simulated QMX4600 as a virtual USB-to-I2C adapter on a Unix socket\n"
    "(default $QMX4600_SIM_SOCKET, $XDG_RUNTIME_DIR/qmx4600-sim.sock or /tmp/qmx4600-sim-<uid>.sock).\n"
    "With --send it serves nothing: it sends LINE to the simulator running there and prints the reply\n"
    "(for \"SIM LOG\" also the record lines), e.g. --send \"SIM RATE 192000\", \"SIM NACK d9\", \"SIM "
    "LOG\";\n"
    "exit code 1 when no simulator answers or the reply is an ERROR.\n"
    "  --socket PATH   serve on PATH (with --send: send to the simulator serving PATH)\n"
    "  --rate HZ       sample rate shown in register 0x00 (32000 ... 192000)\n"
    "  --mclk RATIO    MCLK ratio shown in register 0x00 (64 ... 768)\n"
    "  --nack SUB      stop acknowledging sub-address SUB (hex), all of them, or none (off)\n"
    "  --quiet         do not print each transfer\n"
    "  --send LINE     send one request line to the running simulator\n"
    "  --help          show this text\n"
    "The register sizes come from QMX4600.addr in the current directory, beside the program or in the\n"
    "installed data (share/qmx4600 beside the bin folder).\n";

// The options, or the reason the command line was not understood.
std::optional<SimulatorOptions> ParseSimulatorOptions(const std::vector<std::string>& arguments,
                                                      std::string& error);
