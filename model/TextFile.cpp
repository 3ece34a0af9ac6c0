#include "TextFile.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

std::optional<std::string> ReadTextFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string raw;
    char chunk[8192];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        raw.append(chunk, static_cast<size_t>(in.gcount()));
        if (raw.size() > MaxTextFileBytes)
            return std::nullopt;
    }
    if (in.bad())
        return std::nullopt;
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i)
        if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n'))
            text.push_back(raw[i]);
    return text;
}

SafeFileWriter::SafeFileWriter(std::string fileName) : fileName_(std::move(fileName)) {
    if (fileName_.empty())
        return;
    tempName_ = fileName_ + ".saving-" + std::to_string(::getpid());
    stream_.open(tempName_, std::ios::binary | std::ios::trunc);
}

SafeFileWriter::~SafeFileWriter() {
    if (!tempName_.empty()) {
        stream_.close();
        std::remove(tempName_.c_str());
    }
}

bool SafeFileWriter::Commit() {
    if (!stream_.is_open())
        return false;
    stream_.flush();
    const bool written = static_cast<bool>(stream_);
    stream_.close();
    if (!written || stream_.fail())
        return false;
    const int fd = ::open(tempName_.c_str(), O_RDONLY);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!synced || std::rename(tempName_.c_str(), fileName_.c_str()) != 0)
        return false;
    tempName_.clear();
    return true;
}
