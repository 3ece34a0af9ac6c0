#include "SimulatorProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

SimulatorProcess::SimulatorProcess(std::string executable, std::string socketPath)
    : executable_(std::move(executable)), socketPath_(std::move(socketPath)) {}

SimulatorProcess::~SimulatorProcess() {
    Stop();
}

bool SimulatorProcess::Start(const std::vector<std::string>& arguments) {
    Stop();
    exitCode_.reset();
    received_.clear();
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) < 0)
        return false;
    std::vector<std::string> words{executable_, "--socket", socketPath_};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    const int spawned = posix_spawn(&pid_, executable_.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    output_ = pipe[0];
    if (spawned != 0) {
        pid_ = -1;
        ::close(output_);
        output_ = -1;
        return false;
    }
    const std::optional<std::string> first = ReadOutputLine();
    if (first && first->starts_with("serving "))
        return true;
    // It has ended, or hangs without serving; either way it is done with.
    ::kill(pid_, SIGKILL);
    Wait();
    return false;
}

std::optional<std::string> SimulatorProcess::ReadOutputLine() {
    const auto deadline = std::chrono::steady_clock::now() + OutputWait;
    while (output_ >= 0) {
        const size_t end = received_.find('\n');
        if (end != std::string::npos) {
            std::string line = received_.substr(0, end);
            received_.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd ready{output_, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return std::nullopt;
        char chunk[4096];
        const ssize_t n = ::read(output_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        received_.append(chunk, static_cast<size_t>(n));
    }
    return std::nullopt;
}

int SimulatorProcess::Wait() {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (output_ >= 0)
        ::close(output_);
    output_ = -1;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return *exitCode_;
}

void SimulatorProcess::Signal(int signal) {
    if (pid_ > 0)
        ::kill(pid_, signal);
}

int SimulatorProcess::Stop(int signal) {
    if (pid_ <= 0)
        return -1;
    // A program frozen by SIGSTOP would keep the signal pending for ever; it
    // goes on first (SIGCONT does nothing to one that runs).
    ::kill(pid_, SIGCONT);
    ::kill(pid_, signal);
    return Wait();
}
