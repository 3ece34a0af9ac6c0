#include "SimulatorClient.h"

#include "LineConnection.h"
#include "VirtualAdapterProtocol.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace {

// A person waits; a busy machine may be slow to answer.
constexpr std::chrono::seconds ReplyWait{5};

// The number of record lines a "LOG <n>" reply announces; none for any other reply.
std::optional<int> AnnouncedLines(const std::string& reply) {
    const std::vector<std::string_view> fields = VirtualAdapter::SplitFields(reply);
    if (fields.size() != 2 || fields[0] != "LOG")
        return std::nullopt;
    return VirtualAdapter::ParseDecimal(fields[1], std::numeric_limits<int>::max());
}

} // namespace

int SendToSimulator(const std::string& socketPath, const std::string& line) {
    LineConnection connection;
    if (const int connected = connection.Connect(socketPath, ReplyWait); connected < 0) {
        std::fprintf(stderr, "qmx4600-sim: no simulator serves %s: %s\n", socketPath.c_str(),
                     std::strerror(-connected));
        return 1;
    }
    std::string reply;
    if (const int asked = connection.Exchange(line, reply, ReplyWait); asked < 0) {
        std::fprintf(stderr, "qmx4600-sim: no reply from %s: %s\n", socketPath.c_str(),
                     std::strerror(-asked));
        return 1;
    }
    std::printf("%s\n", reply.c_str());
    const bool refused = reply.starts_with("ERROR");
    const int lines = AnnouncedLines(reply).value_or(0);
    for (int i = 0; i < lines; ++i) {
        std::string record;
        if (const int read = connection.ReadLine(record, ReplyWait); read < 0) {
            std::fprintf(stderr, "qmx4600-sim: record ended after %d of %d lines: %s\n", i, lines,
                         std::strerror(-read));
            return 1;
        }
        std::printf("%s\n", record.c_str());
    }
    return refused ? 1 : 0;
}
