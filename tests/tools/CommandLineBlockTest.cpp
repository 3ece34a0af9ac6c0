// Block transfers: the byte total of a range, reading a range into a
// configuration file, sending a configuration file, and where their file
// dialogs open.

#include "CommandLineFixture.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Kind = SimulatedQmx4600::CallKind;

struct TotalCase {
    const char* start;
    const char* stop;
    const char* bytes;
};

// Sizes in the delivered map: 0x10 and 0xFF one byte each, 0x40 4, 0x41..0x44 32,
// 0x51..0x5E 20, 0xD9..0xDB 4, 0xFE 4, 0x00..0x44 together 196; the map holds 2125 bytes.
TEST(CommandLineBlock, BytesTotalsTheRange) {
    const TotalCase cases[] = {{"10", "05", "1"},   {"ff", "00", "1"},    {"ff", "ff", "1"},
                               {"41", "44", "128"}, {"51", "5e", "280"},  {"d9", "db", "12"},
                               {"fe", "ff", "4"},   {"00", "ff", "2124"}, {"4", "41", "36"}};
    CommandLineWindow w;
    for (const TotalCase& c : cases) {
        SCOPED_TRACE(std::string(c.start) + ".." + c.stop);
        w.Type("BlockStartAddrEdit", c.start);
        w.Type("BlockStopAddrEdit", c.stop);
        EXPECT_EQ(w.Text("BlockBytesEdit").toStdString(), c.bytes);
    }
}

TEST(CommandLineBlock, BytesFollowsAChangeOfEitherField) {
    CommandLineWindow w;
    w.Type("BlockStopAddrEdit", "44");
    EXPECT_EQ(w.Text("BlockBytesEdit"), "196") << "0x00..0x44";
    w.Type("BlockStartAddrEdit", "41");
    EXPECT_EQ(w.Text("BlockBytesEdit"), "128");
    w.Type("BlockStopAddrEdit", "42");
    EXPECT_EQ(w.Text("BlockBytesEdit"), "64");
    EXPECT_TRUE(w.TakeCalls().empty());
}

class BlockFiles : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        w.device->SetRegister(0xD9, Bytes({0x00, 0x00, 0x00, 0x50}));
        w.device->SetRegister(0xDA, Bytes({0x01, 0x02, 0x03, 0x04}));
        w.device->SetRegister(0xDB, Bytes({0x0a, 0x0b, 0x0c, 0x0d}));
        w.Type("BlockStartAddrEdit", "d9");
        w.Type("BlockStopAddrEdit", "db");
    }
    std::string File(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    CommandLineWindow w;
};

const std::string ReadD9ToDb = "!r_master_vol\nXd9 00 00 00 50 \n"
                               "!r_bass_filter_set\nXda 01 02 03 04 \n"
                               "!r_bass_level\nXdb 0a 0b 0c 0d \n";

void ExpectReadsOf(const std::vector<SimulatedQmx4600::Call>& calls, const std::vector<uint8_t>& subAddresses,
                   int count) {
    ASSERT_EQ(calls.size(), subAddresses.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].kind, Kind::Read);
        EXPECT_EQ(calls[i].address7, 0x1B);
        EXPECT_EQ(calls[i].subAddress, subAddresses[i]);
        EXPECT_EQ(calls[i].count, count);
    }
}

TEST_F(BlockFiles, ReadSavesTheRangeAsReadFromTheDevice) {
    w.dialogs.answers.push_back(QString::fromStdString(File("read.cfg")));
    w.Click("BlockReadBitBtn");

    ExpectReadsOf(w.TakeCalls(), {0xD9, 0xDA, 0xDB}, 4);
    EXPECT_EQ(ReadWholeFile(File("read.cfg")), ReadD9ToDb);
    EXPECT_EQ(w.table.GetData(0xDA), Bytes({0x01, 0x02, 0x03, 0x04}));
    EXPECT_EQ(w.log, (EventLog{"StopFsPoll", "read 0xd9", "read 0xda", "read 0xdb", "save dialog",
                               "RestoreStartDirectory", "ResumeFsPoll"}));
    ASSERT_EQ(w.dialogs.saveRequests.size(), 1u);
    const FileDialogRequest& request = w.dialogs.saveRequests[0];
    EXPECT_EQ(request.title, "Pick A File Name to Save Read Data");
    EXPECT_EQ(request.defaultSuffix, "CFG");
    EXPECT_EQ(request.fileName, "*.cfg");
    EXPECT_EQ(w.Message(), "");
}

TEST_F(BlockFiles, CancelledReadWritesNoFileButHasReadTheRegisters) {
    w.Click("BlockReadBitBtn");

    ExpectReadsOf(w.TakeCalls(), {0xD9, 0xDA, 0xDB}, 4);
    EXPECT_EQ(w.table.GetData(0xDB), Bytes({0x0a, 0x0b, 0x0c, 0x0d}));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_EQ(w.log.back(), "ResumeFsPoll");
}

TEST_F(BlockFiles, ReadOverAnExistingFileAsksFirst) {
    for (bool replace : {false, true}) {
        SCOPED_TRACE(replace ? "replace" : "keep");
        WriteWholeFile(File("old.cfg"), "old\n");
        ScriptedOverwriteQuestion question(replace);
        w.table.SetOverwriteQuestion(&question);
        w.dialogs.answers.push_back(QString::fromStdString(File("old.cfg")));
        w.Click("BlockReadBitBtn");
        EXPECT_EQ(question.asked, std::vector<std::string>{File("old.cfg")});
        EXPECT_EQ(ReadWholeFile(File("old.cfg")), replace ? ReadD9ToDb : "old\n");
        w.table.SetOverwriteQuestion(nullptr);
    }
}

// Registers the bus failure kept from being read are saved with the table's
// earlier bytes, never with the idle-bus bytes of the failed call, and the
// window says the read stopped.
TEST_F(BlockFiles, ReadStoppedByABusErrorSavesTheTableAndSaysSo) {
    w.table.SetData(0xDA, Bytes({0xc1, 0xc2, 0xc3, 0xc4}));
    w.table.SetData(0xDB, Bytes({0xd1, 0xd2, 0xd3, 0xd4}));
    w.device->NackSubAddress(0xDA);
    w.dialogs.answers.push_back(QString::fromStdString(File("read.cfg")));
    w.Click("BlockReadBitBtn");

    ExpectReadsOf(w.TakeCalls(), {0xD9, 0xDA}, 4);
    EXPECT_EQ(ReadWholeFile(File("read.cfg")), "!r_master_vol\nXd9 00 00 00 50 \n"
                                               "!r_bass_filter_set\nXda c1 c2 c3 c4 \n"
                                               "!r_bass_level\nXdb d1 d2 d3 d4 \n");
    EXPECT_EQ(w.Message(), "READ STOPPED at a bus error: registers not read keep their earlier bytes in the "
                           "register table and in a saved file");
}

TEST_F(BlockFiles, ReadIntoAFileThatCannotBeWrittenSaysSo) {
    const QString name = dir.filePath("no such folder/read.cfg");
    w.dialogs.answers.push_back(name);
    w.Click("BlockReadBitBtn");
    EXPECT_EQ(w.Message(), ("CANNOT WRITE " + name).toStdString());
    EXPECT_EQ(w.log.back(), "ResumeFsPoll");
}

TEST_F(BlockFiles, WriteSendsOneWritePerRecordInFileOrder) {
    WriteWholeFile(File("send.cfg"), "!r_bass_level\nXdb 12 00 00 12 \n"
                                     "/ mute all first\nX0f ff \n"
                                     "xD9 00 00 00 3A\n");
    w.dialogs.answers.push_back(QString::fromStdString(File("send.cfg")));
    w.Click("BlockWriteBitBtn");

    const auto calls = w.TakeCalls();
    const std::pair<uint8_t, std::vector<uint8_t>> expected[] = {{0xDB, Bytes({0x12, 0x00, 0x00, 0x12})},
                                                                 {0x0F, Bytes({0xff})},
                                                                 {0xD9, Bytes({0x00, 0x00, 0x00, 0x3a})}};
    ASSERT_EQ(calls.size(), std::size(expected));
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].kind, Kind::Write);
        EXPECT_EQ(calls[i].address7, 0x1B);
        EXPECT_EQ(calls[i].subAddress, expected[i].first);
        EXPECT_EQ(calls[i].bytes, expected[i].second);
        EXPECT_EQ(w.table.GetData(expected[i].first), expected[i].second);
    }
    EXPECT_EQ(w.log, (EventLog{"StopFsPoll", "open dialog", "write 0xdb", "write 0x0f", "write 0xd9",
                               "RestoreStartDirectory", "ResumeFsPoll"}));
    ASSERT_EQ(w.dialogs.openRequests.size(), 1u);
    const FileDialogRequest& request = w.dialogs.openRequests[0];
    EXPECT_EQ(request.title, "Choose Configuration Data to Send");
    EXPECT_EQ(request.defaultSuffix, "CFG");
    EXPECT_EQ(request.fileName, "*.cfg");
    EXPECT_EQ(w.Message(), "");
}

TEST_F(BlockFiles, CancelledWriteSendsNothing) {
    w.Click("BlockWriteBitBtn");
    EXPECT_TRUE(w.TakeCalls().empty());
    EXPECT_EQ(w.log, (EventLog{"StopFsPoll", "open dialog", "RestoreStartDirectory", "ResumeFsPoll"}));
}

struct BadFileCase {
    const char* what;
    const char* text; // nullptr: the file does not exist
    const char* message;
};

TEST_F(BlockFiles, WriteOfAFileNotTakenAsItStandsSaysWhy) {
    const BadFileCase cases[] = {
        {"missing", nullptr, "CANNOT READ "},
        {"short record", "Xd9 00 00\n", "bad.cfg: record"},
    };
    for (const BadFileCase& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(dir.filePath("bad.cfg"));
        if (c.text)
            WriteWholeFile(File("bad.cfg"), c.text);
        w.dialogs.answers.push_back(dir.filePath("bad.cfg"));
        w.Click("BlockWriteBitBtn");
        EXPECT_EQ(w.Message().rfind(c.message, 0), 0u) << w.Message();
        EXPECT_TRUE(w.TakeCalls().empty());
    }
}

TEST(CommandLineBlock, EachBlockDialogOpensWhereItsLastFileWasChosen) {
    QTemporaryDir sent, saved;
    ASSERT_TRUE(sent.isValid() && saved.isValid());
    CommandLineWindow w;
    const QString current = QDir::currentPath();
    auto send = [&w](const QString& answer) {
        if (!answer.isEmpty())
            w.dialogs.answers.push_back(answer);
        w.Click("BlockWriteBitBtn");
        return w.dialogs.openRequests.back().folder;
    };
    auto save = [&w](const QString& answer) {
        if (!answer.isEmpty())
            w.dialogs.answers.push_back(answer);
        w.Click("BlockReadBitBtn");
        return w.dialogs.saveRequests.back().folder;
    };

    EXPECT_EQ(send(sent.filePath("a.cfg")), current);
    EXPECT_EQ(save(QString()), current) << "a block write does not move the block read folder";
    EXPECT_EQ(send(QString()), sent.path());
    EXPECT_EQ(send(QString()), sent.path()) << "a cancelled dialog keeps the folder";
    EXPECT_EQ(save(saved.filePath("b.cfg")), current);
    EXPECT_EQ(save(QString()), saved.path());
    EXPECT_EQ(send(QString()), sent.path());
}

} // namespace
