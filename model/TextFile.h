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

// Writes a file so that nobody sees it half-written, a crash leaves no litter
// and the file the user already has is respected:
// - A chain of symbolic links is followed to the file it ends at (at most 40
//   links, as the kernel allows; a loop fails with ELOOP). The links stay.
// - The file must be one this process may open for writing, checked by
//   opening it: a read-only file is a failed save and stays as it is. Root
//   may write what the kernel lets root write, a read-only file included, as
//   a shell redirection would; the permissions stay as they were.
// - Normally the text goes to a scratch file in the same folder, created
//   unnamed (O_TMPFILE) so a crash leaves nothing; it gets the old file's
//   owner, group and permissions, is synced, named, renamed over the target,
//   and the folder is synced. A crash between naming and renaming leaves
//   one complete copy under its scratch name. Where the file system has no
//   unnamed files, the scratch file is named from the start, so a crash at
//   any moment may leave one.
// - Scratch names are ".<file name>.qmxsave-XXXXXX". A save locks its
//   scratch file before it is named, and each successful save removes the
//   scratch files of its file that no live process holds locked (and the
//   ".qmxsave-XXXXXX" files older versions left).
// - A file with other hard links, or whose owner and group a new file could
//   not be given (a user saving another user's group-writable file), is
//   rewritten in place, so its links, owner and group stay: the complete new
//   text is first written to a scratch file beside it and named, then the
//   file is truncated, written and synced, and only then the copy removed.
// - A writable file in a folder this process may not write is rewritten in
//   place too, with a complete copy of the old text kept meanwhile in a
//   private file "<file name>.qmxsave-XXXXXX" in $TMPDIR (or /tmp). Without
//   such a copy (the old text unreadable, no temporary folder) it is not
//   touched.
// - When an in-place write fails the old text is written back; if that fails
//   too the complete copy is kept where it was made. The save fails either way.
// Without Commit the target is left untouched.
class SafeFileWriter {
public:
    explicit SafeFileWriter(const std::string& fileName);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Whether the target could be found and opened for writing (or, for a new
    // file, its folder opened).
    bool IsOpen() const { return error_ == 0; }
    std::ostream& Stream() { return text_; }
    // Puts the text in place as described above; false if it is not there.
    bool Commit();
    // The system error that stopped the save (errno value), 0 if none.
    int Error() const { return error_; }

    // Tests turn unnamed scratch files off to try the named ones.
    static void UseUnnamedScratchFiles(bool use);

private:
    class ScratchFile;

    bool Finish(int error);
    int CreateFile(const std::string& text);
    int ReplaceFile(const std::string& text);
    int RewriteInPlace(const std::string& text, ScratchFile* besideCopy);

    std::string name_; // the target's name inside its folder
    int folder_ = -1;
    int file_ = -1; // the target, -1 while it does not exist
    bool readable_ = false;
    int error_ = 0;
    std::ostringstream text_;
};
