#pragma once

#include "TestSockets.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

// A stand-in for the simulator that answers each request line as its
// responder says: a reply line, Close (the connection is closed), or Silence
// (the request is never answered). Serves one client at a time.
class FakeLineServer {
public:
    enum class Action { Reply, Close, Silence };
    struct Response {
        Action action = Action::Reply;
        std::string line;
    };
    using Responder = std::function<Response(const std::string& request)>;

    FakeLineServer(const std::string& socketPath, Responder responder) : responder_(std::move(responder)) {
        const sockaddr_un address = TestSocketAddress(socketPath);
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        ::listen(listener_, 4);
        thread_ = std::thread([this] { Serve(); });
    }

    ~FakeLineServer() {
        ::shutdown(listener_, SHUT_RDWR);
        if (client_ >= 0)
            ::shutdown(client_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }

private:
    void Serve() {
        for (;;) {
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                return;
            client_ = client;
            Answer(client);
            client_ = -1;
            ::close(client);
        }
    }

    void Answer(int client) {
        std::string received;
        char chunk[512];
        for (;;) {
            const ssize_t n = ::recv(client, chunk, sizeof chunk, 0);
            if (n <= 0)
                return;
            received.append(chunk, static_cast<size_t>(n));
            for (size_t end; (end = received.find('\n')) != std::string::npos;) {
                const Response response = responder_(received.substr(0, end));
                received.erase(0, end + 1);
                if (response.action == Action::Close)
                    return;
                if (response.action == Action::Reply) {
                    const std::string line = response.line + "\n";
                    ::send(client, line.data(), line.size(), MSG_NOSIGNAL);
                }
            }
        }
    }

    Responder responder_;
    int listener_ = -1;
    std::atomic<int> client_{-1};
    std::thread thread_;
};
