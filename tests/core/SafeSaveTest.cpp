// Saving configuration files the way an ordinary user meets them: files and
// folders the user may not write, chains of links, hard links, a full disk,
// scratch files left by a killed save. Each save runs in a child process,
// which drops to the unprivileged user "nobody" when the tests run as root,
// and may be given a file size limit: writing past it fails with EFBIG as
// writing to a full disk fails with ENOSPC.

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using coretest::ReadWholeFile;
using coretest::TempDir;

constexpr uid_t NobodyUid = 65534;
constexpr gid_t NogroupGid = 65534;
constexpr const char* OldText = "old content\n";
constexpr const char* NewText = "!r_master_vol\nXd9 00 00 00 48 \n";
// Room for the old text and its copies, not for the new text.
constexpr rlim_t TooSmallForNewText = 20;

bool IsRoot() {
    return ::geteuid() == 0;
}
uid_t SaverUid() {
    return IsRoot() ? NobodyUid : ::geteuid();
}
gid_t SaverGid() {
    return IsRoot() ? NogroupGid : ::getegid();
}

enum class Saver {
    User, // nobody when the tests run as root, else the tester
    Root  // the tests themselves, as root only
};

struct SaveConditions {
    Saver saver = Saver::User;
    rlim_t fileSizeLimit = RLIM_INFINITY;
    bool unnamedScratch = true;
};

// Saves a one-register table to `name` in a child process under the given
// conditions, with `tmpFolder` as its temporary folder.
SaveOutcome SaveInChild(const std::string& name, const std::string& tmpFolder, const SaveConditions& c) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (c.saver == Saver::User && IsRoot() &&
            (::setgroups(0, nullptr) != 0 || ::setgid(NogroupGid) != 0 || ::setuid(NobodyUid) != 0))
            ::_exit(90);
        ::setenv("TMPDIR", tmpFolder.c_str(), 1);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{c.fileSizeLimit, c.fileSizeLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(91);
        SafeFileWriter::UseUnnamedScratchFiles(c.unnamedScratch);
        TConfigDataUnit table;
        table.ReadMapText("#217 0xd9 4 !r_master_vol\n");
        table.SetData(0xD9, coretest::Bytes{0, 0, 0, 0x48});
        ::_exit(static_cast<int>(table.SaveConfigFileNoPrompt(name)));
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 2) {
        ADD_FAILURE() << "the saving child did not finish: status " << status;
        return SaveOutcome::Declined;
    }
    return static_cast<SaveOutcome>(WEXITSTATUS(status));
}

// What a user sees of a folder tree, contents aside: names, kinds,
// permissions, owners and link targets.
struct EntryState {
    std::string path;
    mode_t mode;
    uid_t uid;
    gid_t gid;
    std::string link;
    bool operator==(const EntryState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const EntryState& e) {
    return out << e.path << " mode " << std::oct << e.mode << std::dec << " " << e.uid << ":" << e.gid
               << (e.link.empty() ? "" : " -> " + e.link);
}

// A tree for one save: "home" is the user's folder, "locked" a folder the
// user may read but not write, "tmp" the user's temporary folder.
class Scene {
public:
    Scene() {
        fs::permissions(dir_.Path(), fs::perms(0755));
        MakeFolder("home", 0755);
        MakeFolder("locked", 0755, IsRoot() ? 0 : SaverUid());
        MakeFolder("tmp", 0700);
    }
    ~Scene() {
        for (int fd : held_)
            ::close(fd);
        fs::permissions(Path("locked"), fs::perms(0755));
    }

    std::string Path(const std::string& relative) const { return dir_.File(relative); }

    void MakeFolder(const std::string& relative, mode_t mode, uid_t owner = SaverUid()) {
        fs::create_directory(Path(relative));
        Own(relative, mode, owner, SaverGid());
    }
    void MakeFile(const std::string& relative, const std::string& text, mode_t mode = 0644,
                  uid_t owner = SaverUid(), gid_t group = SaverGid()) {
        coretest::WriteWholeFile(Path(relative), text);
        Own(relative, mode, owner, group);
    }
    void Link(const std::string& relative, const std::string& target) {
        fs::create_symlink(target, Path(relative));
        EXPECT_EQ(::lchown(Path(relative).c_str(), SaverUid(), SaverGid()), 0);
    }
    void HardLink(const std::string& relative, const std::string& existing) {
        fs::create_hard_link(Path(existing), Path(relative));
    }
    // A scratch file as a killed save leaves it.
    void MakeScratch(const std::string& relative) { MakeFile(relative, NewText, 0600); }
    // Holds the lock a live save holds on its scratch file.
    void Hold(const std::string& relative) {
        const int fd = ::open(Path(relative).c_str(), O_RDONLY | O_CLOEXEC);
        EXPECT_EQ(::flock(fd, LOCK_EX), 0);
        held_.push_back(fd);
    }

    std::vector<EntryState> Snapshot() const {
        std::vector<EntryState> entries;
        AddEntries(dir_.Path(), entries);
        std::sort(entries.begin(), entries.end(),
                  [](const EntryState& a, const EntryState& b) { return a.path < b.path; });
        return entries;
    }
    ino_t Inode(const std::string& relative) const {
        struct stat s {};
        return ::stat(Path(relative).c_str(), &s) == 0 ? s.st_ino : 0;
    }

private:
    // Links are not followed: a loop is one of the scenes.
    void AddEntries(const fs::path& folder, std::vector<EntryState>& entries) const {
        for (const auto& entry : fs::directory_iterator(folder)) {
            struct stat s {};
            EXPECT_EQ(::lstat(entry.path().c_str(), &s), 0);
            entries.push_back({entry.path().lexically_relative(dir_.Path()).string(), s.st_mode, s.st_uid,
                               s.st_gid, S_ISLNK(s.st_mode) ? fs::read_symlink(entry.path()).string() : ""});
            if (S_ISDIR(s.st_mode))
                AddEntries(entry.path(), entries);
        }
    }
    void Own(const std::string& relative, mode_t mode, uid_t owner, gid_t group) {
        EXPECT_EQ(::chown(Path(relative).c_str(), owner, group), 0) << relative;
        EXPECT_EQ(::chmod(Path(relative).c_str(), mode), 0) << relative;
    }

    TempDir dir_;
    std::vector<int> held_;
};

struct SaveCase {
    const char* label;
    std::function<void(Scene&)> arrange;
    const char* target; // the name the save is given
    SaveConditions conditions;
    SaveOutcome outcome;
    std::vector<std::pair<const char*, const char*>> texts; // files and their text afterwards
    const char* sameFile;             // a file that must still be the same file, or nullptr
    std::vector<const char*> removed; // entries the save removes; everything else stays as it was
};

void PrintTo(const SaveCase& c, std::ostream* out) {
    *out << c.label;
}

class SaveAsUser : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveAsUser, LeavesTheOldFileOrAWholeNewOneAndNoLitter) {
    const SaveCase& c = GetParam();
    if (c.conditions.saver == Saver::Root && !IsRoot())
        GTEST_SKIP() << "needs root";
    Scene scene;
    c.arrange(scene);
    if (IsSkipped())
        return;
    fs::permissions(scene.Path("locked"), fs::perms(0555));
    std::vector<EntryState> expected = scene.Snapshot();
    std::erase_if(expected, [&](const EntryState& e) {
        return std::find_if(c.removed.begin(), c.removed.end(), [&](const char* r) { return e.path == r; }) !=
               c.removed.end();
    });
    const ino_t inode = c.sameFile ? scene.Inode(c.sameFile) : 0;

    EXPECT_EQ(SaveInChild(scene.Path(c.target), scene.Path("tmp"), c.conditions), c.outcome);

    for (const auto& [file, text] : c.texts)
        EXPECT_EQ(ReadWholeFile(scene.Path(file)), text) << file;
    if (c.sameFile) {
        EXPECT_EQ(scene.Inode(c.sameFile), inode) << c.sameFile << " was replaced";
    }
    EXPECT_EQ(scene.Snapshot(), expected)
        << "no scratch file, and names, links, owners and modes as they were";
}

const SaveConditions Full{Saver::User, TooSmallForNewText, true};
const SaveConditions NamedScratch{Saver::User, RLIM_INFINITY, false};

const SaveCase SaveCases[] = {
    {"ReadOnlyFileIsNotWritten",
     [](Scene& s) { s.MakeFile("home/target.cfg", OldText, 0444); },
     "home/target.cfg",
     {},
     SaveOutcome::Failed,
     {{"home/target.cfg", OldText}},
     "home/target.cfg",
     {}},
    {"WritableFileInReadOnlyFolderIsWrittenInPlace",
     [](Scene& s) { s.MakeFile("locked/target.cfg", OldText); },
     "locked/target.cfg",
     {},
     SaveOutcome::Saved,
     {{"locked/target.cfg", NewText}},
     "locked/target.cfg",
     {}},
    {"ReadOnlyFolderFullDiskGetsTheOldTextBack",
     [](Scene& s) { s.MakeFile("locked/target.cfg", OldText); },
     "locked/target.cfg",
     Full,
     SaveOutcome::Failed,
     {{"locked/target.cfg", OldText}},
     "locked/target.cfg",
     {}},
    {"NewFileInReadOnlyFolderFails",
     [](Scene&) {},
     "locked/new.cfg",
     {},
     SaveOutcome::Failed,
     {},
     nullptr,
     {}},
    {"ChainOfLinksWritesTheRealFile",
     [](Scene& s) {
         s.MakeFile("home/real.cfg", OldText, 0640);
         s.Link("home/b.cfg", s.Path("home/real.cfg"));
         s.Link("home/a.cfg", "b.cfg");
     },
     "home/a.cfg",
     {},
     SaveOutcome::Saved,
     {{"home/real.cfg", NewText}},
     nullptr,
     {}},
    {"LinkLoopFails",
     [](Scene& s) {
         s.Link("home/a.cfg", "b.cfg");
         s.Link("home/b.cfg", "a.cfg");
     },
     "home/a.cfg",
     {},
     SaveOutcome::Failed,
     {},
     nullptr,
     {}},
    {"HardLinkedFileIsWrittenInPlaceForEveryName",
     [](Scene& s) {
         s.MakeFile("home/target.cfg", OldText);
         s.HardLink("home/other.cfg", "home/target.cfg");
     },
     "home/target.cfg",
     {},
     SaveOutcome::Saved,
     {{"home/target.cfg", NewText}, {"home/other.cfg", NewText}},
     "home/other.cfg",
     {}},
    {"HardLinkedFileOnFullDiskStaysOld",
     [](Scene& s) {
         s.MakeFile("home/target.cfg", OldText);
         s.HardLink("home/other.cfg", "home/target.cfg");
     },
     "home/target.cfg",
     Full,
     SaveOutcome::Failed,
     {{"home/target.cfg", OldText}, {"home/other.cfg", OldText}},
     "home/other.cfg",
     {}},
    {"FullDiskLeavesTheOldFile",
     [](Scene& s) { s.MakeFile("home/target.cfg", OldText, 0600); },
     "home/target.cfg",
     Full,
     SaveOutcome::Failed,
     {{"home/target.cfg", OldText}},
     "home/target.cfg",
     {}},
    {"NamedScratchFileIsGoneAfterTheSave",
     [](Scene& s) { s.MakeFile("home/target.cfg", OldText, 0640); },
     "home/target.cfg",
     NamedScratch,
     SaveOutcome::Saved,
     {{"home/target.cfg", NewText}},
     nullptr,
     {}},
    {"NamedScratchFileIsGoneAfterAFailedSave",
     [](Scene& s) { s.MakeFile("home/target.cfg", OldText); },
     "home/target.cfg",
     {Saver::User, TooSmallForNewText, false},
     SaveOutcome::Failed,
     {{"home/target.cfg", OldText}},
     "home/target.cfg",
     {}},
    {"StaleScratchFilesOfAKilledSaveAreRemoved",
     [](Scene& s) {
         s.MakeFile("home/target.cfg", OldText);
         s.MakeScratch("home/.target.cfg.qmxsave-Ab12Cd");
         s.MakeScratch("home/.qmxsave-zZ09yY");
     },
     "home/target.cfg",
     NamedScratch,
     SaveOutcome::Saved,
     {{"home/target.cfg", NewText}},
     nullptr,
     {"home/.target.cfg.qmxsave-Ab12Cd", "home/.qmxsave-zZ09yY"}},
    {"ScratchFilesInUseOrOfOtherFilesStay",
     [](Scene& s) {
         s.MakeFile("home/target.cfg", OldText);
         s.MakeScratch("home/.target.cfg.qmxsave-Held01");
         s.Hold("home/.target.cfg.qmxsave-Held01");
         s.MakeScratch("home/.other.cfg.qmxsave-Other1");
         s.MakeScratch("home/.target.cfg.qmxsave-TooLong");
     },
     "home/target.cfg",
     {},
     SaveOutcome::Saved,
     {{"home/target.cfg", NewText}, {"home/.target.cfg.qmxsave-Held01", NewText}},
     nullptr,
     {}},
    // A failed save removes nothing: a copy kept by an earlier save that
    // failed half-way may be the one complete file there is.
    {"FailedSaveLeavesOtherScratchFiles",
     [](Scene& s) {
         s.MakeFile("home/target.cfg", OldText);
         s.MakeScratch("home/.target.cfg.qmxsave-Ab12Cd");
     },
     "home/target.cfg",
     Full,
     SaveOutcome::Failed,
     {{"home/target.cfg", OldText}, {"home/.target.cfg.qmxsave-Ab12Cd", NewText}},
     "home/target.cfg",
     {}},
    // The user may write the file through its group but cannot give a new
    // file another owner, so the file is written where it is.
    {"AnotherUsersGroupWritableFileKeepsItsOwner",
     [](Scene& s) {
         if (!IsRoot())
             GTEST_SKIP() << "needs another user's file";
         s.MakeFile("home/target.cfg", OldText, 0664, 0, SaverGid());
     },
     "home/target.cfg",
     {},
     SaveOutcome::Saved,
     {{"home/target.cfg", NewText}},
     "home/target.cfg",
     {}},
    {"RootKeepsTheUsersOwnerGroupAndMode",
     [](Scene& s) { s.MakeFile("home/target.cfg", OldText, 0640); },
     "home/target.cfg",
     {Saver::Root},
     SaveOutcome::Saved,
     {{"home/target.cfg", NewText}},
     nullptr,
     {}},
    // Root may write what the kernel lets root write, as a shell would.
    {"RootWritesAReadOnlyFileAndKeepsItReadOnly",
     [](Scene& s) { s.MakeFile("home/target.cfg", OldText, 0444); },
     "home/target.cfg",
     {Saver::Root},
     SaveOutcome::Saved,
     {{"home/target.cfg", NewText}},
     nullptr,
     {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SaveAsUser, ::testing::ValuesIn(SaveCases),
                         [](const auto& info) { return std::string(info.param.label); });

// A chain of links is followed as far as the kernel follows one, and no
// further: a longer chain, like a loop, fails with "too many levels".
TEST(SafeFileWriterLinks, ChainIsFollowedUpToFortyLinks) {
    TempDir dir;
    coretest::WriteWholeFile(dir.File("real.cfg"), OldText);
    std::string previous = "real.cfg";
    for (int i = 1; i <= 41; ++i) {
        const std::string name = "link" + std::to_string(i);
        fs::create_symlink(previous, dir.File(name));
        previous = name;
    }
    SafeFileWriter forty(dir.File("link40"));
    ASSERT_TRUE(forty.IsOpen()) << forty.Error();
    forty.Stream() << NewText;
    EXPECT_TRUE(forty.Commit());
    EXPECT_EQ(ReadWholeFile(dir.File("real.cfg")), NewText);

    SafeFileWriter fortyOne(dir.File("link41"));
    EXPECT_FALSE(fortyOne.IsOpen());
    EXPECT_EQ(fortyOne.Error(), ELOOP);
    EXPECT_FALSE(fortyOne.Commit());
    EXPECT_TRUE(fs::is_symlink(dir.File("link40")));
}

// A save killed at any moment leaves the old or the new file whole, and the
// next save leaves no scratch file behind, with unnamed scratch files and
// with named ones.
TEST(KilledSave, LeavesAWholeFileAndTheNextSaveLeavesNoLitter) {
    std::mt19937 random(4600);
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed scratch files" : "named scratch files");
        TempDir dir;
        const std::string name = dir.File("target.cfg");
        coretest::WriteWholeFile(name, OldText);
        for (int kill = 0; kill < 100; ++kill) {
            const pid_t child = ::fork();
            if (child == 0) {
                SafeFileWriter::UseUnnamedScratchFiles(unnamed);
                for (;;) {
                    SafeFileWriter writer(name);
                    writer.Stream() << NewText;
                    writer.Commit();
                }
            }
            ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const std::string text = ReadWholeFile(name);
            ASSERT_TRUE(text == OldText || text == NewText) << "after kill " << kill << ": " << text;

            SafeFileWriter next(name);
            next.Stream() << OldText;
            ASSERT_TRUE(next.Commit()) << next.Error();
            ASSERT_EQ(dir.Entries(), std::vector<std::string>{"target.cfg"}) << "after kill " << kill;
        }
    }
}

} // namespace
