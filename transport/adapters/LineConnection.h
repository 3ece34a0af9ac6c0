#pragma once

#include <chrono>
#include <string>
#include <string_view>

// The client end of a Unix stream socket that carries text lines. Received
// bytes are buffered, so a reply is read with few system calls however it
// arrives. All results are 0 or a negated errno value.
class LineConnection {
public:
    LineConnection() = default;
    ~LineConnection();
    LineConnection(const LineConnection&) = delete;
    LineConnection& operator=(const LineConnection&) = delete;

    // -ENOENT or -ECONNREFUSED when nobody serves the path.
    int Connect(const std::string& socketPath);
    void Close();
    bool IsOpen() const { return descriptor_ >= 0; }

    // Sends the line with its line feed.
    int SendLine(std::string_view line);
    // The next line without its line feed: -ETIMEDOUT when none comes in
    // time, -ECONNRESET when the other end closed, -EMSGSIZE when the line
    // is longer than the protocol allows.
    int ReadLine(std::string& line, std::chrono::milliseconds timeout);
    // SendLine, then ReadLine.
    int Exchange(std::string_view request, std::string& reply, std::chrono::milliseconds timeout);

private:
    int descriptor_ = -1;
    std::string received_;
};
