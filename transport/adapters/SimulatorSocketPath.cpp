#include "SimulatorSocketPath.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

std::string SimulatorSocketPath() {
    if (const char* path = std::getenv("QMX4600_SIM_SOCKET"); path && *path)
        return path;
    std::error_code error;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime && *runtime && std::filesystem::is_directory(runtime, error))
        return std::string(runtime) + "/qmx4600-sim.sock";
    return "/tmp/qmx4600-sim-" + std::to_string(::getuid()) + ".sock";
}
