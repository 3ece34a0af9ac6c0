// The main window's navigation, sample-rate adaptations, menus and messages.

#include "AppFixture.h"

#include "Accessibility.h"
#include "Ackerrordialog.h"
#include "Commandline.h"
#include "I2cunit.h"
#include "Mainunit.h"
#include "TrackBar.h"
#include "UpDown.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <clocale>
#include <functional>

TEST_F(ProgramTest, DraggingTheMasterVolumeReachesTheBusAtOnce) {
    Start();
    Click("VolumesuiButton");
    TakeCalls();
    Find<TrackBar>("MasterVTrackBar")->SetPosition(80);

    const auto calls = TakeCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, SimulatedQmx4600::CallKind::Write);
    EXPECT_EQ(calls[0].address7, 0x1B);
    EXPECT_EQ(calls[0].subAddress, 0xD9);
    EXPECT_EQ(HexBytes(calls[0].bytes), "00 00 00 50");
    EXPECT_EQ(Text("MasterVdBLabel"), "-2");
    EXPECT_EQ(Text("LabelVolumeUnits"), "-2");
    EXPECT_EQ(Find<UpDown>("MasterUpDownVolume")->Position(), 80);
    EXPECT_EQ(Find<UpDown>("MainMasterUpDown")->Position(), 80);
}

// With the master register at the designed step, no refresh moves the bar:
// the display's arrows must start there too, so "down" is 3 dB down. The
// register holds that step when the bus fails at start-up and the init file
// stores it.
TEST_F(ProgramTest, DisplayUpDownStartsWhereTheMasterBarStarts) {
    QFile init(StartFile("QMX4600Init.cfg"));
    ASSERT_TRUE(init.open(QIODevice::ReadOnly));
    QByteArray text = init.readAll();
    init.close();
    ASSERT_TRUE(text.contains("Xd9 00 00 00 48"));
    text.replace("Xd9 00 00 00 48", "Xd9 00 00 00 49");
    ASSERT_TRUE(init.open(QIODevice::WriteOnly | QIODevice::Truncate));
    init.write(text);
    init.close();
    Start([](SimulatedQmx4600& sim) { sim.SetPluggedIn(false); });
    EXPECT_EQ(Find<TrackBar>("MasterVTrackBar")->Position(), 73);
    EXPECT_EQ(Find<UpDown>("MainMasterUpDown")->Position(), 73);
    sim_->SetPluggedIn(true);
    program_->Transport().OnDeviceChange();
    TakeCalls();

    Click("MainMasterUpDownDown");

    const auto writes = Writes(TakeCalls());
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes[0].subAddress, 0xD9);
    EXPECT_EQ(HexBytes(writes[0].bytes), "00 00 00 55");
    EXPECT_EQ(Text("LabelVolumeUnits").toStdString(), "-3.25");
}

// Alt+T belongs to the Tools menu; "&Toggle Fs" keeps its caption and runs
// only when clicked.
TEST_F(ProgramTest, AltTOpensTheToolsMenu) {
    Start();
    Main().show();
    QApplication::setActiveWindow(&Main());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    const std::vector<uint8_t> clocks = Main().Table().GetData(0x00);
    auto* toggleFs = Find<QPushButton>("ToggleFsHiddenButton");
    EXPECT_EQ(toggleFs->text(), "&Toggle Fs");
    auto* tools = Main().findChild<QMenu*>("ToolsMenu");
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->title(), "&Tools");

    QTest::keyClick(&Main(), Qt::Key_T, Qt::AltModifier);

    EXPECT_TRUE(QTest::qWaitFor([tools] { return tools->isVisible(); }));
    EXPECT_EQ(Main().Table().GetData(0x00), clocks);
    tools->hide();
    toggleFs->click();
    EXPECT_NE(Main().Table().GetData(0x00), clocks);
}

// Every control of the main window and of every block panel can be told
// apart by a screen reader.
TEST_F(ProgramTest, EveryControlHasItsOwnAccessibleName) {
    Start();
    EXPECT_EQ(ControlsNotToldApart(&Main()).join('\n').toStdString(), "");
    QAccessibleInterface* master = QAccessible::queryAccessibleInterface(Find<QWidget>("MainMasterUpDown"));
    ASSERT_NE(master, nullptr);
    EXPECT_EQ(master->text(QAccessible::Name), "MASTER volume 3 dB up/down");
}

// The accessibility "Toggle" on a mute box writes the soft-mute register as
// the user's click does.
TEST_F(ProgramTest, AMuteBoxToggledThroughAccessibilityReachesTheDevice) {
    Start();
    Click("VolumesuiButton");
    TakeCalls();
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(Find<QWidget>("Ch2VMuteCheckBox"));
    ASSERT_NE(box, nullptr);
    ASSERT_NE(box->actionInterface(), nullptr);

    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());

    const auto writes = Writes(TakeCalls());
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].subAddress, 0x0F);
    EXPECT_EQ(HexBytes(writes[0].bytes), "02");
    EXPECT_EQ(Text("Ch2VdBLabel"), "MUTE");
}

TEST_F(ProgramTest, EachNavigationButtonShowsItsPanelAlone) {
    Start();
    Main().show();
    const std::pair<const char*, const char*> buttons[] = {
        {"VolumesuiButton", "PanelVolume"},
        {"TonesuiButton", "PanelTone"},
        {"LoudnesssuiButton", "PanelLoudness"},
        {"DRCsuiButton", "PanelDRC"},
        {"EQsuiButton", "PanelBiquad"},
        {"ConfigControlsuiButton", "PanelConfigControl"},
        {"DataClockControlsuiButton", "PanelClockControl"},
        {"MixersuiButton", "PanelMixer"},
        {"BassMansuiButton", "PanelBassManagement"},
    };
    for (const auto& [button, shown] : buttons) {
        SCOPED_TRACE(button);
        Click(button);
        for (const auto& [other, panel] : buttons)
            EXPECT_EQ(Find<QWidget>(panel)->isVisible(), panel == shown) << panel;
        EXPECT_FALSE(Find<QWidget>("InitialsuiImagePanel")->isVisible());
    }
    Click("DisplayImagesuiButton");
    for (const auto& [button, panel] : buttons)
        EXPECT_FALSE(Find<QWidget>(panel)->isVisible()) << panel;
    EXPECT_TRUE(Find<QWidget>("DisplaysuiImage")->isVisible());
}

TEST_F(ProgramTest, BlockDiagramDoubleClickShowsAndHidesTheLogicRules) {
    Start();
    Main().show();
    Click("DisplayImagesuiButton");
    auto* memo = Find<QPlainTextEdit>("GUILogicMemo");
    ASSERT_FALSE(memo->isVisible());
    QTest::mouseDClick(Find<QWidget>("DisplaysuiImage"), Qt::LeftButton);
    EXPECT_TRUE(memo->isVisible());
    const QStringList lines = memo->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines[0], " This is the Logic used by this GUI in determining which DAP channels");
    EXPECT_EQ(lines[3], "  ");
    EXPECT_EQ(lines[19], "  }");
    QTest::mouseDClick(memo->viewport(), Qt::LeftButton);
    EXPECT_FALSE(memo->isVisible());
}

TEST_F(ProgramTest, HighSampleRatesHideTheThirdVolumeColumn) {
    Start([](SimulatedQmx4600& sim) { sim.SetSampleRate(192000); });
    Main().show();
    Click("VolumesuiButton");
    EXPECT_EQ(Text("LabelFsUnits"), "192k");
    EXPECT_FALSE(Find<QWidget>("VolCh3Panel")->isVisible());
    EXPECT_TRUE(Find<QWidget>("BlankVolumePanel")->isVisible());
    EXPECT_EQ(Text("BlankVolumePanel"), "Channel 3 Vol. Not available at Fs>96K");

    sim_->SetSampleRate(96000);
    Click("VolumesuiButton");
    EXPECT_EQ(Text("LabelFsUnits"), "96k");
    EXPECT_TRUE(Find<QWidget>("VolCh3Panel")->isVisible());
    EXPECT_FALSE(Find<QWidget>("BlankVolumePanel")->isVisible());
}

TEST_F(ProgramTest, FsDetectionPollsTheDeviceAndRefreshes) {
    Start();
    auto* timer = Main().findChild<QTimer*>("FsPollTimer");
    ASSERT_NE(timer, nullptr);
    Trigger("AutomaticFsDetection");
    EXPECT_EQ(Text("AutoDetectStatusLabel"), "ON");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);

    sim_->SetSampleRate(44100);
    sim_->SetMclkRatio(512);
    TakeCalls();
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(timer->interval(), 5000);
    EXPECT_EQ(Text("LabelFsUnits"), "44.1k");
    EXPECT_EQ(Text("LabelMclkUnits"), "512 * fs");
    EXPECT_FALSE(Reads(TakeCalls()).empty());

    Trigger("AutomaticFsDetection");
    EXPECT_EQ(Text("AutoDetectStatusLabel"), "OFF");
    EXPECT_FALSE(timer->isActive());
}

TEST_F(ProgramTest, TextsUseAPointUnderACommaDecimalLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing: generate it with locale-gen";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    Start([](SimulatedQmx4600& sim) { sim.SetSampleRate(44100); });
    // The program fixes "." for itself, in the C library and in Qt.
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    EXPECT_EQ(QLocale().decimalPoint(), ".");
    EXPECT_EQ(QLocale().groupSeparator(), ",");
    Click("VolumesuiButton");
    Find<TrackBar>("MasterVTrackBar")->SetPosition(1);
    EXPECT_EQ(Text("LabelFsUnits"), "44.1k");
    EXPECT_EQ(Text("MasterVdBLabel"), "17.75");
    std::setlocale(LC_ALL, "C");
}

TEST_F(ProgramTest, ToolsMenuShowsTheRegisterWindowAndSwitchesTheDataLog) {
    Start();
    Trigger("SelectDeBugGUI");
    EXPECT_TRUE(program_->CommandLine().isVisible());

    Trigger("SelectDataLogger");
    EXPECT_EQ(Text("HelpfulCommentsLabel"), "DataLog ON ");
    EXPECT_TRUE(QFile::exists(StartFile("DataLog.txt")));
    Trigger("SelectDataLogger");
    EXPECT_EQ(Text("HelpfulCommentsLabel"), "DataLog OFF");
}

TEST_F(ProgramTest, UsersGuideOpensFromTheStartDirectoryAndRestoresTheWindow) {
    Start();
    Main().show();
    Trigger("UsersGuide");
    EXPECT_EQ(viewer_.openedPath, StartFile("QMX4600GUI_OI.PDF"));
    EXPECT_TRUE(Main().isMinimized());
    ASSERT_TRUE(viewer_.ended);
    viewer_.ended(ViewerEnd::Closed);
    EXPECT_FALSE(Main().isMinimized());
    EXPECT_EQ(Text("HelpfulCommentsLabel"), "Initialized OK");

    // A viewer that fails at once brings the window back with the message.
    Trigger("UsersGuide");
    EXPECT_TRUE(Main().isMinimized());
    viewer_.ended(ViewerEnd::CannotOpen);
    EXPECT_FALSE(Main().isMinimized());
    EXPECT_EQ(Text("HelpfulCommentsLabel"), "Error Reading QMX4600GUI_OI.PDF");

    Main().Strip().HelpfulCommentsLabel->setText("Initialized OK");
    viewer_.opens = false;
    Trigger("UsersGuide");
    EXPECT_FALSE(Main().isMinimized());
    EXPECT_EQ(Text("HelpfulCommentsLabel"), "Error Reading QMX4600GUI_OI.PDF");
}

TEST_F(ProgramTest, AnErrorEscapingAHandlerIsShownAndTheProgramGoesOn) {
    Start();
    sim_->SetComponentFailure(true);
    AppBoxes().hrCheckAnswer = HrCheckAnswer::Yes;
    AppBoxes().errors.clear();
    Main().show();
    QTest::mouseClick(Find<QWidget>("RESETsuiButton"), Qt::LeftButton);
    AppBoxes().hrCheckAnswer = HrCheckAnswer::No;
    ASSERT_EQ(AppBoxes().errors.size(), 1u);
    EXPECT_TRUE(AppBoxes().errors[0].contains("ResetPulse")) << AppBoxes().errors[0].toStdString();
    EXPECT_TRUE(AppBoxes().hrCheckQuestions.back().startsWith("'ResetPulse': "));

    sim_->SetComponentFailure(false);
    Click("RESETsuiButton");
    EXPECT_EQ(Text("LabelStatusUnits"), "OK");
}

// Runs the event loop until the program ends itself; 1 when it did not
// within a few seconds.
int RunUntilTheProgramEnds(const std::function<void()>& action) {
    QTimer::singleShot(0, action);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    giveUp.start(5000);
    return QCoreApplication::exec();
}

TEST_F(ProgramTest, ExitEndsTheProgramWhateverToolWindowIsOpen) {
    Start([](SimulatedQmx4600& sim) { sim.SetPluggedIn(false); });
    Main().show();
    Trigger("SelectDeBugGUI");
    ASSERT_TRUE(program_->ErrorDialog().isVisible());
    Trigger("SelectDataLogger");
    ASSERT_TRUE(Main().DataLog().IsOn());

    EXPECT_EQ(RunUntilTheProgramEnds([this] { Click("ExitsuiButton"); }), 0)
        << "the program ends although the tool windows are up";
    EXPECT_FALSE(Main().isVisible());
    EXPECT_FALSE(Main().DataLog().IsOn()) << "EXIT closes the data log";
}

TEST_F(ProgramTest, ExitFromTheMenuLeavesTheDataLogToTheEnd) {
    Start();
    Main().show();
    Trigger("SelectDataLogger");
    EXPECT_EQ(RunUntilTheProgramEnds([this] { Trigger("exit"); }), 0);
    EXPECT_TRUE(Main().DataLog().IsOn());
}
