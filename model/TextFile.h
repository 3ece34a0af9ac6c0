#pragma once

#include <cstddef>
#include <fstream>
#include <optional>
#include <string>

// The device's text files are small; anything larger than this is not one of
// them and is refused rather than read into memory.
inline constexpr std::size_t MaxTextFileBytes = 16u << 20;

// The whole file as text with Windows line ends turned into line feeds, or
// nothing when it cannot be opened or is larger than MaxTextFileBytes.
std::optional<std::string> ReadTextFile(const std::string& fileName);

// Writes a file so that it is never seen half-written: the text goes to a
// temporary file in the same folder, which replaces the target only once it
// has been written completely. Without Commit the target is left untouched.
class SafeFileWriter {
public:
    explicit SafeFileWriter(std::string fileName);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool IsOpen() const { return stream_.is_open(); }
    std::ostream& Stream() { return stream_; }
    // Flushes, syncs and renames over the target; false if any step failed.
    bool Commit();

private:
    std::string fileName_;
    std::string tempName_;
    std::ofstream stream_;
};
