// The configuration compare window, its register compare and the device
// check, driven in the whole program against the simulated device.

#include "AppFixture.h"

#include "Accessibility.h"
#include "Configcompare.h"
#include "Look.h"
#include "Mainunit.h"
#include "RadioGroup.h"
#include "RegisterCompareWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextStream>

#include <stdexcept>

namespace {

const QString Unity = "00 80 00 00";
const QString Zero = "00 00 00 00";

QString Zeros(int words) {
    QStringList list;
    for (int i = 0; i < words; ++i)
        list << Zero;
    return list.join(' ');
}

class ConfigCompareTest : public ProgramTest {
protected:
    void SetUp() override { Start(); }

    TConfigCompareForm& Form() { return program_->ConfigCompare(); }
    TRegisterCompareForm& Compare() { return Form().RegisterCompare(); }

    template <class T> T* In(QWidget& window, const QString& name) {
        T* found = window.findChild<T*>(name);
        if (!found)
            throw std::runtime_error("no control named " + name.toStdString());
        return found;
    }
    void Press(QWidget& window, const QString& name) { In<QPushButton>(window, name)->click(); }
    QComboBox* Combo(const QString& name) { return In<QComboBox>(Form(), name); }

    QString WriteFile(const QString& name, const QStringList& lines) {
        QFile file(StartFile(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
            throw std::runtime_error("cannot write " + name.toStdString());
        QTextStream out(&file);
        for (const QString& line : lines)
            out << line << '\n';
        return StartFile(name);
    }

    // Puts a file into a slot through its browse button.
    void BrowseInto(const QString& slot, const QString& file) {
        dialogs_.answers = {file};
        Press(Form(), slot + "BrowsesuiButton");
    }

    void CompareSides(int left, int right) {
        In<QComboBox>(Compare(), "LeftSourceComboBox")->setCurrentIndex(left);
        In<QComboBox>(Compare(), "RightSourceComboBox")->setCurrentIndex(right);
        Press(Compare(), "CompareButton");
    }

    QTableWidget* Table() { return In<QTableWidget>(Compare(), "RegisterTable"); }
    QString Cell(int row, int column) {
        QTableWidgetItem* item = Table()->item(row, column);
        return item ? item->text() : QString();
    }
};

TEST_F(ConfigCompareTest, ToolsEntryShowsTheOneWindowKeptForTheProgramsLife) {
    auto* entry = Main().findChild<QAction*>("ConfigCompare");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "Configuration Compare");
    EXPECT_TRUE(entry->isEnabled());
    EXPECT_FALSE(Form().isVisible());
    Trigger("ConfigCompare");
    EXPECT_TRUE(Form().isVisible());
    EXPECT_EQ(Form().windowTitle(), "Compare Audio Configurations");

    const char* const captions[][2] = {{"AFileGroupBox", "A configuration"},
                                       {"BFileGroupBox", "B configuration"},
                                       {"CFileGroupBox", "C configuration"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(In<QGroupBox>(Form(), name)->title(), caption);
    const char* const buttons[][2] = {
        {"AClearsuiButton", "A clear"},   {"BClearsuiButton", "B clear"},   {"CClearsuiButton", "C clear"},
        {"ABrowsesuiButton", "A browse"}, {"BBrowsesuiButton", "B browse"}, {"CBrowsesuiButton", "C browse"},
        {"ASendsuiButton", "A send"},     {"BSendsuiButton", "B send"},     {"CSendsuiButton", "C send"},
        {"EditsuiButton", "File Diff"},   {"CloseButton", "CLOSE"}};
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(In<QPushButton>(Form(), name)->text(), caption);
    for (const char* combo : {"AsuiComboBox", "BsuiComboBox", "CsuiComboBox"}) {
        EXPECT_TRUE(Combo(combo)->isEditable());
        EXPECT_EQ(Combo(combo)->count(), 0);
    }
    EXPECT_TRUE(In<QLabel>(Form(), "NoteLabel")->text().contains("built-in register compare"));
    EXPECT_TRUE(ControlsNotToldApart(&Form()).isEmpty())
        << ControlsNotToldApart(&Form()).join("; ").toStdString();

    BrowseInto("B", StartFile("kept.cfg"));
    Press(Form(), "CloseButton");
    EXPECT_FALSE(Form().isVisible());
    Trigger("ConfigCompare");
    EXPECT_TRUE(Form().isVisible());
    EXPECT_EQ(Combo("BsuiComboBox")->currentText(), StartFile("kept.cfg"));
}

TEST_F(ConfigCompareTest, BrowsingAppendsToTheHistoryAndMovesTheSelectionOneOn) {
    QComboBox* a = Combo("AsuiComboBox");
    // Cancelled: an empty entry, selected.
    dialogs_.answers = {QString()};
    Press(Form(), "ABrowsesuiButton");
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    EXPECT_EQ(dialogs_.requests[0].defaultSuffix, "CFG");
    EXPECT_EQ(dialogs_.requests[0].fileName, "*.cfg");
    EXPECT_EQ(a->count(), 1);
    EXPECT_EQ(a->itemText(0), "");
    EXPECT_EQ(a->currentIndex(), 0);

    BrowseInto("A", "/x/one.cfg");
    BrowseInto("A", "/x/two.cfg");
    EXPECT_EQ(a->count(), 3);
    EXPECT_EQ(a->currentText(), "/x/two.cfg");

    // The first of three selected: a fourth selects the second, not itself.
    a->setCurrentIndex(0);
    BrowseInto("A", "/x/three.cfg");
    EXPECT_EQ(a->count(), 4);
    EXPECT_EQ(a->itemText(3), "/x/three.cfg");
    EXPECT_EQ(a->currentIndex(), 1);
    EXPECT_EQ(a->currentText(), "/x/one.cfg");

    Press(Form(), "AClearsuiButton");
    EXPECT_EQ(a->count(), 0);
    EXPECT_EQ(a->currentText(), "");
    BrowseInto("A", "/x/four.cfg");
    EXPECT_EQ(a->currentText(), "/x/four.cfg");
    EXPECT_EQ(Combo("BsuiComboBox")->count(), 0) << "each slot keeps its own list";
}

TEST_F(ConfigCompareTest, SendWritesEveryRegisterOfTheFileInOrderAndLeavesTheBankPanelAsItWas) {
    const QString file = WriteFile("send.cfg", {"!r_serial_format", "X0e 03", "Xd1 00 00 00 50",
                                                "X41 " + Unity + " " + Zeros(7), "X40 00 03 b0 44"});
    BrowseInto("C", file);
    TakeCalls();
    Press(Form(), "CSendsuiButton");
    const auto writes = Writes(TakeCalls());
    ASSERT_GE(writes.size(), 4u);
    const char* const expected[][2] = {{"\x0e", "03"},
                                       {"\xd1", "00 00 00 50"},
                                       {"\x41",
                                        "00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                                        "00 00 00 00 00 00 00 00 00 00"},
                                       {"\x40", "00 03 b0 44"}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(writes[i].subAddress, static_cast<uint8_t>(expected[i][0][0])) << i;
        EXPECT_EQ(HexBytes(writes[i].bytes), expected[i][1]) << i;
    }
    // The refresh that follows brings the panels in line: the volume shows
    // the file's value, and nothing writes the file's registers again.
    for (size_t i = 4; i < writes.size(); ++i)
        EXPECT_NE(writes[i].subAddress, 0x40) << "the bank panel wrote over the file";
    EXPECT_EQ(Text("Ch1VdBLabel"), "-2");

    // The bank panel is not set from the register; it says the device holds other banks.
    EXPECT_EQ(Find<RadioGroup>("BankSelectRadioGroup")->ItemIndex(), 0);
    EXPECT_EQ(Find<RadioGroup>("Bank38kRadioGroup")->ItemIndex(), 0);
    EXPECT_EQ(Text("LabelBankAutoMan"), "MAN");
    EXPECT_EQ(Text("LabelBankSelected"), "1");
    EXPECT_EQ(Text("BankRegisterNoticeLabel"), "Device bank register differs from this panel: 00 03 b0 44");
    EXPECT_EQ(In<QLabel>(Form(), "MessageLabel")->text(), "");
}

TEST_F(ConfigCompareTest, AFileThatCannotBeOpenedSendsAndShowsNothing) {
    Combo("AsuiComboBox")->setEditText(StartFile("missing.cfg"));
    const QString comment = Text("HelpfulCommentsLabel");
    TakeCalls();
    Press(Form(), "ASendsuiButton");
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(In<QLabel>(Form(), "MessageLabel")->text(), "");
    EXPECT_EQ(Text("HelpfulCommentsLabel"), comment);
}

TEST_F(ConfigCompareTest, FileDiffComparesTwoFilesRegisterByRegister) {
    const QStringList common = {"X0e 05", "Xd9 00 00 00 48"};
    BrowseInto("A", WriteFile("a.cfg", common + QStringList{"X41 " + Unity + " " + Zeros(7),
                                                            "Xd1 00 00 00 48", "Xda 02 00 00 02"}));
    BrowseInto("B", WriteFile("b.cfg", common + QStringList{"X41 00 40 00 00 " + Zeros(7), "Xd1 00 00 00 50",
                                                            "Xda 02 00 00 03"}));
    TakeCalls();
    Press(Form(), "EditsuiButton");
    EXPECT_TRUE(Compare().isVisible());
    EXPECT_FALSE(Main().isMinimized()) << "a built-in window needs no waiting";
    CompareSides(TRegisterCompareForm::SlotA, TRegisterCompareForm::SlotB);
    EXPECT_TRUE(TakeCalls().empty()) << "two files need no device";

    ASSERT_EQ(Table()->rowCount(), 3);
    EXPECT_EQ(Cell(0, 0), "0x41 r_A_to_ipmix[1]");
    EXPECT_EQ(Cell(0, 2), "0 dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB");
    EXPECT_EQ(Cell(0, 4), "-6.02 dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB");
    EXPECT_EQ(Cell(1, 0), "0xd1 r_ch1_vol");
    EXPECT_EQ(Cell(1, 2), "0 dB");
    EXPECT_EQ(Cell(1, 4), "-2 dB");
    EXPECT_EQ(Cell(2, 0), "0xda r_bass_filter_set");
    EXPECT_EQ(Cell(2, 2), "");
    EXPECT_EQ(Table()->item(1, 3)->data(Qt::AccessibleTextRole).toString(), "00 00 00 50, differs");
    auto* marked = qobject_cast<QLabel*>(Table()->cellWidget(1, 3));
    ASSERT_NE(marked, nullptr);
    EXPECT_TRUE(marked->text().contains("font-weight:bold\">50</span>")) << marked->text().toStdString();
    EXPECT_FALSE(marked->text().contains("bold\">00")) << "equal bytes are not marked";
    EXPECT_EQ(Table()->horizontalHeaderItem(1)->text(), "A: a.cfg");
    EXPECT_EQ(Table()->horizontalHeaderItem(3)->text(), "B: b.cfg");
    EXPECT_EQ(In<QLabel>(Compare(), "SummaryLabel")->text(), "3 of 5 registers differ");
    EXPECT_FALSE(In<QLabel>(Compare(), "ProblemsLabel")->isVisible());

    In<QCheckBox>(Compare(), "OnlyDifferencesCheckBox")->click();
    EXPECT_EQ(Table()->rowCount(), 5);
    EXPECT_EQ(Cell(0, 0), "0x0e r_serial_format");

    Press(Compare(), "CopyDifferencesButton");
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains("\n0xd1 r_ch1_vol  Left: 00 00 00 48 (0 dB)  Right: 00 00 00 50 (-2 dB)\n"))
        << copied.toStdString();
    EXPECT_TRUE(copied.contains("3 registers differ"));
    EXPECT_TRUE(ControlsNotToldApart(&Compare()).isEmpty())
        << ControlsNotToldApart(&Compare()).join("; ").toStdString();
}

TEST_F(ConfigCompareTest, FileProblemsAreListedAboveTheTable) {
    BrowseInto("A", WriteFile("bad.cfg", {"X0e 05", "Xd1 00 00", "Xd2 00 00 00 50"}));
    Press(Form(), "EditsuiButton");
    CompareSides(TRegisterCompareForm::SlotA, TRegisterCompareForm::SlotC);
    QLabel* problems = In<QLabel>(Compare(), "ProblemsLabel");
    EXPECT_TRUE(problems->isVisible());
    EXPECT_EQ(problems->text(), "A: bad.cfg: record X (register 0xd1) has 2 of its 4 bytes; not loaded\n"
                                "C: (no file): No file in slot C");
    // What the file holds is still listed, as far as it reads.
    EXPECT_EQ(Table()->rowCount(), 2);
}

TEST_F(ConfigCompareTest, TheDeviceReadBackShowsARegisterChangedBehindTheToolsBackAndSendsItRight) {
    sim_->SetRegister(0xD1, std::vector<uint8_t>{0x00, 0x00, 0x00, 0x50});
    Press(Form(), "EditsuiButton");
    TakeCalls();
    CompareSides(TRegisterCompareForm::Table, TRegisterCompareForm::Device);
    EXPECT_EQ(Reads(TakeCalls()).size(), 256u) << "every register the map defines";
    ASSERT_EQ(Table()->rowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "0xd1 r_ch1_vol");
    EXPECT_EQ(Cell(0, 2), "0 dB");
    EXPECT_EQ(Cell(0, 4), "-2 dB");

    Table()->selectRow(0);
    Press(Compare(), "SendLeftButton");
    const auto writes = Writes(TakeCalls());
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].subAddress, 0xD1);
    EXPECT_EQ(HexBytes(writes[0].bytes), "00 00 00 48");
    EXPECT_EQ(Table()->rowCount(), 0) << "compared again after the send";
    EXPECT_EQ(In<QLabel>(Compare(), "MessageLabel")->text(), "Sent 0xd1 r_ch1_vol: 00 00 00 48");
}

TEST_F(ConfigCompareTest, VerifyReportsWhatTheDeviceHoldsOtherwise) {
    const QString file =
        WriteFile("line.cfg", {"X0e 05", "Xd1 00 00 00 50", "X41 " + Unity + " " + Zeros(7)});
    BrowseInto("A", file);
    Press(Form(), "ASendsuiButton");
    QLabel* result = In<QLabel>(Form(), "VerifyResultLabel");
    QPlainTextEdit* list = In<QPlainTextEdit>(Form(), "VerifyResultList");

    TakeCalls();
    dialogs_.answers = {file};
    Press(Form(), "VerifyDevicesuiButton");
    EXPECT_EQ(Reads(TakeCalls()).size(), 3u) << "only the file's registers";
    EXPECT_EQ(result->text(), "Device matches line.cfg");
    EXPECT_EQ(TextColour(result), Colours::Green);
    EXPECT_EQ(list->toPlainText(), "");

    sim_->SetRegister(0x41, std::vector<uint8_t>(32, 0));
    dialogs_.answers = {file};
    Press(Form(), "VerifyDevicesuiButton");
    EXPECT_EQ(result->text(), "Device differs from line.cfg in 1 register");
    EXPECT_EQ(TextColour(result), Colours::Red);
    EXPECT_EQ(list->toPlainText(),
              "0x41 r_A_to_ipmix[1]  file: " + Unity + " " + Zeros(7) +
                  " (0 dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB)  device: " +
                  Zeros(8) + " (-inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB, -inf dB)");
    EXPECT_TRUE(Writes(TakeCalls()).empty()) << "a check writes nothing";

    // A cancelled choice checks nothing and leaves the last result.
    dialogs_.answers = {QString()};
    Press(Form(), "VerifyDevicesuiButton");
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(result->text(), "Device differs from line.cfg in 1 register");
}

} // namespace
