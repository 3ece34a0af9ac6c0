#pragma once

#include <string>

// Where the simulator program serves its socket: $QMX4600_SIM_SOCKET when
// set, else qmx4600-sim.sock in $XDG_RUNTIME_DIR when that is a directory,
// else /tmp/qmx4600-sim-<uid>.sock. The simulator, the adapter that talks to
// it and the device-change watch all ask here, so they always agree.
std::string SimulatorSocketPath();
