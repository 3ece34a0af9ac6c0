// Saving the register image from the File menu and loading it back.

#include "AppFixture.h"

#include "Configdataunit.h"
#include "Mainunit.h"
#include "TrackBar.h"

#include <QCheckBox>
#include <QTextStream>

TEST_F(ProgramTest, ConfigFileSavedFromTheMenuLoadsBackInsideTheMuteBracket) {
    Start();
    Click("VolumesuiButton");
    Find<TrackBar>("MasterVTrackBar")->SetPosition(80);
    Find<QCheckBox>("Ch2VMuteCheckBox")->click();

    const QString file = StartFile("mine.cfg");
    dialogs_.answers = {file};
    Trigger("ConfigFileS");
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    EXPECT_EQ(dialogs_.requests[0].defaultSuffix, "CFG");
    EXPECT_EQ(dialogs_.requests[0].fileName, "*.cfg");
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QTextStream(&saved).readAll();
    EXPECT_TRUE(text.contains("!r_master_vol\nXd9 00 00 00 50 \n")) << text.toStdString();
    EXPECT_FALSE(text.contains("\nX00 ")) << "the clock register is never saved";

    Find<TrackBar>("MasterVTrackBar")->SetPosition(300);
    TakeCalls();
    dialogs_.answers = {file};
    Trigger("ConfigFileL");
    const auto writes = Writes(TakeCalls());
    ASSERT_GE(writes.size(), 3u);
    EXPECT_EQ(writes.front().subAddress, 0x0F);
    EXPECT_EQ(HexBytes(writes.front().bytes), "ff");
    // After the file's own registers comes the unmute; the refresh that
    // follows writes back only what it corrects.
    int unmute = -1;
    for (size_t i = 1; i < writes.size(); ++i)
        if (writes[i].subAddress == 0x0F && HexBytes(writes[i].bytes) == "00")
            unmute = static_cast<int>(i);
    ASSERT_GT(unmute, 1);
    int records = 0;
    for (int i = 1; i < unmute; ++i)
        records += writes[i].subAddress == 0xD9 && HexBytes(writes[i].bytes) == "00 00 00 50";
    EXPECT_EQ(records, 1);
    EXPECT_EQ(Find<TrackBar>("MasterVTrackBar")->Position(), 80);
    EXPECT_FALSE(Find<QCheckBox>("Ch2VMuteCheckBox")->isChecked()) << "the final unmute wins over the file";
    EXPECT_EQ(HexBytes(sim_->Register(0x0F)), "00");
}

TEST_F(ProgramTest, CancelledLoadStillMutesUnmutesAndRefreshes) {
    Start();
    TakeCalls();
    dialogs_.answers = {QString()};
    Trigger("ConfigFileL");
    const auto writes = Writes(TakeCalls());
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(HexBytes(writes[0].bytes), "ff");
    EXPECT_EQ(HexBytes(writes[1].bytes), "00");
}

TEST_F(ProgramTest, ALoadedFileWithShortRecordsSaysSo) {
    Start();
    const QString file = StartFile("short.cfg");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Text));
    out.write("Xd9 00 00\nXd1 00 00 00 40\n");
    out.close();
    dialogs_.answers = {file};
    Trigger("ConfigFileL");
    EXPECT_TRUE(Text("HelpfulCommentsLabel").contains("0xd9")) << Text("HelpfulCommentsLabel").toStdString();
    EXPECT_EQ(HexBytes(sim_->Register(0xD1)), "00 00 00 40");
    EXPECT_EQ(HexBytes(sim_->Register(0xD9)), "00 00 00 48");
}

TEST_F(ProgramTest, ASaveThatCannotBeWrittenSaysSo) {
    Start();
    dialogs_.answers = {StartFile("no/such/folder/x.cfg")};
    Trigger("ConfigFileS");
    EXPECT_TRUE(Text("HelpfulCommentsLabel").startsWith("Not saved"))
        << Text("HelpfulCommentsLabel").toStdString();
}
