#include "SimulatorServer.h"

#include "UnixSocketAddress.h"
#include "VirtualAdapterProtocol.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <list>
#include <optional>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

// How long the listener is left alone when no descriptor is left for a new
// client: it stays readable, and accepting again at once would only spin.
constexpr std::chrono::milliseconds AcceptPause{100};

// Replies a client has not taken yet; a client that sends requests without
// reading the replies is dropped before this much piles up.
constexpr size_t MaxPendingReplyBytes = 1 << 20;
// A full SIM LOG reply ("LOG <n>" and the record) must never be taken for that.
static_assert(SimulatorCommands::MaxRecordBytes + 64 < MaxPendingReplyBytes);

struct Client {
    int descriptor;
    std::string received;
    std::string pending;
    bool closing = false;
};

// Whether a simulator answers on the socket file.
bool SomeoneServes(const sockaddr_un& address) {
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return false;
    const bool served = ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return served;
}

// The listening socket at the path, or -1 after saying why not.
int ClaimSocket(const std::string& path, struct stat& claimed) {
    const std::optional<sockaddr_un> socketAddress = UnixSocketAddress(path);
    if (!socketAddress) {
        std::fprintf(stderr, "qmx4600-sim: socket path too long: %s\n", path.c_str());
        return -1;
    }
    const sockaddr_un& address = *socketAddress;
    struct stat existing;
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode)) {
            std::fprintf(stderr, "qmx4600-sim: %s exists and is not a socket; not touching it\n",
                         path.c_str());
            return -1;
        }
        if (SomeoneServes(address)) {
            std::fprintf(stderr, "qmx4600-sim: another simulator is serving %s\n", path.c_str());
            return -1;
        }
        ::unlink(path.c_str());
    }
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // The socket is the device: only its owner may drive it.
    const mode_t mask = ::umask(077);
    const bool bound =
        listener >= 0 && ::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(listener, 16) < 0 || ::lstat(path.c_str(), &claimed) < 0) {
        std::fprintf(stderr, "qmx4600-sim: cannot serve %s: %s\n", path.c_str(), std::strerror(errno));
        if (listener >= 0)
            ::close(listener);
        return -1;
    }
    return listener;
}

// Removes the socket file, unless another simulator has replaced it since.
void ReleaseSocket(const std::string& path, const struct stat& claimed) {
    struct stat now;
    if (::lstat(path.c_str(), &now) == 0 && now.st_dev == claimed.st_dev && now.st_ino == claimed.st_ino)
        ::unlink(path.c_str());
}

// The signals that end the simulator the orderly way, its socket removed: a
// closed terminal (SIGHUP) and Ctrl-\ (SIGQUIT) as well as Ctrl-C and kill.
int StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaddset(&signals, signal);
    if (::sigprocmask(SIG_BLOCK, &signals, nullptr) < 0)
        return -1;
    return ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
}

void Flush(Client& client) {
    while (!client.pending.empty()) {
        const ssize_t n =
            ::send(client.descriptor, client.pending.data(), client.pending.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                client.closing = true;
                client.pending.clear();
            }
            return;
        }
        client.pending.erase(0, static_cast<size_t>(n));
    }
}

} // namespace

SimulatorServer::SimulatorServer(SimulatorCommands& commands, bool quiet)
    : commands_(commands), quiet_(quiet) {}

int SimulatorServer::Run(const std::string& socketPath) {
    const int stop = StopSignals();
    if (stop < 0) {
        std::fprintf(stderr, "qmx4600-sim: cannot handle the stop signals: %s\n", std::strerror(errno));
        return 1;
    }
    struct stat claimed;
    const int listener = ClaimSocket(socketPath, claimed);
    if (listener < 0) {
        ::close(stop);
        return 1;
    }
    std::printf("serving %s\n", socketPath.c_str());
    std::fflush(stdout);

    std::list<Client> clients;
    const std::string tooLong =
        "ERROR request longer than " + std::to_string(VirtualAdapter::MaxRequestLength) + " characters\n";
    const auto answer = [&](Client& client, std::string_view line) {
        const SimulatorCommands::Answer answer = commands_.Handle(line);
        if (answer.record && !quiet_) {
            std::printf("%s\n", answer.record->c_str());
            std::fflush(stdout);
        }
        client.pending += answer.reply;
    };
    const auto takeInput = [&](Client& client) {
        char chunk[4096];
        const ssize_t n = ::recv(client.descriptor, chunk, sizeof chunk, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (n <= 0) {
            client.closing = true;
            client.pending.clear();
            return;
        }
        if (client.closing)
            return;
        client.received.append(chunk, static_cast<size_t>(n));
        size_t start = 0;
        for (size_t end; !client.closing && (end = client.received.find('\n', start)) != std::string::npos;
             start = end + 1) {
            std::string_view line(client.received.data() + start, end - start);
            if (line.ends_with('\r'))
                line.remove_suffix(1);
            if (line.size() > VirtualAdapter::MaxRequestLength) {
                client.pending += tooLong;
                client.closing = true;
            } else {
                answer(client, line);
            }
        }
        client.received.erase(0, start);
        if (!client.closing && client.received.size() > VirtualAdapter::MaxRequestLength) {
            client.pending += tooLong;
            client.closing = true;
        }
        if (client.pending.size() > MaxPendingReplyBytes) {
            client.pending.clear();
            client.closing = true;
        }
    };

    std::optional<std::chrono::steady_clock::time_point> acceptAgainAt;
    bool toldOutOfDescriptors = false;
    for (bool running = true; running;) {
        int waitMs = -1;
        if (acceptAgainAt) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*acceptAgainAt -
                                                                           std::chrono::steady_clock::now());
            if (left.count() > 0)
                waitMs = static_cast<int>(left.count());
            else
                acceptAgainAt.reset();
        }
        // poll() passes over a negative descriptor: the listener while paused.
        std::vector<pollfd> waits{{stop, POLLIN, 0}, {acceptAgainAt ? -1 : listener, POLLIN, 0}};
        for (const Client& client : clients)
            waits.push_back(
                {client.descriptor, static_cast<short>(POLLIN | (client.pending.empty() ? 0 : POLLOUT)), 0});
        if (::poll(waits.data(), waits.size(), waitMs) < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "qmx4600-sim: poll failed: %s\n", std::strerror(errno));
            break;
        }
        if (waits[0].revents & POLLIN)
            running = false;
        auto wait = waits.begin() + 2;
        for (auto client = clients.begin(); client != clients.end(); ++wait) {
            if (wait->revents & (POLLIN | POLLHUP | POLLERR))
                takeInput(*client);
            Flush(*client);
            if (client->closing && (client->pending.empty() || (wait->revents & (POLLHUP | POLLERR)))) {
                ::close(client->descriptor);
                client = clients.erase(client);
            } else {
                ++client;
            }
        }
        if (waits[1].revents & POLLIN) {
            const int descriptor = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (descriptor >= 0) {
                clients.push_back({descriptor, {}, {}});
                toldOutOfDescriptors = false;
            } else if (errno == EMFILE || errno == ENFILE) {
                if (!toldOutOfDescriptors)
                    std::fprintf(stderr, "qmx4600-sim: cannot take a new client: %s\n", std::strerror(errno));
                toldOutOfDescriptors = true;
                acceptAgainAt = std::chrono::steady_clock::now() + AcceptPause;
            }
        }
    }

    for (const Client& client : clients)
        ::close(client.descriptor);
    ::close(listener);
    ReleaseSocket(socketPath, claimed);
    ::close(stop);
    return 0;
}
