// Loading configuration and keyed files into the table and the device, and
// saving the table, through the real transport to the simulated QMX4600.

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using coretest::Bytes;
using coretest::DeviceRig;
using coretest::TempDir;
using coretest::Transfer;
using coretest::WriteOf;

Bytes Pattern(int subAddress, int size, int seed) {
    Bytes bytes(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(subAddress * 7 + i * 13 + seed);
    return bytes;
}

TEST(ConfigFileRoundTrip, SavedRegistersComeBackAndExcludedOnesAreLeftAlone) {
    TempDir dir;
    const std::string file = dir.File("all.cfg");
    DeviceRig source;
    for (int s = 0; s < 256; ++s)
        source.table.SetData(s, Pattern(s, source.table.GetSize(s), 1));
    ASSERT_EQ(source.table.SaveConfigFileNoPrompt(file), SaveOutcome::Saved);
    EXPECT_TRUE(source.TakeTransfers().empty()) << "saving talks to no device";

    DeviceRig target;
    for (int s = 0; s < 256; ++s)
        target.table.SetData(s, Bytes(static_cast<size_t>(target.table.GetSize(s)), 0xA5));
    const FileReport report = target.table.LoadConfigFile(file);
    EXPECT_TRUE(report.opened);
    EXPECT_TRUE(report.problems.empty()) << ::testing::PrintToString(report.problems);

    std::vector<Transfer> expectedWrites;
    for (int s = 0; s < 256; ++s) {
        SCOPED_TRACE(s);
        const int size = target.table.GetSize(s);
        ASSERT_GT(size, 0);
        if (TConfigDataUnit::IsExcludedFromSave(s)) {
            EXPECT_EQ(target.table.GetData(s), Bytes(static_cast<size_t>(size), 0xA5));
        } else {
            EXPECT_EQ(target.table.GetData(s), Pattern(s, size, 1));
            expectedWrites.push_back(WriteOf(static_cast<uint8_t>(s), Pattern(s, size, 1)));
        }
    }
    EXPECT_EQ(target.TakeTransfers(), expectedWrites) << "one write per record, in file order";
}

struct SavedTextCase {
    const char* label;
    const char* map;
    std::vector<std::pair<int, Bytes>> data;
    const char* text;
};

class SavedText : public ::testing::TestWithParam<SavedTextCase> {};

TEST_P(SavedText, IsNameLineThenRecordLinePerRegister) {
    const SavedTextCase& c = GetParam();
    TConfigDataUnit table;
    table.ReadMapText(c.map);
    for (const auto& [subAddress, bytes] : c.data)
        table.SetData(subAddress, bytes);
    TempDir dir;
    ASSERT_EQ(table.SaveConfigFileNoPrompt(dir.File("saved.cfg")), SaveOutcome::Saved);
    EXPECT_EQ(coretest::ReadWholeFile(dir.File("saved.cfg")), c.text);
}

const SavedTextCase SavedTextCases[] = {
    {"MasterVolume",
     "#217 0xd9 4 !r_master_vol\n",
     {{0xD9, {0x00, 0x00, 0x00, 0x48}}},
     "!r_master_vol\nXd9 00 00 00 48 \n"},
    {"SlotOrderLowerCaseLeadingZeros",
     "#5 0x20 2 !r_b\n#2 0x0a 3 !r_a\n",
     {{0x20, {0xAB, 0x0C}}, {0x0A, {0xFF, 0x00, 0x01}}},
     "!r_a\nX0a ff 00 01 \n!r_b\nX20 ab 0c \n"},
    {"ExcludedRegistersAreLeftOut",
     "#0 0x00 1 !r_clock\n#1 0x03 1 !r_sys\n#2 0x24 1 !r_res\n#3 0xe1 1 !r_top\n#4 0xb2 1 !r_mid\n"
     "#5 0x02 1 !r_err\n#6 0x3f 1 !r_res2\n#7 0xce 1 !r_mid2\n#8 0xff 1 !r_last\n",
     {{0x00, {0x11}}, {0x03, {0x11}}, {0x24, {0x11}}, {0xE1, {0x11}}, {0xB2, {0x11}}},
     "!r_sys\nX03 11 \n"},
    {"RegisterWithoutBytes", "#3 0x50 0 !r_empty\n", {}, "!r_empty\nX50 \n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SavedText, ::testing::ValuesIn(SavedTextCases),
                         [](const auto& info) { return std::string(info.param.label); });

constexpr const char* SmallMap = "#15 0x0f 1 !r_soft_mute\n"
                                 "#90 0x5a 2 !r_biquad\n"
                                 "#158 0x9e 2 !r_drc\n"
                                 "#160 0xa0 2 !r_drc_o\n"
                                 "#217 0xd9 4 !r_master_vol\n";

struct LoadCase {
    const char* label;
    std::string file;
    std::optional<int> keyBase; // none: LoadConfigFile, else LoadKeyedFile
    std::vector<Transfer> writes;
    std::vector<std::pair<int, Bytes>> table; // register contents afterwards
    size_t problems;
};

class Load : public ::testing::TestWithParam<LoadCase> {};

TEST_P(Load, StoresAndWritesTheRecords) {
    const LoadCase& c = GetParam();
    DeviceRig rig(SmallMap);
    rig.table.SetData(0xD9, Bytes{1, 2, 3, 4});
    TempDir dir;
    const std::string name = dir.File("load.cfg");
    coretest::WriteWholeFile(name, c.file);

    const FileReport report =
        c.keyBase ? rig.table.LoadKeyedFile(name, *c.keyBase) : rig.table.LoadConfigFile(name);
    EXPECT_TRUE(report.opened);
    EXPECT_EQ(report.problems.size(), c.problems) << ::testing::PrintToString(report.problems);
    EXPECT_EQ(rig.TakeTransfers(), c.writes);
    for (const auto& [subAddress, bytes] : c.table)
        EXPECT_EQ(rig.table.GetData(subAddress), bytes) << std::hex << subAddress;
}

const LoadCase LoadCases[] = {
    {"OneWritePerRecordInFileOrder",
     "X0f ff\nXd9 00 00 00 50\nX0f 00\n",
     {},
     {WriteOf(0x0F, {0xFF}), WriteOf(0xD9, {0, 0, 0, 0x50}), WriteOf(0x0F, {0x00})},
     {{0x0F, {0x00}}, {0xD9, {0, 0, 0, 0x50}}},
     0},
    {"CaseBlanksAndLineFeeds",
     "!r_MIX_1\nxD9 0\n0 00\n\n 0 0 4A\nX0F Ab\n",
     {},
     {WriteOf(0xD9, {0, 0, 0, 0x4A}), WriteOf(0x0F, {0xAB})},
     {{0xD9, {0, 0, 0, 0x4A}}, {0x0F, {0xAB}}},
     0},
    {"UndefinedRegisterIsSkippedWithoutAWrite",
     "X77 01 02\nX0f 01\n",
     {},
     {WriteOf(0x0F, {0x01})},
     {{0x0F, {0x01}}},
     1},
    {"ShortRecordIsNeitherStoredNorSent",
     "Xd9 00 00\nX0f 05\n",
     {},
     {WriteOf(0x0F, {0x05})},
     {{0xD9, {1, 2, 3, 4}}, {0x0F, {0x05}}},
     1},
    // All records are stored first, so the first Q3 write already carries
    // the file's last Q3 value.
    {"KeyedFileStoresAllThenWritesInFileOrder",
     "Q3 11 11\nT 22 22\nQ3 33 33\n",
     7,
     {WriteOf(0x5A, {0x33, 0x33}), WriteOf(0xA0, {0x22, 0x22}), WriteOf(0x5A, {0x33, 0x33})},
     {{0x5A, {0x33, 0x33}}, {0xA0, {0x22, 0x22}}},
     0},
    {"KeyedTWithBase5", "T 01 02\n", 5, {WriteOf(0x9E, {0x01, 0x02})}, {{0x9E, {0x01, 0x02}}}, 0},
    {"KeyedFileMixesAbsoluteRecords",
     "X0f 01\nq3 0a 0b\n",
     7,
     {WriteOf(0x0F, {0x01}), WriteOf(0x5A, {0x0A, 0x0B})},
     {{0x0F, {0x01}}, {0x5A, {0x0A, 0x0B}}},
     0},
    {"KeyedShortRecordIsNeitherStoredNorSent",
     "Xd9 00\nT 01 02\n",
     5,
     {WriteOf(0x9E, {0x01, 0x02})},
     {{0xD9, {1, 2, 3, 4}}},
     1},
};

INSTANTIATE_TEST_SUITE_P(Cases, Load, ::testing::ValuesIn(LoadCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(LoadMissingFile, NothingIsStoredOrSent) {
    DeviceRig rig(SmallMap);
    rig.table.SetData(0xD9, Bytes{1, 2, 3, 4});
    TempDir dir;
    EXPECT_FALSE(rig.table.LoadConfigFile(dir.File("absent.cfg")).opened);
    EXPECT_FALSE(rig.table.LoadKeyedFile(dir.File("absent.EQ46XX"), 0).opened);
    EXPECT_TRUE(rig.TakeTransfers().empty());
    EXPECT_EQ(rig.table.GetData(0xD9), (Bytes{1, 2, 3, 4}));
}

TEST(LoadWithBusFailure, TableKeepsTheFileAndLaterWritesAreSkipped) {
    DeviceRig rig(SmallMap);
    rig.sim->NackSubAddress(0x5A);
    TempDir dir;
    const std::string name = dir.File("load.cfg");
    coretest::WriteWholeFile(name, "X0f 01\nX5a 02 03\nXd9 04 05 06 07\n");
    rig.table.LoadConfigFile(name);
    const std::vector<Transfer> transfers = rig.TakeTransfers();
    ASSERT_EQ(transfers.size(), 2u) << "the write after the refused one never reaches the adapter";
    EXPECT_EQ(transfers[0], WriteOf(0x0F, {0x01}));
    EXPECT_EQ(transfers[1].subAddress, 0x5A);
    EXPECT_EQ(rig.table.GetData(0x5A), (Bytes{0x02, 0x03}));
    EXPECT_EQ(rig.table.GetData(0xD9), (Bytes{0x04, 0x05, 0x06, 0x07}));
    EXPECT_FALSE(rig.transport->IsTransferOk());
}

// --- replacing files ---

enum class Saver { Prompting, NoPrompt, Span };

SaveOutcome Save(TConfigDataUnit& table, Saver saver, const std::string& name) {
    switch (saver) {
    case Saver::Prompting:
        return table.SaveConfigFile(name);
    case Saver::NoPrompt:
        return table.SaveConfigFileNoPrompt(name);
    case Saver::Span:
        return table.SaveRegisterSpan(name, 0, 255);
    }
    return SaveOutcome::Failed;
}

constexpr const char* OneRegisterMap = "#217 0xd9 4 !r_master_vol\n";
constexpr const char* OneRegisterText = "!r_master_vol\nXd9 00 00 00 48 \n";
constexpr const char* OldText = "old content\n";

struct ReplaceCase {
    const char* label;
    Saver saver;
    bool fileExists;
    bool answer;
    SaveOutcome outcome;
    bool asked;
    const char* text; // the file afterwards
};

class Replace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(Replace, AsksBeforeReplacingAndNoLeavesTheFileAlone) {
    const ReplaceCase& c = GetParam();
    TConfigDataUnit table;
    table.ReadMapText(OneRegisterMap);
    table.SetData(0xD9, Bytes{0, 0, 0, 0x48});
    ScriptedOverwriteQuestion question(c.answer);
    table.SetOverwriteQuestion(&question);
    TempDir dir;
    const std::string name = dir.File("target.cfg");
    if (c.fileExists)
        coretest::WriteWholeFile(name, OldText);

    EXPECT_EQ(Save(table, c.saver, name), c.outcome);
    EXPECT_EQ(question.asked, c.asked ? std::vector<std::string>{name} : std::vector<std::string>{});
    EXPECT_EQ(coretest::ReadWholeFile(name), c.text);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"target.cfg"}) << "no temporary file is left behind";
}

const ReplaceCase ReplaceCases[] = {
    {"NewFileIsWrittenWithoutAQuestion", Saver::Prompting, false, false, SaveOutcome::Saved, false,
     OneRegisterText},
    {"ExistingFileYes", Saver::Prompting, true, true, SaveOutcome::Saved, true, OneRegisterText},
    {"ExistingFileNo", Saver::Prompting, true, false, SaveOutcome::Declined, true, OldText},
    {"SpanExistingFileNo", Saver::Span, true, false, SaveOutcome::Declined, true, OldText},
    {"SpanExistingFileYes", Saver::Span, true, true, SaveOutcome::Saved, true, OneRegisterText},
    {"NoPromptReplacesWithoutAsking", Saver::NoPrompt, true, false, SaveOutcome::Saved, false,
     OneRegisterText},
};

INSTANTIATE_TEST_SUITE_P(Cases, Replace, ::testing::ValuesIn(ReplaceCases),
                         [](const auto& info) { return std::string(info.param.label); });

class FailedSave : public ::testing::Test {
protected:
    void SetUp() override {
        table.ReadMapText(OneRegisterMap);
        table.SetOverwriteQuestion(&yes);
    }
    TConfigDataUnit table;
    ScriptedOverwriteQuestion yes{true};
    TempDir dir;
};

TEST_F(FailedSave, FolderThatDoesNotExist) {
    for (Saver saver : {Saver::Prompting, Saver::NoPrompt, Saver::Span}) {
        EXPECT_EQ(Save(table, saver, dir.File("missing/target.cfg")), SaveOutcome::Failed);
        EXPECT_TRUE(dir.Entries().empty());
    }
}

TEST_F(FailedSave, EmptyNameWritesNothing) {
    EXPECT_EQ(table.SaveConfigFile(""), SaveOutcome::Failed);
    EXPECT_EQ(table.SaveConfigFileNoPrompt(""), SaveOutcome::Failed);
    EXPECT_TRUE(yes.asked.empty());
}

// Nobody is asked whether to replace what cannot be replaced.
TEST_F(FailedSave, TargetThatIsAFolderStaysWithoutAQuestionAndNoTemporaryFileRemains) {
    std::filesystem::create_directory(dir.File("taken.cfg"));
    coretest::WriteWholeFile(dir.File("taken.cfg/inside"), OldText);
    for (Saver saver : {Saver::Prompting, Saver::NoPrompt, Saver::Span}) {
        EXPECT_EQ(Save(table, saver, dir.File("taken.cfg")), SaveOutcome::Failed);
        EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken.cfg")));
        EXPECT_EQ(coretest::ReadWholeFile(dir.File("taken.cfg/inside")), OldText);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"taken.cfg"});
    }
    EXPECT_TRUE(yes.asked.empty());
}

// The scratch file has a short name of its own, so even the longest name a
// folder entry may have can be saved.
TEST_F(FailedSave, TheLongestNameStillSaves) {
    const std::string name = dir.File(std::string(255, 'c'));
    coretest::WriteWholeFile(name, OldText);
    EXPECT_EQ(table.SaveConfigFileNoPrompt(name), SaveOutcome::Saved);
    EXPECT_NE(coretest::ReadWholeFile(name), OldText);
    EXPECT_EQ(dir.Entries().size(), 1u);
}

TEST_F(FailedSave, ReplacingKeepsTheOldFilesPermissions) {
    const std::string name = dir.File("kept.cfg");
    coretest::WriteWholeFile(name, OldText);
    std::filesystem::permissions(name, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    ASSERT_EQ(table.SaveConfigFileNoPrompt(name), SaveOutcome::Saved);
    EXPECT_EQ(std::filesystem::status(name).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

TEST_F(FailedSave, ALinkStaysALinkAndItsFileIsReplaced) {
    const std::string real = dir.File("real.cfg");
    const std::string link = dir.File("link.cfg");
    coretest::WriteWholeFile(real, OldText);
    std::filesystem::create_symlink("real.cfg", link);
    ASSERT_EQ(table.SaveConfigFileNoPrompt(link), SaveOutcome::Saved);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(coretest::ReadWholeFile(real), OldText);
    EXPECT_EQ(dir.Entries().size(), 2u);
}

// --- register spans ---

struct SpanCase {
    int first, last;
    const char* text;
};

TEST(SaveRegisterSpan, ClampsTakesExcludedSlotsAndSkipsUndefinedOnes) {
    TConfigDataUnit table;
    table.ReadMapText("#0 0x00 1 !r_clock\n#1 0x10 1 !r_a\n#3 0x20 2 !r_b\n#255 0xff 1 !r_last\n");
    table.SetData(0x00, Bytes{0x6C});
    table.SetData(0x10, Bytes{0x01});
    table.SetData(0x20, Bytes{0x02, 0x03});
    table.SetData(0xFF, Bytes{0x04});
    const std::string all = "!r_clock\nX00 6c \n!r_a\nX10 01 \n!r_b\nX20 02 03 \n!r_last\nXff 04 \n";
    const SpanCase cases[] = {
        {0, 255, all.c_str()},
        {-5, 1000, all.c_str()},
        {1, 3, "!r_a\nX10 01 \n!r_b\nX20 02 03 \n"},
        {3, 1, "!r_a\nX10 01 \n"}, // from the smaller bound up to the last
        {2, 2, ""},
        {255, 255, "!r_last\nXff 04 \n"},
        {300, 400, "!r_last\nXff 04 \n"},
    };
    for (const SpanCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
        TempDir dir;
        ASSERT_EQ(table.SaveRegisterSpan(dir.File("span.cfg"), c.first, c.last), SaveOutcome::Saved);
        EXPECT_EQ(coretest::ReadWholeFile(dir.File("span.cfg")), c.text);
    }
}

} // namespace
