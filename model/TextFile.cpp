#include "TextFile.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

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

constexpr int MaxLinkSteps = 40;
constexpr const char* ScratchMark = ".qmxsave-";
constexpr std::size_t ScratchSuffixLength = 6;
constexpr int ScratchNameAttempts = 100;

bool unnamedScratch = true;

// A file descriptor closed when it goes out of scope.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The file a chain of symbolic links at `name` ends at (`name` itself when it
// is no link, whether or not it exists); nothing for a chain longer than the
// kernel would follow, which is also what a loop is.
std::optional<std::filesystem::path> EndOfLinks(const std::string& name) {
    std::filesystem::path path = name;
    for (int step = 0; step <= MaxLinkSteps; ++step) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        char text[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), text, sizeof text);
        if (length < 0 || static_cast<std::size_t>(length) == sizeof text)
            return path; // opening it reports the problem
        const std::filesystem::path link(std::string(text, static_cast<std::size_t>(length)));
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return std::nullopt;
}

// "<name>.qmxsave-" (with a leading dot when hidden), the name cut at a
// character boundary so that the stem and its suffix fit a folder entry.
std::string ScratchStem(const std::string& name, bool hidden) {
    std::size_t room = NAME_MAX - (hidden ? 1 : 0) - std::strlen(ScratchMark) - ScratchSuffixLength;
    if (name.size() > room)
        while (room > 0 && (static_cast<unsigned char>(name[room]) & 0xC0) == 0x80)
            --room;
    return (hidden ? "." : "") + name.substr(0, room) + ScratchMark;
}

bool IsScratchName(const std::string& entry, const std::string& stem) {
    if (entry.size() != stem.size() + ScratchSuffixLength || entry.compare(0, stem.size(), stem) != 0)
        return false;
    for (std::size_t i = stem.size(); i < entry.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(entry[i])))
            return false;
    return true;
}

std::string RandomSuffix() {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    std::string suffix;
    for (std::size_t i = 0; i < ScratchSuffixLength; ++i)
        suffix += letters[pick(generator)];
    return suffix;
}

// Removes the scratch files an earlier save of `name` left in the folder
// when it was killed: those no live process holds locked (every save locks
// its scratch file before it has a name and until it is gone).
void RemoveStaleScratchFiles(int folder, const std::string& name) {
    const int listingFd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = listingFd >= 0 ? ::fdopendir(listingFd) : nullptr;
    if (listing == nullptr) {
        if (listingFd >= 0)
            ::close(listingFd);
        return;
    }
    const std::string stem = ScratchStem(name, true);
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(listing))
        if (IsScratchName(entry->d_name, stem) || IsScratchName(entry->d_name, ScratchMark))
            candidates.emplace_back(entry->d_name);
    ::closedir(listing);
    for (const std::string& candidate : candidates) {
        const Descriptor fd(
            ::openat(folder, candidate.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat status {};
        if (fd.Valid() && ::fstat(fd.Get(), &status) == 0 && S_ISREG(status.st_mode) &&
            ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(folder, candidate.c_str(), 0);
    }
}

// The results below are errno values, 0 for success.

int WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n =
            ::pwrite(fd, text.data() + written, text.size() - written, static_cast<off_t>(written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

int Sync(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

// A folder that could only be opened as a path (no read permission) cannot
// be synced, and some file systems cannot sync folders; neither fails a save.
int SyncFolder(int folder) {
    return ::fsync(folder) == 0 || errno == EBADF || errno == EINVAL ? 0 : errno;
}

// Replaces a file's content where it is: truncate, write, sync.
int Rewrite(int fd, const std::string& text) {
    if (::ftruncate(fd, 0) != 0)
        return errno;
    const int error = WriteAll(fd, text);
    return error != 0 ? error : Sync(fd);
}

std::optional<std::string> ReadWhole(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || static_cast<std::size_t>(status.st_size) > MaxTextFileBytes)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::pread(fd, text.data() + got, text.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    return text;
}

// Names an unnamed file in the folder; EEXIST when the name is taken.
int LinkUnnamed(int fd, int folder, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != ENOENT)
        return errno;
    // Without /proc only a privileged process can link a descriptor.
    return ::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// Gives the new file the old one's owner and group; false where this
// process may not (a user cannot give a file away or to a foreign group).
bool GiveOwner(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    return (now.st_uid == old.st_uid && now.st_gid == old.st_gid) ||
           ::fchown(fd, old.st_uid, old.st_gid) == 0;
}

// A private copy of a file's old text in the temporary folder, kept while
// the file is rewritten in place and removed afterwards unless kept.
class OldTextCopy {
public:
    ~OldTextCopy() {
        if (!path_.empty() && !keep_)
            ::unlink(path_.c_str());
    }
    int Make(const std::string& name, const std::string& text) {
        std::error_code ignored;
        std::filesystem::path folder = std::filesystem::temp_directory_path(ignored);
        std::string pattern =
            ((folder.empty() ? "/tmp" : folder) / (ScratchStem(name, false) + "XXXXXX")).string();
        const Descriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
        if (!fd.Valid())
            return errno;
        path_ = pattern;
        const int error = WriteAll(fd.Get(), text);
        return error != 0 ? error : Sync(fd.Get());
    }
    void Keep() { keep_ = true; }

private:
    std::string path_;
    bool keep_ = false;
};

} // namespace

// The file the new text is written to in the target's folder: unnamed while
// the file system allows it, locked so that other saves leave it alone, and
// removed with its name unless it replaced the target or is kept.
class SafeFileWriter::ScratchFile {
public:
    ScratchFile(int folder, const std::string& target) : folder_(folder), stem_(ScratchStem(target, true)) {}
    ~ScratchFile() {
        if (!name_.empty() && !keep_)
            ::unlinkat(folder_, name_.c_str(), 0);
    }
    ScratchFile(const ScratchFile&) = delete;

    int Fd() const { return fd_.Get(); }
    void Keep() { keep_ = true; }

    int Create(mode_t mode) {
        if (unnamedScratch) {
            fd_ = Descriptor(::openat(folder_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode));
            if (fd_.Valid()) {
                ::flock(fd_.Get(), LOCK_EX | LOCK_NB); // nobody else can have it yet
                return 0;
            }
            // Old kernels answer EISDIR, file systems without unnamed files EOPNOTSUPP.
            if (errno != EOPNOTSUPP && errno != EISDIR)
                return errno;
        }
        for (int attempt = 0; attempt < ScratchNameAttempts; ++attempt) {
            const std::string name = stem_ + RandomSuffix();
            fd_ = Descriptor(
                ::openat(folder_, name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_NOFOLLOW | O_CLOEXEC, mode));
            if (!fd_.Valid() && errno != EEXIST)
                return errno;
            if (fd_.Valid() && LockNamed()) {
                name_ = name;
                return 0;
            }
        }
        return EEXIST;
    }

    // Gives an unnamed scratch file its scratch name.
    int Name() {
        for (int attempt = 0; name_.empty() && attempt < ScratchNameAttempts; ++attempt) {
            const std::string name = stem_ + RandomSuffix();
            const int error = LinkUnnamed(fd_.Get(), folder_, name);
            if (error == 0)
                name_ = name;
            else if (error != EEXIST)
                return error;
        }
        return name_.empty() ? EEXIST : 0;
    }

    // Puts the scratch file in the target's place and syncs the folder. An
    // unnamed file for a new target is linked as the target at once.
    int Replace(const std::string& target, bool newFile) {
        if (newFile && name_.empty()) {
            const int error = LinkUnnamed(fd_.Get(), folder_, target);
            if (error == 0)
                return SyncFolder(folder_);
            if (error != EEXIST)
                return error;
            // made meanwhile by someone else: replaced, as the save asked
        }
        if (const int error = Name())
            return error;
        if (::renameat(folder_, name_.c_str(), folder_, target.c_str()) != 0)
            return errno;
        name_.clear();
        return SyncFolder(folder_);
    }

private:
    // Locks a named scratch file just made. Between making and locking it,
    // another save may have taken it for stale: then it is gone or going,
    // and another name is tried. Where the file system has no locks, no
    // save can take it for stale.
    bool LockNamed() {
        struct stat status {};
        if (::flock(fd_.Get(), LOCK_EX | LOCK_NB) != 0)
            return errno != EWOULDBLOCK;
        return ::fstat(fd_.Get(), &status) == 0 && status.st_nlink > 0;
    }

    int folder_;
    std::string stem_;
    Descriptor fd_;
    std::string name_;
    bool keep_ = false;
};

void SafeFileWriter::UseUnnamedScratchFiles(bool use) {
    unnamedScratch = use;
}

SafeFileWriter::SafeFileWriter(const std::string& fileName) {
    const std::optional<std::filesystem::path> target =
        fileName.empty() ? std::nullopt : EndOfLinks(fileName);
    if (!target) {
        error_ = fileName.empty() ? ENOENT : ELOOP;
        return;
    }
    name_ = target->filename().string();
    const std::filesystem::path folder = target->parent_path().empty() ? "." : target->parent_path();
    folder_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0 && errno == EACCES)
        folder_ = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0 || name_.empty()) {
        error_ = folder_ < 0 ? errno : EISDIR;
        return;
    }
    // Opening the file is the test whether this process may write it.
    constexpr int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    file_ = ::openat(folder_, name_.c_str(), O_RDWR | flags);
    readable_ = file_ >= 0;
    if (file_ < 0 && errno == EACCES)
        file_ = ::openat(folder_, name_.c_str(), O_WRONLY | flags);
    struct stat status {};
    if (file_ < 0)
        error_ = errno == ENOENT ? 0 : errno;
    else if (::fstat(file_, &status) != 0)
        error_ = errno;
    else if (!S_ISREG(status.st_mode))
        error_ = EINVAL;
}

SafeFileWriter::~SafeFileWriter() {
    if (file_ >= 0)
        ::close(file_);
    if (folder_ >= 0)
        ::close(folder_);
}

bool SafeFileWriter::Commit() {
    if (error_ != 0)
        return false;
    const std::string text = text_.str();
    if (!Finish(file_ < 0 ? CreateFile(text) : ReplaceFile(text)))
        return false;
    // Only now: a copy kept by a save that failed half-way may be the one
    // complete file there was.
    RemoveStaleScratchFiles(folder_, name_);
    return true;
}

bool SafeFileWriter::Finish(int error) {
    error_ = error;
    return error == 0;
}

int SafeFileWriter::CreateFile(const std::string& text) {
    ScratchFile scratch(folder_, name_);
    int error = scratch.Create(0666);
    if (error == 0)
        error = WriteAll(scratch.Fd(), text);
    if (error == 0)
        error = Sync(scratch.Fd());
    return error != 0 ? error : scratch.Replace(name_, true);
}

int SafeFileWriter::ReplaceFile(const std::string& text) {
    struct stat old {};
    if (::fstat(file_, &old) != 0)
        return errno;
    ScratchFile scratch(folder_, name_);
    // Private until it has the old file's owner and permissions.
    int error = scratch.Create(0600);
    if (error == EACCES || error == EPERM || error == EROFS)
        return RewriteInPlace(text, nullptr); // the folder may not be written
    if (error == 0)
        error = WriteAll(scratch.Fd(), text);
    if (error != 0)
        return error;
    if (old.st_nlink > 1 || !GiveOwner(scratch.Fd(), old))
        return RewriteInPlace(text, &scratch);
    if (::fchmod(scratch.Fd(), old.st_mode & 07777) != 0)
        return errno;
    error = Sync(scratch.Fd());
    return error != 0 ? error : scratch.Replace(name_, false);
}

// Writes the text into the target itself while a complete copy exists: the
// new text beside it when a scratch file could be made there, else the old
// text in the temporary folder.
int SafeFileWriter::RewriteInPlace(const std::string& text, ScratchFile* besideCopy) {
    const std::optional<std::string> oldText = readable_ ? ReadWhole(file_) : std::nullopt;
    OldTextCopy oldCopy;
    int error = 0;
    if (besideCopy != nullptr) {
        error = Sync(besideCopy->Fd());
        if (error == 0)
            error = besideCopy->Name();
        if (error == 0)
            error = SyncFolder(folder_);
    } else {
        error = !oldText ? (readable_ ? EFBIG : EACCES) : oldCopy.Make(name_, *oldText);
    }
    if (error != 0)
        return error; // no copy, so the file is not touched
    error = Rewrite(file_, text);
    if (error != 0 && !(oldText && Rewrite(file_, *oldText) == 0)) {
        // neither the new nor the old text is whole in the file: keep the copy
        oldCopy.Keep();
        if (besideCopy != nullptr)
            besideCopy->Keep();
    }
    return error;
}
