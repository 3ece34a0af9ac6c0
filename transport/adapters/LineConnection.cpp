#include "LineConnection.h"

#include "VirtualAdapterProtocol.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

LineConnection::~LineConnection() {
    Close();
}

int LineConnection::Connect(const std::string& socketPath) {
    Close();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path)
        return -ENAMETOOLONG;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return -errno;
    if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
        const int error = errno;
        ::close(descriptor);
        return -error;
    }
    descriptor_ = descriptor;
    return 0;
}

void LineConnection::Close() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
    received_.clear();
}

int LineConnection::SendLine(std::string_view line) {
    if (descriptor_ < 0)
        return -ENOTCONN;
    std::string text(line);
    text += '\n';
    size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = ::send(descriptor_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -errno;
        }
        sent += static_cast<size_t>(n);
    }
    return 0;
}

int LineConnection::ReadLine(std::string& line, std::chrono::milliseconds timeout) {
    if (descriptor_ < 0)
        return -ENOTCONN;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const size_t end = received_.find('\n');
        if (end != std::string::npos) {
            line.assign(received_, 0, end);
            received_.erase(0, end + 1);
            return 0;
        }
        if (received_.size() > VirtualAdapter::MaxReplyLength)
            return -EMSGSIZE;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return -ETIMEDOUT;
        pollfd ready{descriptor_, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled < 0)
            return -errno;
        if (polled == 0)
            return -ETIMEDOUT;
        char chunk[4096];
        const ssize_t n = ::recv(descriptor_, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -errno;
        if (n == 0)
            return -ECONNRESET;
        received_.append(chunk, static_cast<size_t>(n));
    }
}

int LineConnection::Exchange(std::string_view request, std::string& reply,
                             std::chrono::milliseconds timeout) {
    const int sent = SendLine(request);
    return sent < 0 ? sent : ReadLine(reply, timeout);
}
