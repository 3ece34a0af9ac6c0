#include "LineConnection.h"

#include "UnixSocketAddress.h"
#include "VirtualAdapterProtocol.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// What is left of the time until the deadline, rounded up so that a wait
// never ends before it; zero once it has passed.
std::chrono::milliseconds Left(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? left : std::chrono::milliseconds(0);
}

// Waits for the descriptor to become ready for `events`: 0, -ETIMEDOUT or
// the poll error.
int WaitFor(int descriptor, short events, Clock::time_point deadline) {
    for (;;) {
        const std::chrono::milliseconds left = Left(deadline);
        if (left.count() == 0)
            return -ETIMEDOUT;
        pollfd ready{descriptor, events, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (polled > 0)
            return 0;
        if (polled == 0)
            return -ETIMEDOUT;
        if (errno != EINTR)
            return -errno;
    }
}

} // namespace

LineConnection::~LineConnection() {
    Close();
}

LineConnection::LineConnection(LineConnection&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), received_(std::move(other.received_)) {
    other.received_.clear();
}

LineConnection& LineConnection::operator=(LineConnection&& other) noexcept {
    if (this != &other) {
        Close();
        descriptor_ = std::exchange(other.descriptor_, -1);
        received_ = std::move(other.received_);
        other.received_.clear();
    }
    return *this;
}

int LineConnection::Connect(const std::string& socketPath, std::chrono::milliseconds timeout) {
    Close();
    const std::optional<sockaddr_un> socketAddress = UnixSocketAddress(socketPath);
    if (!socketAddress)
        return -ENAMETOOLONG;
    const sockaddr_un& address = *socketAddress;
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return -errno;
    // A Unix socket connects at once unless the server's backlog is full (a
    // stopped server); then connect() waits for room. A non-blocking connect
    // would only answer EAGAIN, with nothing to poll for, so the wait is
    // bounded by the send timeout, which the kernel applies to it.
    const auto deadline = Clock::now() + timeout;
    int result = 0;
    for (;;) {
        const std::chrono::milliseconds left = Left(deadline);
        if (left.count() == 0) {
            result = -ETIMEDOUT;
            break;
        }
        const timeval limit{static_cast<time_t>(left.count() / 1000),
                            static_cast<suseconds_t>(left.count() % 1000 * 1000)};
        if (::setsockopt(descriptor, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) < 0) {
            result = -errno;
            break;
        }
        if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            break;
        if (errno != EINTR) {
            result = errno == EAGAIN ? -ETIMEDOUT : -errno;
            break;
        }
    }
    if (result < 0) {
        ::close(descriptor);
        return result;
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

int LineConnection::SendLine(std::string_view line, std::chrono::milliseconds timeout) {
    return SendLineBy(line, Clock::now() + timeout);
}

int LineConnection::ReadLine(std::string& line, std::chrono::milliseconds timeout) {
    return ReadLineBy(line, Clock::now() + timeout);
}

int LineConnection::Exchange(std::string_view request, std::string& reply,
                             std::chrono::milliseconds timeout) {
    // Bytes that came after the last reply answer no request of ours: taken as
    // the next reply they would put every later answer one request behind.
    if (!received_.empty()) {
        Close();
        return -EPROTO;
    }
    const auto deadline = Clock::now() + timeout;
    const int sent = SendLineBy(request, deadline);
    return sent < 0 ? sent : ReadLineBy(reply, deadline);
}

int LineConnection::SendLineBy(std::string_view line, Clock::time_point deadline) {
    if (descriptor_ < 0)
        return -ENOTCONN;
    std::string text(line);
    text += '\n';
    size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n =
            ::send(descriptor_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return -errno;
        if (const int waited = WaitFor(descriptor_, POLLOUT, deadline); waited < 0)
            return waited;
    }
    return 0;
}

int LineConnection::ReadLineBy(std::string& line, Clock::time_point deadline) {
    if (descriptor_ < 0)
        return -ENOTCONN;
    for (;;) {
        const size_t end = received_.find('\n');
        if (end != std::string::npos) {
            const bool carriageReturn = end > 0 && received_[end - 1] == '\r';
            line.assign(received_, 0, carriageReturn ? end - 1 : end);
            received_.erase(0, end + 1);
            return 0;
        }
        if (received_.size() > VirtualAdapter::MaxReplyLength)
            return -EMSGSIZE;
        if (const int waited = WaitFor(descriptor_, POLLIN, deadline); waited < 0)
            return waited;
        char chunk[4096];
        const ssize_t n = ::recv(descriptor_, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (n < 0)
            return -errno;
        if (n == 0)
            return -ECONNRESET;
        received_.append(chunk, static_cast<size_t>(n));
    }
}
