// The transaction log "DataLog.txt": switching it, its entries, and the
// writes the transport logs after a bus failure.

#include "Datalog.h"
#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using coretest::ReadWholeFile;

// Every test runs in a fresh current directory, where the log lives.
class DataLog : public ::testing::Test {
protected:
    TDataLog::CommentLabel Label() {
        return [this](const std::string& text) { labels.push_back(text); };
    }
    void Skipped(TDataLog& log, int subAddress) {
        log.LogValue("I2C Error for SubAddress", subAddress);
        log.LogChar(' ');
    }
    std::string File() const { return ReadWholeFile(TDataLog::FileName); }
    bool FileExists() const { return std::filesystem::exists(TDataLog::FileName); }

    coretest::InTempDir here;
    std::vector<std::string> labels;
};

TEST_F(DataLog, EntriesAreNumberedByEveryWriteOperation) {
    TDataLog log;
    log.ToggleLog(Label());
    EXPECT_TRUE(log.IsOn());
    Skipped(log, 0x1B);
    Skipped(log, 0x05);
    Skipped(log, 0xAB);
    EXPECT_EQ(File(), "0 I2C Error for SubAddress = 0x1b  \n"
                      "2 I2C Error for SubAddress = 0x05  \n"
                      "4 I2C Error for SubAddress = 0xab  \n");
    EXPECT_EQ(labels, std::vector<std::string>{"DataLog ON "});
}

TEST_F(DataLog, OnOffOnKeepsOnlyTheLastOpening) {
    TDataLog log;
    log.ToggleLog(Label());
    Skipped(log, 0x1B);
    log.ToggleLog(Label());
    EXPECT_FALSE(log.IsOn());
    Skipped(log, 0x77); // while off: no trace
    EXPECT_EQ(File(), "0 I2C Error for SubAddress = 0x1b  \n");
    log.ToggleLog(Label());
    Skipped(log, 0x05);
    EXPECT_EQ(File(), "0 I2C Error for SubAddress = 0x05  \n");
    EXPECT_EQ(labels, (std::vector<std::string>{"DataLog ON ", "DataLog OFF", "DataLog ON "}));
}

TEST_F(DataLog, OpeningAgainWhileOnStartsAFreshFileThatStillLogs) {
    TDataLog log;
    ASSERT_TRUE(log.OpenLog(Label()));
    Skipped(log, 0x1B);
    ASSERT_TRUE(log.OpenLog(Label()));
    Skipped(log, 0x05);
    EXPECT_EQ(File(), "0 I2C Error for SubAddress = 0x05  \n");
}

TEST_F(DataLog, OffLeavesNoTrace) {
    TDataLog log;
    Skipped(log, 0x1B);
    log.CloseLog();
    EXPECT_FALSE(FileExists());
    EXPECT_TRUE(labels.empty());
}

TEST_F(DataLog, OpenErrorIsShownAndTheNextUseTriesAgain) {
    std::filesystem::create_directory(TDataLog::FileName); // nothing can create a file of that name
    TDataLog log;
    log.ToggleLog(Label());
    EXPECT_FALSE(log.IsOn());
    Skipped(log, 0x1B);
    EXPECT_EQ(labels, std::vector<std::string>{"DataLog.txt open error"});

    std::filesystem::remove(TDataLog::FileName);
    log.ToggleLog(Label());
    EXPECT_TRUE(log.IsOn());
    Skipped(log, 0x05);
    EXPECT_EQ(File(), "0 I2C Error for SubAddress = 0x05  \n");
    EXPECT_EQ(labels, (std::vector<std::string>{"DataLog.txt open error", "DataLog ON "}));
}

TEST_F(DataLog, SwitchingOnReplacesAnEarlierFile) {
    coretest::WriteWholeFile(TDataLog::FileName, "from an earlier run\n");
    TDataLog log;
    EXPECT_TRUE(log.OpenLog(Label()));
    EXPECT_EQ(File(), "");
}

// The transport logs each write it skips after a failure, but neither the
// failed write itself, nor skipped reads, nor the "USB error" failures.
TEST_F(DataLog, TransportLogsTheWritesItSkips) {
    coretest::DeviceRig rig;
    TDataLog log;
    rig.transport->SetDataLog(&log);
    log.ToggleLog(Label());

    rig.sim->NackSubAddress(0x20);
    rig.table.WriteRegister(0x20); // fails: not logged
    rig.table.WriteRegister(0x1B);
    rig.table.ReadRegisters(0x03, 0x05); // skipped reads: not logged
    rig.table.WriteRegister(0x05);
    EXPECT_EQ(File(), "0 I2C Error for SubAddress = 0x1b  \n"
                      "2 I2C Error for SubAddress = 0x05  \n");
}

TEST_F(DataLog, TransportLogsNothingWhileUnplugged) {
    coretest::DeviceRig rig;
    TDataLog log;
    rig.transport->SetDataLog(&log);
    log.ToggleLog(Label());
    rig.sim->SetPluggedIn(false);
    rig.transport->Reconnect();
    rig.table.WriteRegister(0x1B);
    rig.table.WriteRegister(0x05);
    EXPECT_EQ(rig.ui.statuses.size(), 2u);
    EXPECT_EQ(File(), "");
}

} // namespace
