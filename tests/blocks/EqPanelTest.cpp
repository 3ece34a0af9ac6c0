#include "EqPanel.h"
#include "Accessibility.h"
#include "ByteEdit.h"
#include "Dataclocksunit.h"
#include "DeviceRig.h"
#include "EqChart.h"
#include "EqPanelRig.h"
#include "Equnit.h"
#include "RadioGroup.h"
#include "RecordingHooks.h"
#include "UpDown.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>

namespace {

using Timeline = std::vector<std::string>;

const char* const Stems[] = {"BQb1Edit", "BQb2Edit", "BQb3Edit", "BQa1Edit", "BQa2Edit"};

template <class T> T* FindIn(const QObject& parent, const QString& name) {
    T* found = parent.findChild<T*>(name);
    if (!found)
        throw std::runtime_error("no control named " + name.toStdString());
    return found;
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> bytes;
    for (int v : values)
        bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

// The 20 bytes of a biquad whose b0 word is `b0` and whose other words are 0.
std::vector<uint8_t> WithB0(uint32_t b0) {
    std::vector<uint8_t> bytes(20, 0);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(b0 >> (24 - 8 * i));
    return bytes;
}

// A biquad whose bytes say where it lives: every byte is its sub-address.
std::vector<uint8_t> Marked(int subAddress) {
    return std::vector<uint8_t>(20, static_cast<uint8_t>(subAddress));
}

// The record text "Q<n> xx xx ..." of an EQ file.
std::string Record(const std::string& key, const std::vector<uint8_t>& bytes) {
    std::string text = key;
    for (uint8_t b : bytes)
        text += " " + WriteText(0, {b}).substr(4);
    return text + "\n";
}

// The equaliser panel over the simulated device at 48 kHz, with a start
// directory of its own and the display strip labels it writes.
class EqPanelTest : public ::testing::Test, public EqPanelRig {
protected:
    EqPanelTest() {
        for (int sub = 0x51; sub <= 0x88; ++sub)
            if (rig.table.GetSize(sub) == 20)
                rig.Store(sub, WithB0(0x00800000));
        panel.AdjustToSampleRate(false);
        hooks.Take();
    }

    RadioGroup* Group(const char* name) { return FindIn<RadioGroup>(panel, name); }
    ByteEdit* Edit(int row, int column) {
        return FindIn<ByteEdit>(panel, QString("%1%2").arg(Stems[row]).arg(3 - column));
    }
    QPushButton* Button(const char* name) { return FindIn<QPushButton>(panel, name); }
    QComboBox* FileCombo() { return FindIn<QComboBox>(panel, "EQFileLoadComboBox"); }
    EqChart* Chart() { return panel.Chart(); }

    // Clicks an item's radio button as the user does.
    void Choose(const char* group, int item) {
        FindIn<QRadioButton>(*Group(group), QString("%1Item%2").arg(group).arg(item))->click();
    }
    void Select(int channel, int biquad) {
        Choose("EQDAPCHRadioGroup", channel);
        Choose("EQEQRadioGroup", biquad);
    }
    std::vector<std::string> EditTexts() {
        std::vector<std::string> texts;
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 4; ++column)
                texts.push_back(Edit(row, column)->text().toStdString());
        return texts;
    }
    void TypeRow(int row, const std::array<const char*, 4>& texts) {
        for (int column = 0; column < 4; ++column)
            Edit(row, column)->setText(texts[static_cast<size_t>(column)]);
    }
    // The device writes since the last call, in order; the hook calls made
    // between them are left out.
    Timeline Writes() {
        Timeline writes;
        for (std::string& entry : hooks.Take())
            if (entry.size() > 3 && entry[2] == ':')
                writes.push_back(std::move(entry));
        return writes;
    }
    std::vector<double> CurveValues() {
        std::vector<double> values;
        for (const QCPGraphData& point : *Chart()->Series1()->data())
            values.push_back(point.value);
        return values;
    }
};

TEST(EqPanelBuiltTest, ControlsCarryTheirNamesCaptionsAndStartTexts) {
    DeviceRig rig;
    TDataClocks clocks{rig.table, rig.bus};
    TEQ eq{rig.table};
    QLabel label;
    DisplayStrip strip;
    strip.LabelBiquadUnits = strip.LabelFsUnits = strip.HelpfulCommentsLabel = &label;
    RecordingHooks hooks{rig};
    TEqPanel panel{rig.table, eq, clocks, strip, hooks, QDir::tempPath()};

    EXPECT_EQ(panel.objectName(), "PanelBiquad");
    EXPECT_EQ(panel.TitleLabel()->text(), "EQ CONTROL");
    auto* dap = FindIn<RadioGroup>(panel, "EQDAPCHRadioGroup");
    EXPECT_EQ(dap->title(), "DAP");
    EXPECT_EQ(dap->Items(), QStringList({"Ch1", "Ch2", "Ch3", "Ch4"}));
    EXPECT_EQ(dap->ItemIndex(), 0);
    auto* bq = FindIn<RadioGroup>(panel, "EQEQRadioGroup");
    EXPECT_EQ(bq->title(), "EQ");
    EXPECT_EQ(bq->Items(), QStringList({"BQ1", "BQ2", "BQ3", "BQ4", "BQ5", "BQ6", "BQ7"}));
    EXPECT_EQ(bq->ItemIndex(), 0);
    EXPECT_EQ(FindIn<QGroupBox>(panel, "EQBiquadGroupBox")->title(), "BiQuad");
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 4; ++column) {
            auto* edit = FindIn<ByteEdit>(panel, QString("%1%2").arg(Stems[row]).arg(3 - column));
            EXPECT_EQ(edit->text(), column == 0 ? "f0" : "00") << Stems[row] << column;
            EXPECT_FALSE(edit->accessibleName().isEmpty());
        }
    const struct {
        const char* name;
        const char* caption;
        const char* hint;
    } buttons[] = {
        {"EQBQApplysuiButton", "APPLY", ""},
        {"EQBQCancelsuiButton", "CANCEL", ""},
        {"suiButton3", "AllPass BQ", "Apply Allpass Values to this BiQuad"},
        {"EQBQGraphsuiButton", "Graph BiQuad", "Graph the BiQuad displayed above."},
        {"EQGraphsuiButton", "Graph EQ", "Graph a composite of all BiQuads for the channel selected."},
        {"EQFileLoadsuiButton", "LOAD", "Send the Contents of this file to the device."},
        {"EQExamplesuiButton", "EQ EXAMPLES", ""},
    };
    for (const auto& b : buttons) {
        auto* button = FindIn<QPushButton>(panel, b.name);
        EXPECT_EQ(button->text(), b.caption);
        EXPECT_EQ(button->toolTip(), b.hint);
    }
    EXPECT_EQ(FindIn<QComboBox>(panel, "EQFileLoadComboBox")->maxVisibleItems(), 16);
    EXPECT_EQ(FindIn<QGroupBox>(panel, "EQFilesGroupBox")->title(), "EQ FILES created in RoomFit");
    auto* cover = FindIn<QGroupBox>(panel, "GroupBoxHideCh3EQ");
    EXPECT_TRUE(cover->isHidden());
    EXPECT_EQ(FindIn<QLabel>(*cover, "LabelHideCh3EQ")->text(), "N/A");
    FindIn<QLineEdit>(panel, "DummyEdit");
    EXPECT_EQ(label.text(), ""); // nothing shown until a click

    // The chart as it starts.
    EqChart* chart = panel.Chart();
    EXPECT_EQ(chart->objectName(), "EQChart");
    EXPECT_FALSE(chart->legend->visible());
    EXPECT_EQ(chart->xAxis->scaleType(), QCPAxis::stLogarithmic);
    EXPECT_EQ(chart->xAxis->range(), QCPRange(1, 24000));
    EXPECT_EQ(chart->xAxis->label(), "Frequency (Hz)");
    EXPECT_FALSE(chart->xAxis->subTicks());
    EXPECT_EQ(chart->yAxis->range(), QCPRange(-122, 20));
    EXPECT_EQ(chart->yAxis->label(), "Gain (dB)");
    EXPECT_EQ(chart->yAxis->tickLengthIn(), 5);
    EXPECT_EQ(chart->yAxis->subTickLengthIn(), 2);
    EXPECT_EQ(chart->yAxis2->range(), QCPRange(-50, 20));
    EXPECT_TRUE(chart->yAxis2->visible());
    EXPECT_EQ(chart->Series1()->pen().color(), QColor(Qt::red));
    EXPECT_EQ(chart->Series2()->pen().color(), QColor(Qt::green));
    EXPECT_FALSE(chart->Series2()->visible());
    auto* maxY = FindIn<UpDown>(panel, "MaxScaleUpDown");
    auto* minY = FindIn<UpDown>(panel, "MinScaleUpDown");
    EXPECT_EQ(std::make_tuple(maxY->Minimum(), maxY->Maximum(), maxY->Position(), maxY->Increment()),
              std::make_tuple(0, 100, 20, 1));
    EXPECT_EQ(std::make_tuple(minY->Minimum(), minY->Maximum(), minY->Position(), minY->Increment()),
              std::make_tuple(-130, -1, -120, 1));
    EXPECT_EQ(ControlsNotToldApart(&panel).join("; ").toStdString(), "");
    EXPECT_TRUE(rig.TakeWrites().empty());
}

TEST(EqModelTest, SubAddressTableWithItsFallBacks) {
    const struct {
        int channel, biquad, subAddress;
    } cases[] = {
        {0, 0, 0x51}, {0, 6, 0x57}, {1, 0, 0x58}, {1, 6, 0x5E},  {2, 0, 0x7B}, {2, 6, 0x81},
        {3, 0, 0x82}, {3, 6, 0x88}, {4, 3, 0x54}, {-1, 1, 0x52}, {2, 7, 0x7B}, {3, -1, 0x82},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TEQ::BiquadSubAddress(c.channel, c.biquad), c.subAddress) << c.channel << "," << c.biquad;
    EXPECT_EQ(TEQ::ChannelBase(1), 0);
    EXPECT_EQ(TEQ::ChannelBase(2), 7);
    EXPECT_EQ(TEQ::ChannelBase(3), 42);
    EXPECT_EQ(TEQ::ChannelBase(4), 49);
    EXPECT_EQ(TEQ::ChannelBase(5), 0);
}

TEST(EqModelTest, EqNameBySubstringOfThePathWithItsCase) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"/x/COUNTRY44.EQ46XX", "Country"},
        {"/x/HEAVYROCK192.EQ46XX", "H Rock"},
        {"/x/JAZZ48.EQ46XX", "Jazz"},
        {"/x/LITEROCK32.EQ46XX", "L Rock"},
        {"/x/RAP96.EQ46XX", "Rap"},
        {"/x/country44.eq46xx", "N/A"},
        {"/x/MYJAZZ48.EQ46XX.bak", "Jazz"},
        {"/x/JAZZ47.EQ46XX", "N/A"},
        {"/COUNTRY32.EQ46XX/RAP48.EQ46XX", "Country"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TEQ::EqName(c.path), c.name) << c.path;
}

TEST_F(EqPanelTest, ClickingShowsTheSelectedRegisterAndSendsNothing) {
    for (int sub = 0x51; sub <= 0x88; ++sub)
        if (rig.table.GetSize(sub) == 20)
            rig.Store(sub, Marked(sub));
    const struct {
        int channel, biquad, subAddress;
    } cases[] = {{1, 6, 0x5E}, {0, 0, 0x51}, {2, 0, 0x7B}, {3, 3, 0x85}, {3, 6, 0x88}};
    for (const auto& c : cases) {
        Select(c.channel, c.biquad);
        EXPECT_EQ(EditTexts(), std::vector<std::string>(20, WriteText(0, {uint8_t(c.subAddress)}).substr(4)))
            << c.subAddress;
    }
    EXPECT_TRUE(Writes().empty());
}

TEST_F(EqPanelTest, AllPassWritesOneAndZerosToTheSelectedBiquad) {
    for (const auto& [channel, biquad, sub] : {std::tuple{3, 6, 0x88}, std::tuple{1, 2, 0x5A}}) {
        rig.Store(sub, Marked(sub));
        Select(channel, biquad);
        Button("suiButton3")->click();
        EXPECT_EQ(Writes(), Timeline({WriteText(uint8_t(sub), WithB0(0x00800000))}));
        EXPECT_EQ(rig.table.GetData(sub), WithB0(0x00800000));
        EXPECT_EQ(Edit(0, 1)->text(), "80");
    }
}

TEST_F(EqPanelTest, ApplyReadsEachEditsFirstTwoCharacters) {
    Select(1, 1); // 0x59
    for (int row = 0; row < 5; ++row)
        TypeRow(row, {"F", "00", "00", "00"});
    Button("EQBQApplysuiButton")->click();
    const std::vector<uint8_t> f0 =
        Bytes({0xF0, 0, 0, 0, 0xF0, 0, 0, 0, 0xF0, 0, 0, 0, 0xF0, 0, 0, 0, 0xF0, 0, 0, 0});
    EXPECT_EQ(Writes(), Timeline({WriteText(0x59, f0)}));
    EXPECT_EQ(Edit(0, 0)->text(), "F"); // not reformatted
    const BiquadCoefficients stored = eq.StoredCoefficients(0x59);
    EXPECT_EQ(stored.b0, 0.0); // the top nibble is ignored
    EXPECT_EQ(stored.a2, 0.0);

    TypeRow(0, {"f", "fff", "", "g1"});
    TypeRow(1, {"7", "Ab", "-1", "0x"});
    Button("EQBQApplysuiButton")->click();
    const Timeline writes = Writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].substr(0, 27), "59: f0 ff 00 01 70 ab 01 00");
}

TEST_F(EqPanelTest, CancelDiscardsUnappliedEdits) {
    Select(0, 4);
    TypeRow(2, {"12", "34", "56", "78"});
    Button("EQBQCancelsuiButton")->click();
    EXPECT_EQ(EditTexts()[8], "00");
    EXPECT_EQ(EditTexts()[0], "00");
    EXPECT_EQ(EditTexts()[1], "80");
    EXPECT_TRUE(Writes().empty());
}

TEST_F(EqPanelTest, LoadOnCh4StoresQ1ToQ7AndSendsThemInFileOrder) {
    std::string file = "! a jazz curve\n";
    for (int n : {3, 1, 2, 7, 4, 5, 6})
        file += Record("Q" + std::to_string(n), Marked(0x10 + n));
    WriteFile("JAZZ48.EQ46XX", file);
    panel.FillEqFileCombo();
    Select(3, 2);
    Writes();
    Button("EQFileLoadsuiButton")->click();
    Timeline expected;
    for (int n : {3, 1, 2, 7, 4, 5, 6})
        expected.push_back(WriteText(uint8_t(0x81 + n), Marked(0x10 + n)));
    EXPECT_EQ(Writes(), expected);
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(rig.table.GetData(0x81 + n), Marked(0x10 + n));
    EXPECT_EQ(eqName.text(), "Jazz");
    EXPECT_EQ(comment.text(), "Initialized OK");
    EXPECT_EQ(EditTexts()[0], "13"); // BQ3 of Ch4 shown again, as loaded
}

TEST_F(EqPanelTest, LowerCaseFileIsListedUpperCasedAndLoadsByEitherSpelling) {
    WriteFile("country44.eq46xx", Record("Q1", Marked(0x44)));
    panel.FillEqFileCombo();
    ASSERT_EQ(FileCombo()->count(), 1);
    EXPECT_EQ(FileCombo()->currentText(), "COUNTRY44.EQ46XX");
    Button("EQFileLoadsuiButton")->click();
    EXPECT_EQ(eqName.text(), "Country");
    EXPECT_EQ(Writes(), Timeline({WriteText(0x51, Marked(0x44))}));

    FileCombo()->setEditText("country44.eq46xx");
    Choose("EQDAPCHRadioGroup", 1);
    Button("EQFileLoadsuiButton")->click();
    EXPECT_EQ(eqName.text(), "N/A");
    EXPECT_EQ(Writes(), Timeline({WriteText(0x58, Marked(0x44))}));
}

TEST_F(EqPanelTest, ListHoldsTheFirst200NamesSortedAndUpperCased) {
    std::set<std::string> written;
    for (int i = 0; i < 205; ++i) {
        const QString name = QString("curve%1.Eq46xx").arg(i, 3, 10, QChar('0'));
        WriteFile(name, "");
        written.insert(name.toUpper().toStdString());
    }
    WriteFile("other.cfg", "");
    panel.FillEqFileCombo();
    ASSERT_EQ(FileCombo()->count(), 200);
    std::vector<std::string> shown;
    for (int i = 0; i < FileCombo()->count(); ++i)
        shown.push_back(FileCombo()->itemText(i).toStdString());
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    for (const std::string& name : shown)
        EXPECT_TRUE(written.count(name)) << name;
    EXPECT_EQ(FileCombo()->currentIndex(), 0);
    EXPECT_TRUE(hooks.Take().empty());
}

TEST_F(EqPanelTest, NoFileShowsTheMessageAndKeepsTheItems) {
    panel.FillEqFileCombo();
    EXPECT_EQ(hooks.Take(), Timeline({"message: No EQ (*.EQ46XX) Files Exist"}));
    EXPECT_EQ(FileCombo()->count(), 0);

    WriteFile("RAP44.EQ46XX", "");
    WriteFile("jazz44.EQ46XX", "");
    panel.FillEqFileCombo();
    QFile::remove(startDir.filePath("RAP44.EQ46XX"));
    QFile::remove(startDir.filePath("jazz44.EQ46XX"));
    FileCombo()->setCurrentIndex(1);
    panel.FillEqFileCombo();
    EXPECT_EQ(hooks.Take(), Timeline({"message: No EQ (*.EQ46XX) Files Exist"}));
    ASSERT_EQ(FileCombo()->count(), 2);
    EXPECT_EQ(FileCombo()->itemText(0), "JAZZ44.EQ46XX");
    EXPECT_EQ(FileCombo()->currentIndex(), 0);
}

// Bad files: nothing half written, the problem named, never a crash.
TEST_F(EqPanelTest, BadEqFilesSendOnlyCompleteRecordsAndSayWhatWasWrong) {
    rig.table.SetSubAddress(0x5F, CElements::Undefined); // as a map without that register leaves it
    const std::vector<uint8_t> shortRecord(10, 0x33);
    const struct {
        const char* name;
        std::string content;
        Timeline writes;
        const char* comment;
    } cases[] = {
        {"SHORT.EQ46XX",
         Record("Q1", Marked(1)) + Record("Q2", shortRecord) + Record("Q3", Marked(3)),
         {WriteText(0x51, Marked(1)), WriteText(0x53, Marked(3))},
         "SHORT.EQ46XX: record Q2 (register 0x52) has 10 of its 20 bytes; not loaded"},
        {"ENDS.EQ46XX",
         Record("Q1", Marked(1)) + "Q7 01 02 03",
         {WriteText(0x51, Marked(1))},
         "ENDS.EQ46XX: record Q7 (register 0x57) has 3 of its 20 bytes; not loaded"},
        {"UNDEFINED.EQ46XX",
         "X5f 01 02\n" + Record("Q2", Marked(2)),
         {WriteText(0x52, Marked(2))},
         "UNDEFINED.EQ46XX: register 0x5f is not in the register map; skipped"},
        {"NUL.EQ46XX",
         std::string("Q1 \0\0", 5) + Record("Q4", Marked(4)),
         {WriteText(0x54, Marked(4))},
         "NUL.EQ46XX: record Q1 (register 0x51) has 1 of its 20 bytes; not loaded"},
        {"Q9.EQ46XX", "Q9 00\n", {}, "Q9.EQ46XX: Q record without a biquad number 1..7 ignored"},
    };
    for (const auto& c : cases) {
        WriteFile(c.name, c.content);
        FileCombo()->setEditText(c.name);
        comment.setText("Initialized OK");
        Button("EQFileLoadsuiButton")->click();
        EXPECT_EQ(Writes(), c.writes) << c.name;
        EXPECT_EQ(comment.text().toStdString(), c.comment) << c.name;
        EXPECT_EQ(eqName.text(), "N/A");
    }
}

TEST_F(EqPanelTest, FileGoneBeforeLoadChangesNothingButTheName) {
    WriteFile("JAZZ48.EQ46XX", Record("Q1", Marked(1)));
    panel.FillEqFileCombo();
    QFile::remove(startDir.filePath("JAZZ48.EQ46XX"));
    Button("EQFileLoadsuiButton")->click();
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(rig.table.GetData(0x51), WithB0(0x00800000));
    EXPECT_EQ(eqName.text(), "Jazz");
    EXPECT_EQ(comment.text(), "Error Reading JAZZ48.EQ46XX");
}

TEST_F(EqPanelTest, HighRateCoversCh3UntilTheGroupIsClickedAfterTheRateDrops) {
    SetRate(192000);
    panel.AdjustToSampleRate(clocks.IsHighRate());
    auto* dap = Group("EQDAPCHRadioGroup");
    auto* cover = FindIn<QGroupBox>(panel, "GroupBoxHideCh3EQ");
    EXPECT_EQ(dap->Items(), QStringList({"Ch1", "Ch2", "", "Ch4"}));
    EXPECT_EQ(dap->ItemIndex(), 0);
    EXPECT_FALSE(cover->isHidden());

    rig.Store(0x51, Marked(0x51));
    Choose("EQDAPCHRadioGroup", 3);
    dap->SetItemIndex(2);
    EXPECT_EQ(dap->ItemIndex(), 0);
    EXPECT_EQ(EditTexts()[0], "51");
    Choose("EQDAPCHRadioGroup", 3);
    EXPECT_EQ(dap->ItemIndex(), 3); // Ch4 stays available

    panel.AdjustToSampleRate(true); // same mode: the selection stays
    EXPECT_EQ(dap->ItemIndex(), 3);

    SetRate(48000);
    EXPECT_FALSE(cover->isHidden());
    Choose("EQDAPCHRadioGroup", 1);
    EXPECT_TRUE(cover->isHidden());
    EXPECT_TRUE(Writes().empty());
}

TEST_F(EqPanelTest, AllPassPlotsAFlatLineAndReportsInitializedOk) {
    const struct {
        int rate;
        int points;
        const char* text;
    } cases[] = {
        {48000, 24000, "48k"}, {44100, 22050, "44.1k"}, {38000, 19000, "38k"}, {192000, 96000, "192k"}};
    for (const auto& c : cases) {
        SetRate(c.rate);
        comment.setText("-");
        Button("EQBQGraphsuiButton")->click();
        const std::vector<double> values = CurveValues();
        ASSERT_EQ(values.size(), static_cast<size_t>(c.points)) << c.rate;
        EXPECT_EQ(Chart()->Series1()->data()->constBegin()->key, 1.0);
        EXPECT_EQ((Chart()->Series1()->data()->constEnd() - 1)->key, double(c.points));
        EXPECT_TRUE(std::all_of(values.begin(), values.end(), [](double v) { return v == 0.0; }));
        EXPECT_EQ(Chart()->xAxis->range(), QCPRange(1, c.rate * 0.5));
        EXPECT_EQ(comment.text(), "Initialized OK");
        EXPECT_EQ(fs.text(), c.text);
    }
}

TEST_F(EqPanelTest, PolesOnTheUnitCircleWarnAndStillPlot) {
    TypeRow(4, {"ff", "80", "00", "00"}); // a2 = -1.0
    Button("EQBQGraphsuiButton")->click();
    EXPECT_EQ(comment.text(), "Warning: Unstable BQ Filter");
    EXPECT_EQ(CurveValues().size(), 24000u);
    EXPECT_EQ(FindIn<QLineEdit>(panel, "DummyEdit")->text(), "-1.00000000");
    EXPECT_TRUE(Writes().empty()); // graphed from the edits, nothing applied
}

TEST_F(EqPanelTest, GraphBiquadPlotsUnappliedEdits) {
    TypeRow(0, {"00", "40", "00", "00"}); // b0 = 0.5
    Button("EQBQGraphsuiButton")->click();
    EXPECT_NEAR(CurveValues()[999], 20 * std::log10(0.5), 1e-9);
    EXPECT_EQ(rig.table.GetData(0x51), WithB0(0x00800000));
}

// Graph EQ selects BQ1..BQ7 in turn: with BQ1 selected the first term is
// the edits as they stand; with another biquad selected every term is
// stored. Either way the edits end on BQ1's stored bytes.
TEST_F(EqPanelTest, GraphEqSteppingAndUnappliedEdits) {
    rig.Store(0x53, WithB0(0x00400000)); // BQ3 of Ch1 halves: -6.02 dB
    const double half = 20 * std::log10(0.5);
    const struct {
        int selected;
        double expected;
    } cases[] = {{0, 2 * half}, {3, half}};
    for (const auto& c : cases) {
        Choose("EQEQRadioGroup", c.selected);
        TypeRow(0, {"00", "40", "00", "00"}); // unapplied b0 = 0.5
        Button("EQGraphsuiButton")->click();
        const std::vector<double> values = CurveValues();
        ASSERT_EQ(values.size(), 24000u);
        EXPECT_NEAR(values[0], c.expected, 1e-9) << c.selected;
        EXPECT_NEAR(values[23999], c.expected, 1e-9) << c.selected;
        EXPECT_EQ(Group("EQEQRadioGroup")->ItemIndex(), 0);
        EXPECT_EQ(EditTexts()[1], "80");
        EXPECT_EQ(comment.text(), "Initialized OK");
    }
    rig.Store(0x57, Bytes({0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x80, 0, 0}));
    Button("EQGraphsuiButton")->click();
    EXPECT_EQ(comment.text(), "Warning: Unstable BQ Filter"); // BQ7's verdict is the last
    EXPECT_TRUE(Writes().empty());
}

TEST_F(EqPanelTest, ScaleUpDownsMoveTheGainAxisFromItsFirstRange) {
    FindIn<UpDown>(panel, "MinScaleUpDown")->ClickDown();
    EXPECT_EQ(Chart()->yAxis->range(), QCPRange(-121, 20));
    FindIn<UpDown>(panel, "MaxScaleUpDown")->ClickUp();
    EXPECT_EQ(Chart()->yAxis->range(), QCPRange(-121, 21));
    auto* minY = FindIn<UpDown>(panel, "MinScaleUpDown");
    minY->SetPosition(-130);
    minY->ClickDown();
    EXPECT_EQ(Chart()->yAxis->range().lower, -130);
}

TEST_F(EqPanelTest, JumpSelectsClampsGraphsAndShowsThePanel) {
    rig.Store(0x88, WithB0(0x00400000));
    panel.JumpToBiquad(8, 9);
    EXPECT_EQ(Group("EQDAPCHRadioGroup")->ItemIndex(), 3);
    EXPECT_EQ(Group("EQEQRadioGroup")->ItemIndex(), 6);
    EXPECT_EQ(EditTexts()[1], "40");
    EXPECT_NEAR(CurveValues()[0], 20 * std::log10(0.5), 1e-9);
    EXPECT_EQ(hooks.Take(), Timeline({"ShowPanel"}));
}

TEST_F(EqPanelTest, HoverTextNamesThePointUnderTheMouse) {
    Button("EQBQGraphsuiButton")->click();
    Chart()->resize(300, 280);
    Chart()->replot();
    const double x = Chart()->xAxis->coordToPixel(1000);
    EXPECT_EQ(Chart()->PointText(x), "1000 Hz, 0.00 dB");
}

TEST_F(EqPanelTest, ExamplesButtonOpensTheEqDocument) {
    Button("EQExamplesuiButton")->click();
    EXPECT_EQ(hooks.Take(), Timeline({"document: QMX4600EQ.PDF"}));
}

} // namespace
