#pragma once

#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// Runs the simulator program as a child process, for tests and benchmarks
// that need a real one: started on a given socket, ready once it has said
// "serving", stopped with SIGTERM as a user would stop it.
class SimulatorProcess {
public:
    static constexpr std::chrono::seconds OutputWait{10};

    SimulatorProcess(std::string executable, std::string socketPath);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // Starts `executable --socket <path> <arguments>` and waits for its
    // "serving" line. False when it ended instead, or said something else or
    // nothing in time and was killed; ExitCode() then says how it ended.
    bool Start(const std::vector<std::string>& arguments = {});
    // Sends the signal (SIGTERM unless told), then waits for the end; the
    // exit code (-1 when not running).
    int Stop(int signal = SIGTERM);
    // Sends the signal and returns at once: SIGSTOP freezes the program (a
    // simulator too busy to answer), SIGCONT lets it go on.
    void Signal(int signal);
    bool IsRunning() const { return pid_ > 0; }
    std::optional<int> ExitCode() const { return exitCode_; }

    // The next line the program printed, waiting up to OutputWait for it.
    std::optional<std::string> ReadOutputLine();

    const std::string& SocketPath() const { return socketPath_; }

private:
    int Wait();

    std::string executable_;
    std::string socketPath_;
    pid_t pid_ = -1;
    int output_ = -1;
    std::string received_;
    std::optional<int> exitCode_;
};
