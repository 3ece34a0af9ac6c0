// The equaliser in the running program: the EQ name at start, the EQ file
// list built at the first refresh and by RESET and REINIT only, the "EQ"
// navigation button, and the high-rate rule applied by the window.

#include "AppFixture.h"

#include "EqChart.h"
#include "RadioGroup.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>

namespace {

class EqWindowTest : public ProgramTest {
protected:
    EqWindowTest() { AppBoxes().messages.clear(); }

    void WriteFile(const QString& name, const QByteArray& content = "Q1 00 80 00 00 00 00 00 00 00 00 "
                                                                    "00 00 00 00 00 00 00 00 00 00\n") {
        QFile file(StartFile(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QStringList ComboItems() {
        QStringList items;
        auto* combo = Find<QComboBox>("EQFileLoadComboBox");
        for (int i = 0; combo && i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    }
    // How often the EQ list said it found nothing since the last call (the
    // loudness and DRC lists have messages of their own).
    int TakeNoEqMessages() {
        const std::vector<QString> messages = std::exchange(AppBoxes().messages, {});
        return static_cast<int>(std::count(messages.begin(), messages.end(), "No EQ (*.EQ46XX) Files Exist"));
    }
};

TEST_F(EqWindowTest, ListIsBuiltAtTheFirstRefreshAndByResetAndReinitOnly) {
    WriteFile("rap48.eq46xx");
    WriteFile("JAZZ48.EQ46XX");
    Start();
    EXPECT_EQ(Text("LabelBiquadUnits"), "NONE");
    EXPECT_EQ(ComboItems(), QStringList({"JAZZ48.EQ46XX", "RAP48.EQ46XX"}));
    EXPECT_EQ(TakeNoEqMessages(), 0);

    WriteFile("COUNTRY44.EQ46XX");
    Click("EQsuiButton");
    Click("VolumesuiButton");
    EXPECT_EQ(ComboItems().size(), 2); // later refreshes leave the list alone

    Click("RESETsuiButton");
    EXPECT_EQ(ComboItems(), QStringList({"COUNTRY44.EQ46XX", "JAZZ48.EQ46XX", "RAP48.EQ46XX"}));

    for (const char* name : {"rap48.eq46xx", "JAZZ48.EQ46XX", "COUNTRY44.EQ46XX"})
        QFile::remove(StartFile(name));
    Click("REINITsuiButton");
    EXPECT_EQ(TakeNoEqMessages(), 1);
    EXPECT_EQ(ComboItems().size(), 3); // the items stay when none is found
}

TEST_F(EqWindowTest, NoEqFileAtStartIsSaidOnceInAMessageBox) {
    Start();
    EXPECT_EQ(TakeNoEqMessages(), 1);
    Click("EQsuiButton");
    Click("RESETsuiButton");
    EXPECT_EQ(TakeNoEqMessages(), 1); // once more by RESET, not by the panel button
}

TEST_F(EqWindowTest, EqButtonShowsThePanelAndLoadNamesTheCurve) {
    WriteFile("rap48.eq46xx");
    Start();
    TakeCalls();
    Click("EQsuiButton");
    auto* panel = Find<QWidget>("PanelBiquad");
    ASSERT_TRUE(panel);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(Find<QLineEdit>("BQb1Edit2")->text(), "80"); // Ch1 BQ1 as the device holds it

    Click("EQFileLoadsuiButton");
    EXPECT_EQ(Text("LabelBiquadUnits"), "Rap");
    const auto writes = Writes(TakeCalls());
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].subAddress, 0x51);
    EXPECT_EQ(HexBytes(writes[0].bytes), "00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
}

TEST_F(EqWindowTest, HighRateTakesCh3AwayUntilTheRateDrops) {
    Start([](SimulatedQmx4600& sim) { sim.SetSampleRate(192000); });
    Click("EQsuiButton");
    auto* dap = Find<RadioGroup>("EQDAPCHRadioGroup");
    ASSERT_TRUE(dap);
    EXPECT_EQ(dap->Items(), QStringList({"Ch1", "Ch2", "", "Ch4"}));
    EXPECT_FALSE(Find<QGroupBox>("GroupBoxHideCh3EQ")->isHidden());
    Click("EQGraphsuiButton");
    EXPECT_EQ(Find<EqChart>("EQChart")->Series1()->dataCount(), 96000);
    EXPECT_EQ(Text("LabelFsUnits"), "192k");

    sim_->SetSampleRate(48000);
    Click("EQsuiButton");
    EXPECT_EQ(dap->Items(), QStringList({"Ch1", "Ch2", "Ch3", "Ch4"}));
    EXPECT_TRUE(Find<QGroupBox>("GroupBoxHideCh3EQ")->isHidden());
}

} // namespace
