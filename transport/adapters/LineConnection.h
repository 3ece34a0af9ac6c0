#pragma once

#include <chrono>
#include <string>
#include <string_view>

// The client end of a Unix stream socket that carries text lines. Received
// bytes are buffered, so a reply is read with few system calls however it
// arrives. Every call that waits for the other end waits no longer than it is
// given: a stopped server must not stop its client. All results are 0 or a
// negated errno value; -ETIMEDOUT when the time ran out.
class LineConnection {
public:
    LineConnection() = default;
    ~LineConnection();
    LineConnection(const LineConnection&) = delete;
    LineConnection& operator=(const LineConnection&) = delete;
    // Takes over the other's socket and what it has received; the other is
    // left closed.
    LineConnection(LineConnection&& other) noexcept;
    LineConnection& operator=(LineConnection&& other) noexcept;

    // -ENOENT or -ECONNREFUSED when nobody serves the path.
    int Connect(const std::string& socketPath, std::chrono::milliseconds timeout);
    void Close();
    bool IsOpen() const { return descriptor_ >= 0; }

    // Sends the line with its line feed.
    int SendLine(std::string_view line, std::chrono::milliseconds timeout);
    // The next line without its line feed (nor a carriage return before it):
    // -ECONNRESET when the other end closed, -EMSGSIZE when the line is
    // longer than the protocol allows.
    int ReadLine(std::string& line, std::chrono::milliseconds timeout);
    // One request and its reply, both within the timeout. When bytes are
    // already waiting before the request goes out (a reply nobody asked
    // for), the connection is closed and the result is -EPROTO.
    int Exchange(std::string_view request, std::string& reply, std::chrono::milliseconds timeout);

private:
    int SendLineBy(std::string_view line, std::chrono::steady_clock::time_point deadline);
    int ReadLineBy(std::string& line, std::chrono::steady_clock::time_point deadline);

    int descriptor_ = -1;
    std::string received_;
};
