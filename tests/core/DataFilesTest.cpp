// Data files are found and listed without regard to case, as the tool's
// users expect from files that were saved or copied in any case.

#include "DataFiles.h"
#include "CoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace coretest;

struct WildcardCase {
    const char* pattern;
    const char* name;
    bool matches;
};

class WildcardTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTest, MatchesWithoutRegardToCase) {
    const WildcardCase& c = GetParam();
    EXPECT_EQ(MatchesWildcardNoCase(c.pattern, c.name), c.matches) << c.pattern << " ~ " << c.name;
}

INSTANTIATE_TEST_SUITE_P(Patterns, WildcardTest,
                         ::testing::Values(WildcardCase{"*.EQ46XX", "JAZZ48.EQ46XX", true},
                                           WildcardCase{"*.EQ46XX", "country44.eq46xx", true},
                                           WildcardCase{"*.EQ46XX", "jazz.EQ46XX.bak", false},
                                           WildcardCase{"*.EQ46XX", ".EQ46XX", true},
                                           WildcardCase{"*.LD46xx", "night.LD46XX", true},
                                           WildcardCase{"*.DRC46xx", "a.drc46x", false},
                                           WildcardCase{"a?c*", "ABCdef", true},
                                           WildcardCase{"a?c*", "ac", false},
                                           WildcardCase{"*a*b*", "xxAyyBzz", true},
                                           WildcardCase{"*a*b*", "xxByyAzz", false},
                                           WildcardCase{"", "", true}, WildcardCase{"", "a", false}));

TEST(FindFileNoCaseTest, ExactNameFirstThenTheOneLooseMatch) {
    TempDir dir;
    WriteWholeFile(dir.Path() / "country44.eq46xx", "lower");
    WriteWholeFile(dir.Path() / "Twin.cfg", "one");
    WriteWholeFile(dir.Path() / "TWIN.cfg", "two");
    const std::string folder = dir.Path().string();

    EXPECT_EQ(FindFileNoCase(folder, "COUNTRY44.EQ46XX"), dir.File("country44.eq46xx"));
    EXPECT_EQ(FindFileNoCase(folder, "country44.eq46xx"), dir.File("country44.eq46xx"));
    // Two names differ only in case: the exact one wins, a third spelling is ambiguous.
    EXPECT_EQ(FindFileNoCase(folder, "TWIN.cfg"), dir.File("TWIN.cfg"));
    EXPECT_EQ(FindFileNoCase(folder, "Twin.cfg"), dir.File("Twin.cfg"));
    EXPECT_EQ(FindFileNoCase(folder, "twin.CFG"), std::nullopt);
    EXPECT_EQ(FindFileNoCase(folder, "missing.cfg"), std::nullopt);
    EXPECT_EQ(FindFileNoCase(folder, ""), std::nullopt);
    EXPECT_EQ(FindFileNoCase(folder + "/nowhere", "x"), std::nullopt);
    // Missing files keep the name they were asked for, so a save creates it.
    EXPECT_EQ(DataFilePath(folder, "New.cfg"), dir.File("New.cfg"));
    EXPECT_EQ(DataFilePath(folder, "COUNTRY44.EQ46XX"), dir.File("country44.eq46xx"));
}

TEST(FindFileNoCaseTest, OnlyTheLastPartOfANameIsMatchedLoosely) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "Presets");
    WriteWholeFile(dir.Path() / "Presets" / "bass.cfg", "x");
    EXPECT_EQ(FindFileNoCase(dir.Path().string(), "Presets/BASS.CFG"), dir.File("Presets/bass.cfg"));
    EXPECT_EQ(FindFileNoCase(dir.Path().string(), "presets/BASS.CFG"), std::nullopt);
}

TEST(DataFileListTest, SortedWithoutRegardToCaseThenUpperCased) {
    TempDir dir;
    for (const char* name :
         {"rap48.EQ46XX", "Jazz48.eq46xx", "COUNTRY44.EQ46XX", "notes.txt", "b.EQ46XX.old"})
        WriteWholeFile(dir.Path() / name, "x");
    std::filesystem::create_directory(dir.Path() / "folder.EQ46XX");
    EXPECT_EQ(DataFileList(dir.Path().string(), "*.EQ46XX"),
              (std::vector<std::string>{"COUNTRY44.EQ46XX", "JAZZ48.EQ46XX", "RAP48.EQ46XX"}));
    EXPECT_TRUE(DataFileList(dir.Path().string(), "*.LD46xx").empty());
    EXPECT_TRUE(DataFileList(dir.Path().string() + "/nowhere", "*").empty());
}

TEST(DataFileListTest, KeepsTheFirstNamesTheDirectoryReturns) {
    TempDir dir;
    for (int i = 0; i < 250; ++i)
        WriteWholeFile(dir.Path() / ("f" + std::to_string(i) + ".eq46xx"), "x");
    // The first 200 in directory order, whatever that order is.
    std::vector<std::string> expected;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        if (expected.size() == MaxDataFileList)
            break;
        std::string name = entry.path().filename().string();
        for (char& c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        expected.push_back(name);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(DataFileList(dir.Path().string(), "*.EQ46XX"), expected);
    EXPECT_EQ(DataFileList(dir.Path().string(), "*.EQ46XX", 3).size(), 3u);
}

} // namespace
