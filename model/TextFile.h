#pragma once

#include <cstddef>
#include <optional>
#include <sstream>
#include <string>

// The device's text files are small; anything larger than this is not one of
// them and is refused rather than read into memory.
inline constexpr std::size_t MaxTextFileBytes = 16u << 20;

// The whole file as text with Windows line ends turned into line feeds, or
// nothing when it cannot be opened or is larger than MaxTextFileBytes.
std::optional<std::string> ReadTextFile(const std::string& fileName);

// Writes a file so that it is never seen half-written: the text goes to a
// temporary file of its own in the same folder, which replaces the target
// only once it has been written completely, keeping the old file's
// permissions (and, for a symbolic link, replacing the file it points to).
// Without Commit the target is left untouched.
class SafeFileWriter {
public:
    explicit SafeFileWriter(const std::string& fileName);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Whether the temporary file could be made beside the target.
    bool IsOpen() const { return fd_ >= 0; }
    std::ostream& Stream() { return text_; }
    // Writes, syncs and renames over the target; false if any step failed.
    bool Commit();

private:
    std::string target_;
    std::string tempName_;
    int fd_ = -1;
    std::ostringstream text_;
};
