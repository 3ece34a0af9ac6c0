#pragma once

#include "TestSockets.h"

#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

// A stand-in for the simulator that answers each request line as its
// responder says: a reply line, Close (the connection is closed), or Silence
// (the request is never answered). A responder may take its time (to answer
// late); the responder is called on the thread of the client it answers.
// Serves any number of clients at once, each on a thread of its own, or
// (OneAtATime, a server that is busy with its client) the next client only
// once the one before has gone.
class FakeLineServer {
public:
    enum class Action { Reply, Close, Silence };
    enum class Clients { AllAtOnce, OneAtATime };
    struct Response {
        Action action = Action::Reply;
        std::string line;
    };
    using Responder = std::function<Response(const std::string& request)>;

    FakeLineServer(const std::string& socketPath, Responder responder, Clients clients = Clients::AllAtOnce)
        : responder_(std::move(responder)), clients_(clients) {
        const sockaddr_un address = TestSocketAddress(socketPath);
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        ::listen(listener_, 4);
        thread_ = std::thread([this] { Serve(); });
    }

    ~FakeLineServer() {
        ::shutdown(listener_, SHUT_RDWR);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            for (int client : open_)
                ::shutdown(client, SHUT_RDWR);
        }
        thread_.join();
        for (std::thread& thread : clientThreads_)
            thread.join();
        ::close(listener_);
    }

private:
    void Serve() {
        for (;;) {
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                return;
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                open_.insert(client);
                if (stopping_)
                    ::shutdown(client, SHUT_RDWR);
            }
            if (clients_ == Clients::OneAtATime)
                Answer(client);
            else
                clientThreads_.emplace_back([this, client] { Answer(client); });
        }
    }

    // Answers the client until it goes or is dropped, then closes it.
    void Answer(int client) {
        Converse(client);
        const std::lock_guard<std::mutex> lock(mutex_);
        open_.erase(client);
        ::close(client);
    }

    void Converse(int client) {
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
    Clients clients_;
    int listener_ = -1;
    std::thread thread_;
    std::vector<std::thread> clientThreads_; // used by the serving thread only, then joined
    std::mutex mutex_;
    std::set<int> open_; // clients not yet closed
    bool stopping_ = false;
};
