#pragma once

#include "UnixSocketAddress.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/socket.h>
#include <unistd.h>

// The address of a test's socket path, which always fits.
inline sockaddr_un TestSocketAddress(const std::string& path) {
    const std::optional<sockaddr_un> address = UnixSocketAddress(path);
    EXPECT_TRUE(address.has_value()) << path;
    return address.value_or(sockaddr_un{});
}

// A socket file left at the path by a simulator that is gone.
inline void LeaveStaleSocket(const std::string& path) {
    const sockaddr_un address = TestSocketAddress(path);
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
}
