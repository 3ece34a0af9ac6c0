// Saving a channel as an EQ file, and the file reading back through LOAD's
// keyed reader exactly.

#include "EqFile.h"
#include "Conversions.h"
#include "DeviceRig.h"
#include "EqImport.h"
#include "Equnit.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qmx-eqfile-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// As APPLY writes a biquad: the bytes as byte-edit texts through the model.
void ApplyAll(TEQ& eq, int channelIndex, const EqImportResult& imported) {
    for (int i = 0; i < TEQ::BiquadCount; ++i) {
        TEQ::BiquadFields fields;
        for (size_t b = 0; b < fields.size(); ++b)
            fields[b] = ByteEditText(imported.biquads[static_cast<size_t>(i)].bytes[b]);
        eq.ApplyBiquad(TEQ::BiquadSubAddress(channelIndex, i), fields);
    }
}

std::vector<std::vector<uint8_t>> ChannelBytes(const TConfigDataUnit& table, int channelIndex) {
    std::vector<std::vector<uint8_t>> bytes;
    for (int i = 0; i < TEQ::BiquadCount; ++i)
        bytes.push_back(table.GetData(TEQ::BiquadSubAddress(channelIndex, i)));
    return bytes;
}

TEST(EqFile, WritesKeyedRecordsInTheSaversForm) {
    DeviceRig rig;
    for (int i = 0; i < TEQ::BiquadCount; ++i) {
        std::vector<uint8_t> bytes(20, 0x00);
        bytes[1] = 0x80;
        bytes[19] = static_cast<uint8_t>(0xA0 + i);
        rig.Store(TEQ::BiquadSubAddress(1, i), bytes);
    }
    const std::string text = EqFileText(rig.table, 2, {"Saved from Ch2"});
    EXPECT_EQ(text, "/ Saved from Ch2\n"
                    "!r_ch2_bq[1]\nQ1 00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 a0 \n"
                    "!r_ch2_bq[2]\nQ2 00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 a1 \n"
                    "!r_ch2_bq[3]\nQ3 00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 a2 \n"
                    "!r_ch2_bq[4]\nQ4 00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 a3 \n"
                    "!r_ch2_bq[5]\nQ5 00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 a4 \n"
                    "!r_ch2_bq[6]\nQ6 00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 a5 \n"
                    "!r_ch2_bq[7]\nQ7 00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 a6 \n");
    EXPECT_TRUE(rig.TakeWrites().empty());
}

// import -> APPLY -> save -> LOAD, on every channel and into another one.
TEST(EqFile, AnImportAppliedSavedAndLoadedGivesTheSameRegisterBytes) {
    const EqImportResult imported = ImportFilterList("Filter 1: ON PK Fc 63.0 Hz Gain -4.5 dB Q 2.50\n"
                                                     "Filter 2: ON LS Fc 90 Hz Gain 3 dB\n"
                                                     "Filter 3: ON HS 6dB Fc 9000 Hz Gain -2 dB\n"
                                                     "Filter 4: ON NO Fc 60 Hz Q 20\n"
                                                     "Filter 5: ON HP1 Fc 20 Hz\n",
                                                     48000);
    ASSERT_TRUE(imported.Ok()) << ::testing::PrintToString(imported.errors);
    TempFolder folder;
    for (int channel = 0; channel < TEQ::ChannelCount; ++channel) {
        SCOPED_TRACE(channel);
        DeviceRig rig;
        TEQ eq(rig.table);
        ApplyAll(eq, channel, imported);
        const std::vector<std::vector<uint8_t>> applied = ChannelBytes(rig.table, channel);
        for (int i = 0; i < TEQ::BiquadCount; ++i)
            EXPECT_EQ(applied[static_cast<size_t>(i)],
                      std::vector<uint8_t>(imported.biquads[static_cast<size_t>(i)].bytes.begin(),
                                           imported.biquads[static_cast<size_t>(i)].bytes.end()));
        rig.TakeWrites();

        const std::string file = folder.File("ROOM" + std::to_string(channel) + ".EQ46XX");
        ASSERT_EQ(SaveEqFile(rig.table, file, channel + 1, {"Room correction"}), SaveOutcome::Saved);

        // Back into the same channel after it was flattened, and into the
        // channel after it: the same bytes, sent in file order.
        const int other = (channel + 1) % TEQ::ChannelCount;
        for (int target : {channel, other}) {
            for (int i = 0; i < TEQ::BiquadCount; ++i)
                rig.Store(TEQ::BiquadSubAddress(target, i), std::vector<uint8_t>(20, 0x11));
            const FileReport report = rig.table.LoadKeyedFile(file, TEQ::ChannelBase(target + 1));
            EXPECT_TRUE(report.opened);
            EXPECT_TRUE(report.problems.empty()) << ::testing::PrintToString(report.problems);
            EXPECT_EQ(ChannelBytes(rig.table, target), applied);
            std::vector<std::string> expectedWrites;
            for (int i = 0; i < TEQ::BiquadCount; ++i)
                expectedWrites.push_back(WriteText(static_cast<uint8_t>(TEQ::BiquadSubAddress(target, i)),
                                                   applied[static_cast<size_t>(i)]));
            EXPECT_EQ(rig.TakeWrites(), expectedWrites);
        }
    }
}

TEST(EqFile, AFailedSaveLeavesTheOldFileAsItWas) {
    DeviceRig rig;
    TempFolder folder;
    EXPECT_EQ(SaveEqFile(rig.table, folder.File("no-such-folder/X.EQ46XX"), 1, {}), SaveOutcome::Failed);

    const std::string file = folder.File("KEEP.EQ46XX");
    { std::ofstream(file) << "old text\n"; }
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    if (::geteuid() != 0) { // root may write a read-only file
        EXPECT_EQ(SaveEqFile(rig.table, file, 1, {}), SaveOutcome::Failed);
        EXPECT_EQ(ReadAll(file), "old text\n");
    }
}

} // namespace
