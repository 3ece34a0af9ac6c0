#include "RegisterCompare.h"
#include "Configcompare.h"
#include "DeviceRig.h"
#include "FileDialogs.h"
#include "MainWindowHooks.h"

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// A configuration file of the records given ("X41 00 80 00 00 ..."), one a line.
std::string WriteFile(const QTemporaryDir& dir, const std::string& name,
                      const std::vector<std::string>& lines) {
    const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream out(path);
    for (const std::string& line : lines)
        out << line << '\n';
    return path;
}

const std::string Unity = "00 80 00 00";
const std::string Zero = "00 00 00 00";
const std::string Half = "00 40 00 00";

std::string Repeat(const std::string& word, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += (i ? " " : "") + word;
    return text;
}

// Records shared by both files; each file adds its own on top.
std::vector<std::string> Common() {
    return {"!r_soft_mute", "X0f 00", "X0e 05", "Xd9 00 00 00 48", "Xdb 12 00 00 12"};
}

class RegisterCompareTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    DeviceRig rig;
};

TEST_F(RegisterCompareTest, TwoFilesDifferingInThreeRegistersListExactlyThoseWithNamesAndValues) {
    std::vector<std::string> a = Common(), b = Common();
    a.push_back("X41 " + Unity + " " + Repeat(Zero, 7));
    b.push_back("X41 " + Half + " " + Repeat(Zero, 7));
    a.push_back("X51 " + Unity + " " + Repeat(Zero, 4));
    b.push_back("X51 " + Half + " ff e0 00 00 " + Repeat(Zero, 3));
    a.push_back("Xd1 00 00 00 48");
    b.push_back("Xd1 00 00 00 50");
    const RegisterImage left = FileImage(rig.table, WriteFile(dir, "a.cfg", a), "A: a.cfg");
    const RegisterImage right = FileImage(rig.table, WriteFile(dir, "b.cfg", b), "B: b.cfg");
    EXPECT_TRUE(left.problems.empty());
    EXPECT_TRUE(right.problems.empty());

    const RegisterComparison comparison = CompareImages(rig.table, left, right);
    EXPECT_EQ(comparison.rows.size(), 7u);
    EXPECT_EQ(comparison.differences, 3);
    std::vector<std::string> lines;
    for (const RegisterRow& row : comparison.rows)
        if (row.differs)
            lines.push_back(DifferenceLine(row, "A", "B"));
    EXPECT_EQ(lines, std::vector<std::string>({
                         "0x41 r_A_to_ipmix[1]  A: " + Unity + " " + Repeat(Zero, 7) +
                             " (0 dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB)  B: " +
                             Half + " " + Repeat(Zero, 7) +
                             " (-6.02 dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB)",
                         "0x51 r_ch1_bq[1]  A: " + Unity + " " + Repeat(Zero, 4) +
                             " (b0 1 b1 0 b2 0 a1 0 a2 0)  B: " + Half + " ff e0 00 00 " + Repeat(Zero, 3) +
                             " (b0 0.5 b1 -0.25 b2 0 a1 0 a2 0)",
                         "0xd1 r_ch1_vol  A: 00 00 00 48 (0 dB)  B: 00 00 00 50 (-2 dB)",
                     }));

    // The bytes that differ, and only those, are marked.
    const RegisterRow& biquad = comparison.rows[3];
    ASSERT_EQ(biquad.subAddress, 0x51);
    std::vector<bool> marked(20, false);
    marked[1] = marked[4] = marked[5] = true;
    EXPECT_EQ(biquad.byteDiffers, marked);
}

TEST(DecodeRegisterTest, KnownFormatsOnly) {
    struct Case {
        int subAddress;
        std::vector<uint8_t> bytes;
        const char* value;
    };
    const Case cases[] = {
        {0xD9, {0x00, 0x00, 0x00, 0x00}, "18 dB"},
        {0xD1, {0x00, 0x00, 0x00, 0x49}, "-0.25 dB"},
        {0xD8, {0x00, 0x00, 0x02, 0x45}, "MUTE"}, // step 581
        {0xD7, {0xff, 0xff, 0xf0, 0x48}, "0 dB"}, // only the low 12 bits count
        {0x4D, {0x00, 0x80, 0x00, 0x00}, "0 dB"}, // bass management gain
        {0xAA,
         {0x10, 0x40, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00},
         "-6.02 dB, -inf dB"}, // source nibble ignored
        {0x95,
         {0x00, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xc0, 0, 0, 0x00, 0x20, 0, 0},
         "b0 1 b1 0 b2 0 a1 -0.5 a2 0.25"},
        {0x0E, {0x05}, ""}, // serial format: shown as bytes only
        {0x40, {0x00, 0x03, 0xb0, 0x44}, ""},
        {0xD1, {0x00, 0x48}, ""}, // a short register is not guessed at
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeRegister(c.subAddress, c.bytes), c.value) << std::hex << c.subAddress;
}

TEST_F(RegisterCompareTest, AFileWithProblemsIsComparedAsFarAsItReads) {
    // The second record is cut short by the third.
    const std::string path = WriteFile(dir, "bad.cfg", {"X0e 05", "Xd1 00 00", "Xd2 00 00 00 50"});
    const RegisterImage file = FileImage(rig.table, path, "bad.cfg");
    EXPECT_EQ(file.registers.size(), 2u);
    EXPECT_TRUE(file.registers.contains(0x0E));
    EXPECT_TRUE(file.registers.contains(0xD2));
    EXPECT_EQ(file.problems,
              std::vector<std::string>({"record X (register 0xd1) has 2 of its 4 bytes; not loaded"}));

    const RegisterImage missing = FileImage(rig.table, dir.filePath("none.cfg").toStdString(), "none.cfg");
    EXPECT_TRUE(missing.registers.empty());
    ASSERT_EQ(missing.problems.size(), 1u);
    EXPECT_EQ(missing.problems[0], "Cannot read " + dir.filePath("none.cfg").toStdString());
    EXPECT_TRUE(rig.TakeWrites().empty());
}

TEST_F(RegisterCompareTest, RegistersOnlyOneSideHolds) {
    const RegisterImage small = FileImage(rig.table, WriteFile(dir, "small.cfg", {"X0e 05"}), "small");
    const RegisterImage big = FileImage(rig.table, WriteFile(dir, "big.cfg", {"X0e 05", "X0f 01"}), "big");
    // Between two files a register only one holds is a difference ...
    const RegisterComparison files = CompareImages(rig.table, small, big);
    ASSERT_EQ(files.rows.size(), 2u);
    EXPECT_EQ(files.differences, 1);
    EXPECT_EQ(DifferenceLine(files.rows[1], "A", "B"), "0x0f r_soft_mute  A: (none)  B: 01");
    // ... but the table holds every register, which a file need not.
    rig.Store(0x0E, {0x05});
    const RegisterComparison withTable = CompareImages(rig.table, small, TableImage(rig.table));
    EXPECT_EQ(withTable.differences, 0);
    EXPECT_GT(withTable.rows.size(), 200u);
}

TEST_F(RegisterCompareTest, DeviceReadBackFindsWhatChangedBehindTheToolsBack) {
    const std::vector<uint8_t> before = rig.table.GetData(0xD2);
    const std::vector<uint8_t> changed = {0x00, 0x00, 0x00, 0x50};
    rig.device->SetRegister(0xD2, changed);

    const RegisterImage device = DeviceImage(rig.table);
    EXPECT_TRUE(device.problems.empty());
    // Every register the map defines is read, one transfer each, and the
    // table is left as it was.
    const std::vector<int> reads = rig.TakeReads();
    EXPECT_EQ(reads.size(), 256u);
    EXPECT_EQ(rig.table.GetData(0xD2), before);

    const RegisterComparison comparison = CompareImages(rig.table, TableImage(rig.table), device);
    EXPECT_EQ(comparison.differences, 1);
    std::vector<std::string> lines;
    for (const RegisterRow& row : comparison.rows)
        if (row.differs)
            lines.push_back(DifferenceLine(row, "Table", "Device"));
    EXPECT_EQ(lines, std::vector<std::string>(
                         {"0xd2 r_ch2_vol  Table: 00 00 00 48 (0 dB)  Device: 00 00 00 50 (-2 dB)"}));
    EXPECT_EQ(DifferencesText(comparison, TableImage(rig.table), device),
              "Left: Register table\nRight: Device\n1 register differs\n"
              "0xd2 r_ch2_vol  Left: 00 00 00 48 (0 dB)  Right: 00 00 00 50 (-2 dB)\n");
}

TEST_F(RegisterCompareTest, AFailingBusStopsTheReadBackAndSaysSo) {
    rig.device->NackSubAddress(0x10);
    const RegisterImage device = DeviceImage(rig.table);
    ASSERT_EQ(device.problems.size(), 1u);
    EXPECT_EQ(device.problems[0], "The device could not be read from register 0x10 on");
    EXPECT_EQ(device.registers.size(), 0x10u);
    // What could not be read counts as differing from the table.
    EXPECT_EQ(CompareImages(rig.table, TableImage(rig.table), device).differences, 256 - 0x10);
}

} // namespace

namespace {

// The main window as the compare window sees it: its calls in one timeline
// with the device writes made before each.
class TimelineHooks : public IMainWindowHooks {
public:
    explicit TimelineHooks(DeviceRig& rig) : rig_(rig) {}
    void RefreshAll() override { Note("RefreshAll"); }
    void AdjustToSampleRateMode() override { Note("AdjustToSampleRateMode"); }
    void StopFsPoll() override { Note("StopFsPoll"); }
    void ResumeFsPoll() override { Note("ResumeFsPoll"); }
    void RestoreStartDirectory() override { Note("RestoreStartDirectory"); }
    void ShowMessage(const std::string& text) override { Note("message: " + text); }
    void OpenDocument(const std::string& fileName) override { Note("document: " + fileName); }
    void ShowPanel(QWidget*) override { Note("ShowPanel"); }
    void UpdateGainIndicators() override { Note("UpdateGainIndicators"); }

    std::vector<std::string> Take() {
        Flush();
        return std::exchange(timeline_, {});
    }

private:
    void Flush() {
        for (std::string& write : rig_.TakeWrites())
            timeline_.push_back(std::move(write));
    }
    void Note(const std::string& entry) {
        Flush();
        timeline_.push_back(entry);
    }
    DeviceRig& rig_;
    std::vector<std::string> timeline_;
};

class NoDialogs : public IFileDialogs {
public:
    QString GetOpenFileName(QWidget*, const FileDialogRequest&) override { return {}; }
    QString GetSaveFileName(QWidget*, const FileDialogRequest&) override { return {}; }
};

TEST(ConfigCompareSendTest, WritesTheFileInOrderThenTheGainPicturesThenTheRefresh) {
    QTemporaryDir dir;
    DeviceRig rig;
    TimelineHooks hooks(rig);
    NoDialogs dialogs;
    TConfigCompareForm form(rig.table, rig.bus, hooks, dialogs);
    auto* combo = form.findChild<QComboBox*>("BsuiComboBox");
    ASSERT_NE(combo, nullptr);

    combo->setEditText(QString::fromStdString(WriteFile(dir, "two.cfg", {"Xd1 00 00 00 50", "X0e 03"})));
    form.BSendsuiButtonClick();
    EXPECT_EQ(hooks.Take(),
              std::vector<std::string>({"d1: 00 00 00 50", "0e: 03", "UpdateGainIndicators", "RefreshAll"}));

    // Nothing at all for a file that cannot be opened, nor for an empty slot.
    combo->setEditText(dir.filePath("gone.cfg"));
    form.BSendsuiButtonClick();
    combo->setEditText(QString());
    form.BSendsuiButtonClick();
    EXPECT_TRUE(hooks.Take().empty());
    EXPECT_EQ(form.findChild<QLabel*>("MessageLabel")->text(), "");
}

} // namespace
