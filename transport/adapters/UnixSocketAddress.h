#pragma once

#include <cstring>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>

// The address of the Unix stream socket at `path`, shared by the simulator
// and the adapter that talks to it; nothing when the path is empty or too
// long for a socket address.
inline std::optional<sockaddr_un> UnixSocketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return std::nullopt;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}
