#pragma once

#include <string>

// The simulator program as its own client, for steering a running simulator
// from a shell while the tool uses it: sends one request line to the
// simulator serving `socketPath` and prints its reply on standard output, for
// SIM LOG with the record lines that follow it. The program's exit code: 0,
// or 1 when nobody serves the socket, no full reply comes or it is an ERROR.
int SendToSimulator(const std::string& socketPath, const std::string& line);
