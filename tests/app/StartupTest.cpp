// Start-up of the whole program against the simulated device: the traffic
// on the bus, the status area, and what the panels show when the bus fails.

#include "AppFixture.h"

#include "Ackerrordialog.h"
#include "Look.h"
#include "Mainunit.h"
#include "TrackBar.h"
#include "Workingunit.h"

#include <QLabel>
#include <QTimer>

using Kind = SimulatedQmx4600::CallKind;

namespace {

void ExpectWrite(const SimulatedQmx4600::Call& call, uint8_t subAddress, const std::string& bytes) {
    EXPECT_EQ(call.kind, Kind::Write);
    EXPECT_EQ(call.address7, 0x1B);
    EXPECT_EQ(call.subAddress, subAddress);
    EXPECT_EQ(HexBytes(call.bytes), bytes) << "register " << int(subAddress);
}

} // namespace

TEST_F(ProgramTest, StartUpConnectsResetsReadsEveryRegisterAndRefreshes) {
    Start();
    const auto calls = TakeCalls();
    ASSERT_GE(calls.size(), 2u + 255u);
    EXPECT_EQ(calls[0].kind, Kind::Connect);
    EXPECT_EQ(calls[1].kind, Kind::Reset);
    for (int s = 0; s <= 0xFE; ++s) {
        const auto& read = calls[2 + s];
        ASSERT_EQ(read.kind, Kind::Read) << s;
        EXPECT_EQ(read.address7, 0x1B);
        EXPECT_EQ(read.subAddress, s);
        EXPECT_EQ(read.count, sim_->RegisterSize(static_cast<uint8_t>(s))) << s;
    }
    // The refresh: the volume bars leave their designed position for the
    // stored 0 dB step and write it back, the clock register is read again,
    // and the serial format group takes the stored code and writes it.
    const std::vector<SimulatedQmx4600::Call> refresh(calls.begin() + 2 + 255, calls.end());
    ASSERT_EQ(refresh.size(), 7u);
    const uint8_t volumes[] = {0xD9, 0xD1, 0xD2, 0xD7, 0xD8};
    for (int i = 0; i < 5; ++i)
        ExpectWrite(refresh[i], volumes[i], "00 00 00 48");
    EXPECT_EQ(refresh[5].kind, Kind::Read);
    EXPECT_EQ(refresh[5].subAddress, 0x00);
    ExpectWrite(refresh[6], 0x0E, "05");

    EXPECT_EQ(Text("LabelStatusUnits"), "OK");
    EXPECT_EQ(TextColour(Find<QLabel>("LabelStatusUnits")), Colours::Green);
    EXPECT_EQ(Text("HelpfulCommentsLabel"), "Initialized OK");
    EXPECT_EQ(Text("LabelFsUnits"), "48k");
    EXPECT_EQ(Text("LabelMclkUnits"), "256 * fs");
    EXPECT_EQ(Text("LabelFormatType"), "I2S");
    EXPECT_EQ(Text("LabelFormatBits"), "24");
    EXPECT_EQ(Text("LabelBankAutoMan"), "MAN");
    EXPECT_EQ(Text("LabelBankSelected"), "1");
    EXPECT_EQ(Text("LabelBiquadUnits"), "NONE");
    EXPECT_FALSE(program_->WorkingForm().isVisible());
    EXPECT_FALSE(program_->ErrorDialog().isVisible());
    EXPECT_FALSE(Main().findChild<QTimer*>("FsPollTimer")->isActive());
}

TEST_F(ProgramTest, StartUpShowsOnlyTheStartPicture) {
    Start();
    Main().show();
    EXPECT_TRUE(Find<QWidget>("InitialsuiImagePanel")->isVisible());
    for (const char* panel : {"PanelVolume", "PanelTone", "PanelLoudness", "PanelDRC", "PanelBiquad",
                              "PanelConfigControl", "PanelClockControl", "PanelMixer", "PanelBassManagement"})
        EXPECT_FALSE(Find<QWidget>(panel)->isVisible()) << panel;
    EXPECT_EQ(Main().windowTitle().contains("QMX4600"), true);
    EXPECT_EQ(Find<QWidget>("MainClientArea")->size(), QSize(856, 684));
}

// Fails the bus in a given way before start-up; the panels then show the
// init file's contents, whose master volume the fixture sets to step 80.
struct BusFailure {
    const char* name;
    std::function<void(SimulatedQmx4600&)> prepare;
    const char* statusText;
    int lastRegisterRead; // -1: no register read reaches the device
};

class StartUpWithFailingBus : public ProgramTest, public ::testing::WithParamInterface<BusFailure> {};

TEST_P(StartUpWithFailingBus, ReportsOnceAndShowsTheInitFile) {
    QFile init(StartFile("QMX4600Init.cfg"));
    ASSERT_TRUE(init.open(QIODevice::Append | QIODevice::Text));
    init.write("Xd9 00 00 00 50\n");
    init.close();

    Start([](SimulatedQmx4600& sim) { GetParam().prepare(sim); });
    const auto calls = TakeCalls();
    const auto reads = Reads(calls);
    if (GetParam().lastRegisterRead < 0) {
        EXPECT_TRUE(reads.empty());
    } else {
        ASSERT_FALSE(reads.empty());
        EXPECT_EQ(reads.back().subAddress, GetParam().lastRegisterRead);
        EXPECT_EQ(int(reads.size()), GetParam().lastRegisterRead + 1)
            << "reading stops at the failing register";
    }
    EXPECT_TRUE(Writes(calls).empty()) << "the init file fills the table only";

    EXPECT_EQ(Text("LabelStatusUnits"), GetParam().statusText);
    EXPECT_EQ(TextColour(Find<QLabel>("LabelStatusUnits")), Colours::Red);
    EXPECT_TRUE(program_->ErrorDialog().isVisible());
    EXPECT_EQ(Find<TrackBar>("MasterVTrackBar")->Position(), 80);
    EXPECT_EQ(Text("MasterVdBLabel"), "-2");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StartUpWithFailingBus,
    ::testing::Values(BusFailure{"NoAdapter", [](SimulatedQmx4600& sim) { sim.SetPluggedIn(false); },
                                 "USB Error", -1},
                      BusFailure{"DeviceStopsAnswering",
                                 [](SimulatedQmx4600& sim) { sim.NackSubAddress(0x41); }, "I2C Error", 0x41}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramTest, StartUpWithoutRegisterMapTouchesNoRegister) {
    QFile::remove(StartFile("QMX4600.addr"));
    Start();
    Click("VolumesuiButton");
    Click("DataClockControlsuiButton");
    Click("RESETsuiButton");
    for (const auto& call : TakeCalls())
        EXPECT_TRUE(call.kind == Kind::Connect || call.kind == Kind::Reset)
            << "register " << int(call.subAddress) << " reached the device";
    EXPECT_EQ(Text("HelpfulCommentsLabel"), "ERROR: Reading File 'QMX4600.addr'");
}

TEST_F(ProgramTest, NoAdapterObjectMeansUsbErrorAndNoTraffic) {
    Start({}, false);
    EXPECT_EQ(Text("LabelStatusUnits"), "USB Error");
    EXPECT_TRUE(program_->ErrorDialog().isVisible());
}

TEST_F(ProgramTest, ErrorDialogIsShownOnceUntilReconnect) {
    Start([](SimulatedQmx4600& sim) { sim.SetPluggedIn(false); });
    ASSERT_TRUE(program_->ErrorDialog().isVisible());
    program_->ErrorDialog().hide();

    Click("VolumesuiButton");
    Find<TrackBar>("MasterVTrackBar")->SetPosition(100);
    EXPECT_FALSE(program_->ErrorDialog().isVisible()) << "later failures only rewrite the status area";
    EXPECT_EQ(Text("LabelStatusUnits"), "USB error") << "written by the transport, not by the refresh";

    Click("RESETsuiButton");
    EXPECT_TRUE(program_->ErrorDialog().isVisible()) << "RESET reconnects and the next failure reports again";
}
