// qmx4600-sim: a QMX4600 behind a virtual USB-to-I2C adapter, for working on
// the tool and testing it without hardware.
#include "SimulatedQmx4600.h"
#include "SimulatorClient.h"
#include "SimulatorCommands.h"
#include "SimulatorOptions.h"
#include "SimulatorServer.h"
#include "SimulatorSocketPath.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr const char* MapFileName = "QMX4600.addr";

// The register map in the current directory, else the one beside the program
// (a build folder), else the one installed with it (share/qmx4600 beside the
// bin folder the program runs from).
std::string FindMapFile() {
    if (std::ifstream(MapFileName))
        return MapFileName;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    for (const std::filesystem::path& folder :
         {program.parent_path(), program.parent_path().parent_path() / QMX_INSTALLED_DATA_DIR}) {
        const std::string candidate = (folder / MapFileName).string();
        if (std::ifstream(candidate))
            return candidate;
    }
    return {};
}

// Applies the device settings of the command line through the same controls
// a client has, so they mean exactly what the SIM lines mean.
bool Apply(const SimulatorOptions& options, SimulatorCommands& commands) {
    std::vector<std::string> controls;
    if (options.sampleRate)
        controls.push_back("SIM RATE " + std::to_string(*options.sampleRate));
    if (options.mclkRatio)
        controls.push_back("SIM MCLK " + std::to_string(*options.mclkRatio));
    for (const std::string& nack : options.nacks)
        controls.push_back("SIM NACK " + nack);
    for (const std::string& control : controls) {
        const std::string reply = commands.Handle(control).reply;
        if (reply != "OK\n") {
            std::fprintf(stderr, "qmx4600-sim: %s: %s", control.c_str(), reply.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    // A reader of the transfer lines that goes away must not end the device.
    std::signal(SIGPIPE, SIG_IGN);
    std::string error;
    const std::optional<SimulatorOptions> options =
        ParseSimulatorOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "qmx4600-sim: %s\n%s", error.c_str(), SimulatorUsage);
        return 2;
    }
    if (options->help) {
        std::fputs(SimulatorUsage, stdout);
        return 0;
    }
    const std::string socketPath = options->socketPath.empty() ? SimulatorSocketPath() : options->socketPath;
    if (options->send)
        return SendToSimulator(socketPath, *options->send);
    const std::string mapFile = FindMapFile();
    if (mapFile.empty()) {
        std::fprintf(stderr,
                     "qmx4600-sim: %s not found in the current directory, beside the program or in its "
                     "installed data\n",
                     MapFileName);
        return 1;
    }
    SimulatedQmx4600 device(SimulatedQmx4600::SizesFromMapFile(mapFile));
    SimulatorCommands commands(device);
    if (!Apply(*options, commands))
        return 2;
    SimulatorServer server(commands, options->quiet);
    return server.Run(socketPath);
}
