#pragma once

#include "SimulatorCommands.h"

#include <string>

// Serves the simulated device on a Unix stream socket to any number of
// clients at once, one request line and one reply at a time per client, all
// on one thread. Prints every adapter call it answers on standard output
// unless quiet.
class SimulatorServer {
public:
    SimulatorServer(SimulatorCommands& commands, bool quiet);

    // Takes the socket path (removing a socket file that nobody serves any
    // more, refusing one that a running simulator serves or that is not a
    // socket), prints "serving <path>", answers until SIGINT, SIGTERM, SIGHUP or SIGQUIT and
    // removes the socket again. The program's exit code.
    int Run(const std::string& socketPath);

private:
    SimulatorCommands& commands_;
    bool quiet_;
};
