// RESET and REINIT: the device is reset; REINIT brings it back to the
// settings it had, from the temp file in the start directory.

#include "AppFixture.h"

#include "Configdataunit.h"
#include "Mainunit.h"
#include "RadioGroup.h"
#include "TrackBar.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QLabel>

using Kind = SimulatedQmx4600::CallKind;

namespace {

// Every file of a folder with a hash of its contents.
std::map<QString, QByteArray> FolderContents(const QString& path) {
    std::map<QString, QByteArray> contents;
    for (QDirIterator it(path, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); it.hasNext();) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        contents[it.fileName()] = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
    }
    return contents;
}

std::map<int, std::vector<uint8_t>> SavedRegisters(const SimulatedQmx4600& sim) {
    std::map<int, std::vector<uint8_t>> registers;
    for (int s = 0; s < 256; ++s)
        if (!TConfigDataUnit::IsExcludedFromSave(s))
            registers[s] = sim.Register(static_cast<uint8_t>(s));
    return registers;
}

} // namespace

class ResetTest : public ProgramTest {
protected:
    // Moves the device away from its power-on settings through the panels.
    void ChangeSettings() {
        Click("VolumesuiButton");
        Find<TrackBar>("MasterVTrackBar")->SetPosition(80);
        Find<TrackBar>("Ch2VTrackBar")->SetPosition(200);
        Find<QCheckBox>("Ch1VMuteCheckBox")->click();
        Click("DataClockControlsuiButton");
        Find<RadioGroup>("SerialFormatRadioGroup")->SetItemIndex(7);
        TakeCalls();
    }
};

TEST_F(ResetTest, ResetReadsThePowerOnContentsBackAndLeavesTheFolderAlone) {
    Start();
    ChangeSettings();
    const auto filesBefore = FolderContents(startDir_.path());

    Click("RESETsuiButton");
    const auto calls = TakeCalls();
    ASSERT_GE(calls.size(), 2u + 255u);
    EXPECT_EQ(calls[0].kind, Kind::Connect);
    EXPECT_EQ(calls[1].kind, Kind::Reset);
    EXPECT_EQ(Reads(calls).front().subAddress, 0x00);
    EXPECT_EQ(HexBytes(sim_->Register(0xD9)), "00 00 00 48");
    EXPECT_EQ(Find<TrackBar>("MasterVTrackBar")->Position(), 72);
    EXPECT_FALSE(Find<QCheckBox>("Ch1VMuteCheckBox")->isChecked());
    EXPECT_EQ(Text("LabelFormatType"), "I2S");
    EXPECT_EQ(Text("LabelStatusUnits"), "OK");
    EXPECT_EQ(FolderContents(startDir_.path()), filesBefore);
}

TEST_F(ResetTest, ReinitRestoresTheDeviceByteForByte) {
    Start();
    ChangeSettings();
    const auto before = SavedRegisters(*sim_);
    ASSERT_EQ(HexBytes(before.at(0xD9)), "00 00 00 50");
    ASSERT_EQ(HexBytes(before.at(0x0F)), "01");

    Click("REINITsuiButton");
    const auto calls = TakeCalls();
    EXPECT_EQ(calls[1].kind, Kind::Reset);
    EXPECT_EQ(SavedRegisters(*sim_), before);
    EXPECT_TRUE(QFile::exists(StartFile("QMX4600TempFile.cfg")));
    EXPECT_EQ(Find<TrackBar>("MasterVTrackBar")->Position(), 80);
    EXPECT_TRUE(Find<QCheckBox>("Ch1VMuteCheckBox")->isChecked());
    EXPECT_EQ(Text("LabelFormatBits"), "20");
    EXPECT_EQ(Text("LabelStatusUnits"), "OK");
}

TEST_F(ResetTest, ReinitUsesTheStartDirectoryWhereverTheCurrentOneIs) {
    Start();
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    Click("REINITsuiButton");
    EXPECT_TRUE(QFile::exists(StartFile("QMX4600TempFile.cfg")));
    EXPECT_FALSE(QFile::exists(elsewhere.filePath("QMX4600TempFile.cfg")));
    EXPECT_EQ(QDir::currentPath(), startDir_.path());
}

TEST_F(ResetTest, ReinitDoesNotResetTheDeviceWhenTheSettingsCannotBeSaved) {
    Start();
    ChangeSettings();
    // A folder in the temp file's place: the save cannot complete.
    ASSERT_TRUE(startDir_.mkdir("QMX4600TempFile.cfg"));
    const auto before = SavedRegisters(*sim_);

    Click("REINITsuiButton");
    for (const auto& call : TakeCalls())
        EXPECT_NE(call.kind, Kind::Reset);
    EXPECT_EQ(SavedRegisters(*sim_), before);
    EXPECT_TRUE(Text("HelpfulCommentsLabel").startsWith("REINIT not done: cannot write QMX4600TempFile.cfg"))
        << Text("HelpfulCommentsLabel").toStdString();
}
