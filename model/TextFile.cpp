#include "TextFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
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

namespace {

// The file a save really replaces: the target itself, or the file a
// symbolic link at the target points to.
std::string ResolvedTarget(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::is_symlink(fileName, error))
        return fileName;
    const std::filesystem::path link = std::filesystem::read_symlink(fileName, error);
    if (error)
        return fileName;
    return link.is_absolute() ? link.string()
                              : (std::filesystem::path(fileName).parent_path() / link).string();
}

mode_t CreationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, const std::string& text) {
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

SafeFileWriter::SafeFileWriter(const std::string& fileName) : target_(ResolvedTarget(fileName)) {
    if (fileName.empty())
        return;
    const std::filesystem::path folder = std::filesystem::path(target_).parent_path();
    std::string pattern =
        ((folder.empty() ? std::filesystem::path(".") : folder) / ".qmxsave-XXXXXX").string();
    fd_ = ::mkstemp(pattern.data());
    if (fd_ >= 0)
        tempName_ = pattern;
}

SafeFileWriter::~SafeFileWriter() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!tempName_.empty())
        std::remove(tempName_.c_str());
}

bool SafeFileWriter::Commit() {
    if (fd_ < 0)
        return false;
    struct stat old {};
    const mode_t mode = ::stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : CreationMode();
    const bool written = WriteAll(fd_, text_.str()) && ::fchmod(fd_, mode) == 0 && ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!written || !closed || std::rename(tempName_.c_str(), target_.c_str()) != 0)
        return false;
    tempName_.clear();
    return true;
}
