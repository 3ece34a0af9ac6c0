// The tone, loudness and DRC panels in the main window: their place in
// RefreshAll, their navigation buttons, the rate modes, and the refresh they
// skip while the user types under automatic Fs detection.

#include "AppFixture.h"

#include "Mainunit.h"
#include "RadioGroup.h"
#include "TrackBar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest/QTest>

#include <algorithm>

namespace {

// The position of the first call of a kind to a sub-address, or -1.
int FirstCall(const std::vector<SimulatedQmx4600::Call>& calls, SimulatedQmx4600::CallKind kind,
              int subAddress) {
    const auto found = std::find_if(calls.begin(), calls.end(), [&](const SimulatedQmx4600::Call& call) {
        return call.kind == kind && call.subAddress == subAddress;
    });
    return found == calls.end() ? -1 : static_cast<int>(found - calls.begin());
}

using Kind = SimulatedQmx4600::CallKind;

} // namespace

// Each step that can write is given a reason to: the order of the writes on
// the bus and of the texts is the order of the steps.
TEST_F(ProgramTest, RefreshAllRunsVolumeToneLoudnessDrcThenTheClocks) {
    Start();
    TConfigDataUnit& table = Main().Table();
    table.SetData(0xD9, std::vector<uint8_t>{0x00, 0x00, 0x0F, 0xFF}); // volume: clamped and written
    table.SetData(0xDB, std::vector<uint8_t>{0x05, 0x00, 0x00, 0x12}); // tone: bass 1 moves
    table.SetData(0x91, std::vector<uint8_t>{0x00, 0x40, 0x00, 0x00}); // loudness: LG shows 0.5
    table.SetData(0x96, std::vector<uint8_t>{0x00, 0x00, 0x15, 0x55}); // DRC: pre-volume, canonical rewrite
    table.SetData(0x97, std::vector<uint8_t>{0x00, 0x00, 0x15, 0x55});
    const uint8_t format = table.GetData(0x0E).at(0) == 3 ? 4 : 3; // clocks: another serial format
    table.SetData(0x0E, std::vector<uint8_t>{format});
    TakeCalls();

    Main().RefreshAll();

    const auto calls = TakeCalls();
    const int volume = FirstCall(calls, Kind::Write, 0xD9);
    const int tone = FirstCall(calls, Kind::Write, 0xDB);
    const int drc = FirstCall(calls, Kind::Write, 0x96);
    const int rate = FirstCall(calls, Kind::Read, 0x00);
    const int clocks = FirstCall(calls, Kind::Write, 0x0E);
    ASSERT_GE(volume, 0);
    EXPECT_LT(volume, tone);
    EXPECT_LT(tone, drc);
    EXPECT_LT(drc, rate);
    EXPECT_LT(rate, clocks);
    EXPECT_EQ(Text("ToneValueLabel1"), "13");
    EXPECT_EQ(Find<QLineEdit>("LGEdit")->text(), "0.50000000");
    EXPECT_EQ(Find<RadioGroup>("DRCControlRadioGroup")->ItemIndex(), 1);
    // The DRC rewrite sits inside its mute bracket, before the clocks.
    std::vector<int> drcWrites;
    for (int i = drc - 2; i < static_cast<int>(calls.size()) && i < clocks; ++i)
        if (calls[static_cast<size_t>(i)].kind == Kind::Write)
            drcWrites.push_back(calls[static_cast<size_t>(i)].subAddress);
    const std::vector<int> bracket = {0x0F, 0x96, 0x97, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0x0F};
    EXPECT_TRUE(std::search(drcWrites.begin(), drcWrites.end(), bracket.begin(), bracket.end()) !=
                drcWrites.end());
}

// The first refresh builds the lists in the order DRC, loudness, EQ; later
// refreshes leave them, RESET builds them again.
TEST_F(ProgramTest, FileListsAreBuiltAtTheFirstRefreshDrcLoudnessThenEq) {
    AppBoxes().messages.clear();
    Start();
    const std::vector<QString> none = {"No DRC (*.DRC46xx) Files Exist", "No Loudness (*.LD46xx) Files Exist",
                                       "No EQ (*.EQ46XX) Files Exist"};
    EXPECT_EQ(AppBoxes().messages, none);
    Click("TonesuiButton");
    EXPECT_EQ(AppBoxes().messages.size(), 3u);

    Deliver("Drc1SpeechGentle48k.DRC46xx");
    Deliver("LoudnessFlat.LD46xx");
    Click("RESETsuiButton");
    EXPECT_EQ(Find<QComboBox>("DRCParametersComboBox")->currentText(), "DRC1SPEECHGENTLE48K.DRC46XX");
    EXPECT_EQ(Find<QComboBox>("LoudnessFileLoadComboBox")->currentText(), "LOUDNESSFLAT.LD46XX");
    AppBoxes().messages.clear();
}

TEST_F(ProgramTest, NavigationButtonsShowToneLoudnessAndCompressionAdaptedToTheRate) {
    Start([](SimulatedQmx4600& sim) { sim.SetSampleRate(192000); });
    Main().show();
    Click("TonesuiButton");
    EXPECT_TRUE(Find<QWidget>("PanelTone")->isVisible());
    EXPECT_EQ(Text("BassNumLabel2"), "1,2");
    EXPECT_EQ(Text("TrebleFilterSet2Label"), "DAP Ch 1,2");
    EXPECT_TRUE(Find<QWidget>("BassBlankPanel")->isVisible());
    EXPECT_TRUE(Find<QWidget>("PanelGreaterThan96K")->isVisible());

    Click("DRCsuiButton");
    auto* select = Find<RadioGroup>("DRCSelectRadioGroup");
    EXPECT_EQ(select->Items(), (QStringList{"DRC1(1,2)", "DRC2(4)"}));
    select->SetItemIndex(1);
    Click("DRCsuiButton");
    EXPECT_EQ(select->ItemIndex(), 1);

    sim_->SetSampleRate(96000);
    Click("DRCsuiButton");
    EXPECT_EQ(select->Items(), (QStringList{"DRC1(1,2,3)", "DRC2(4)"}));
    EXPECT_EQ(select->ItemIndex(), 0);
    Click("TonesuiButton");
    EXPECT_EQ(Text("BassNumLabel2"), "1,2,3");
    EXPECT_FALSE(Find<QWidget>("BassBlankPanel")->isVisible());
    EXPECT_TRUE(Find<QWidget>("PanelLessThan96K")->isVisible());

    Click("LoudnesssuiButton");
    EXPECT_TRUE(Find<QWidget>("PanelLoudness")->isVisible());
    EXPECT_FALSE(Find<QWidget>("PanelTone")->isVisible());
}

// Under automatic Fs detection the poll refreshes every few seconds: the
// panel being typed in keeps its fields; the others still follow the table.
TEST_F(ProgramTest, PollLeavesTheShownLoudnessOrDrcFieldsAloneButRefreshesTheRest) {
    Start();
    Main().show();
    Trigger("AutomaticFsDetection");
    ASSERT_EQ(Text("AutoDetectStatusLabel"), "ON");
    struct Case {
        const char* button;
        const char* edit;
        int subAddress;
    };
    const Case cases[] = {{"LoudnesssuiButton", "GEdit", 0x93}, {"DRCsuiButton", "EnergyAlpha", 0x98}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        Click(c.button);
        auto* edit = Find<QLineEdit>(c.edit);
        edit->setText("0.25");
        Main().Table().SetData(c.subAddress,
                               std::vector<uint8_t>{0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
        Main().Table().SetData(0xDB, std::vector<uint8_t>{0x00, 0x00, 0x00, 0x12});

        Main().RefreshAll();
        EXPECT_EQ(edit->text(), "0.25");
        EXPECT_EQ(Find<TrackBar>("BassToneTrackBar1")->Position(), 0);
        Find<TrackBar>("BassToneTrackBar1")->SetPosition(18);

        Click("TonesuiButton");
        EXPECT_EQ(edit->text(), "1.00000000");
    }
    Trigger("AutomaticFsDetection");
}
