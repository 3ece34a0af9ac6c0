// The bass-management panel in the whole program against the simulated
// device: the diagram for the rate mode, the gain points, the presets inside
// the mute bracket, and the jumps to the mixers and the equaliser.

#include "AppFixture.h"

#include "Accessibility.h"
#include "BassManPanel.h"
#include "Configdataunit.h"
#include "Gainformunit.h"
#include "Mainunit.h"
#include "RadioGroup.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>
#include <QToolButton>

#include <map>
#include <vector>

namespace {

const char* const GainButtons[] = {"BassManCh1toCh8MixButton",     "BassManCh2toCh8MixButton",
                                   "BassManCh7toCh1and2MixButton", "BassManCh7EQ2BypassButton",
                                   "BassManCh7EQ2InlineButton",    "BassManCh8toCh1and2MixButton",
                                   "BassManCh8EQ2BypassButton",    "BassManCh8EQ2InlineButton"};
const char* const AddressLabels[][2] = {{"Label4", "0x49"},  {"Label17", "0x4A"}, {"Label2", "0x4B"},
                                        {"Label19", "0x4C"}, {"Label18", "0x4D"}, {"Label3", "0x4E"},
                                        {"Label20", "0x4F"}, {"Label21", "0x50"}};

struct Record {
    int subAddress;
    std::string bytes;
};

// The X records of a delivered configuration file, in file order.
std::vector<Record> RecordsOf(const QString& path) {
    QFile file(path);
    std::vector<Record> records;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return records;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.startsWith('X'))
            continue;
        records.push_back({line.mid(1, 2).toInt(nullptr, 16), line.mid(4).toStdString()});
    }
    return records;
}

class BassManWindowTest : public ProgramTest {
protected:
    BassManWindowTest() {
        for (const char* preset : TBassManPanel::PresetFiles)
            Deliver(preset);
    }
    QImage Diagram() {
        return Find<QLabel>("BassManagementImage")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QImage PictureFile(const char* name) {
        return QImage(StartFile(name)).convertToFormat(QImage::Format_RGB32);
    }
    void ChoosePreset(int item) {
        QComboBox* combo = Find<QComboBox>("BassMansuiComboBox");
        combo->setCurrentIndex(item);
        emit combo->activated(item); // as the user's choice
    }
    TGainForm& Gain() { return Main().GainForm(); }
    // An address label of the panel ("Label2" names other labels in the
    // register command window too).
    QLabel* PanelLabel(const char* name) {
        auto* label = Find<QWidget>("PanelBassManagement")->findChild<QLabel*>(name);
        EXPECT_NE(label, nullptr) << name;
        return label;
    }
};

TEST_F(BassManWindowTest, FourChannelDiagramWithItsGainPoints) {
    Start();
    Click("BassMansuiButton");
    EXPECT_EQ(Diagram(), PictureFile("QMX4600BassMan4Ch.jpg"));
    QLabel* image = Find<QLabel>("BassManagementImage");
    for (const char* name : GainButtons) {
        auto* button = Find<QToolButton>(name);
        EXPECT_FALSE(button->isHidden()) << name;
        EXPECT_TRUE(image->geometry().contains(button->geometry())) << name << " sits on the diagram";
        EXPECT_FALSE(button->icon().isNull()) << name;
    }
    for (const auto& label : AddressLabels) {
        EXPECT_EQ(PanelLabel(label[0])->text(), label[1]);
        EXPECT_FALSE(PanelLabel(label[0])->isHidden());
    }
    EXPECT_EQ(Find<QToolButton>("BassManCh7toCh1and2MixButton")->toolTip(), "0x4B r_ipmix_7_to_Ch01: off");
    const QStringList items = {"Bass Management 1", "Bass Management 2", "Bass Management 3"};
    QComboBox* combo = Find<QComboBox>("BassMansuiComboBox");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(combo->itemText(i), items[i]);
    EXPECT_EQ(Find<QGroupBox>("GroupBox1")->title(), "Bass Management Options");
    EXPECT_EQ(PanelLabel("Label23")->text(), "Register Address 0xYZ");
    EXPECT_EQ(ControlsNotToldApart(Find<QWidget>("PanelBassManagement")), QStringList());
}

TEST_F(BassManWindowTest, HighRateShowsTheThreeChannelDiagramWithoutGainPoints) {
    Start([](SimulatedQmx4600& sim) { sim.SetSampleRate(192000); });
    Click("BassMansuiButton");
    EXPECT_EQ(Diagram(), PictureFile("QMX4600BassMan3Ch.jpg"));
    for (const char* name : GainButtons)
        EXPECT_TRUE(Find<QToolButton>(name)->isHidden()) << name;
    for (const auto& label : AddressLabels)
        EXPECT_TRUE(PanelLabel(label[0])->isHidden()) << label[0];
    EXPECT_TRUE(Find<QPushButton>("EQDAPCh7EQ2BitBtn")->isHidden());
    EXPECT_TRUE(Find<QPushButton>("EQDAPCh7EQ5BitBtn")->isHidden());
    EXPECT_FALSE(Find<QPushButton>("EQDAPCh8EQ2BitBtn")->isHidden());

    sim_->SetSampleRate(48000);
    Click("BassMansuiButton");
    EXPECT_EQ(Diagram(), PictureFile("QMX4600BassMan4Ch.jpg"));
    EXPECT_FALSE(Find<QToolButton>("BassManCh8EQ2BypassButton")->isHidden());
}

TEST_F(BassManWindowTest, GainPointOpensOneRowOnItsRegister) {
    Start();
    Click("BassMansuiButton");
    TakeCalls();
    Click("BassManCh8EQ2BypassButton");
    EXPECT_TRUE(Gain().isVisible());
    EXPECT_EQ(Gain().RowsInUse(), 1);
    EXPECT_EQ(Gain().findChild<QLineEdit*>("Address")->text(), "4f");
    EXPECT_EQ(Gain().findChild<QLineEdit*>("Description1")->text(), "r_Ch8_bp_bq2");
    EXPECT_EQ(Gain().focusWidget(), Gain().findChild<QLineEdit*>("FloatEdit1"));
    EXPECT_TRUE(Writes(TakeCalls()).empty());

    Gain().findChild<QLineEdit*>("FloatEdit1")->setText("0.5");
    Click("AOKBitBtn");
    const auto writes = Writes(TakeCalls());
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front().subAddress, 0x4F);
    EXPECT_EQ(HexBytes(writes.front().bytes), "00 40 00 00");
    EXPECT_EQ(Find<QToolButton>("BassManCh8EQ2BypassButton")->toolTip(), "0x4F r_Ch8_bp_bq2: -6.02 dB");
}

TEST_F(BassManWindowTest, PresetIsSentInsideTheMuteBracket) {
    Start();
    Click("BassMansuiButton");
    TakeCalls();
    ChoosePreset(1);
    const auto writes = Writes(TakeCalls());
    const std::vector<Record> records = RecordsOf(StartFile("QMX4600BassManTwo.cfg"));
    ASSERT_GE(records.size(), 8u);
    ASSERT_GE(writes.size(), records.size() + 2);
    EXPECT_EQ(writes.front().subAddress, 0x0F);
    EXPECT_EQ(HexBytes(writes.front().bytes), "ff");
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(writes[i + 1].subAddress, records[i].subAddress);
        EXPECT_EQ(HexBytes(writes[i + 1].bytes), records[i].bytes);
    }
    EXPECT_EQ(writes.back().subAddress, 0x0F);
    EXPECT_EQ(HexBytes(writes.back().bytes), "00");
    EXPECT_EQ(HexBytes(sim_->Register(0x0F)), "00");
    EXPECT_EQ(Find<QToolButton>("BassManCh1toCh8MixButton")->toolTip(), "0x49 r_ipmix_1_to_Ch8: -6.02 dB");
    EXPECT_EQ(Find<QToolButton>("BassManCh8EQ2InlineButton")->toolTip(), "0x50 r_Ch8_bq2: 0 dB");
}

// The three delivered presets are real, different configurations that load
// back exactly.
TEST_F(BassManWindowTest, PresetsLoadBackExactlyAndDiffer) {
    Start();
    Click("BassMansuiButton");
    std::vector<std::map<int, std::string>> loaded;
    for (int item = 0; item < 3; ++item) {
        SCOPED_TRACE(item);
        ChoosePreset(item);
        const std::vector<Record> records = RecordsOf(StartFile(TBassManPanel::PresetFiles[item]));
        ASSERT_FALSE(records.empty());
        std::map<int, std::string> registers;
        for (const Record& r : records) {
            EXPECT_EQ(HexBytes(Main().Table().GetData(r.subAddress)), r.bytes) << r.subAddress;
            EXPECT_EQ(HexBytes(sim_->Register(static_cast<uint8_t>(r.subAddress))), r.bytes);
            registers[r.subAddress] = r.bytes;
        }
        loaded.push_back(registers);
    }
    EXPECT_NE(loaded[0], loaded[1]);
    EXPECT_NE(loaded[1], loaded[2]);
    EXPECT_NE(loaded[0], loaded[2]);
}

TEST_F(BassManWindowTest, MissingPresetStillUnmutesAndSaysSo) {
    Start();
    ASSERT_TRUE(QFile::remove(StartFile("QMX4600BassManThree.cfg")));
    Click("BassMansuiButton");
    TakeCalls();
    ChoosePreset(2);
    const auto writes = Writes(TakeCalls());
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(HexBytes(writes.front().bytes), "ff");
    EXPECT_EQ(writes.back().subAddress, 0x0F);
    EXPECT_EQ(HexBytes(writes.back().bytes), "00");
    EXPECT_EQ(Text("HelpfulCommentsLabel"), "Error Reading QMX4600BassManThree.cfg");
}

TEST_F(BassManWindowTest, JumpButtonsOpenTheMixerAndTheEqualiserStage) {
    Start();
    struct Case {
        const char* button;
        int channelItem, biquadItem;
    };
    const Case cases[] = {{"EQDAPCh1EQ7BitBtn", 0, 0}, {"EQDAPCh2EQ7BitBtn", 1, 0},
                          {"EQDAPCh7EQ2BitBtn", 2, 0}, {"EQDAPCh8EQ2BitBtn", 3, 0},
                          {"EQDAPCh7EQ5BitBtn", 2, 2}, {"EQDAPCh8EQ5BitBtn", 3, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        Click("BassMansuiButton");
        Click(c.button);
        EXPECT_FALSE(Find<QWidget>("PanelBiquad")->isHidden());
        EXPECT_TRUE(Find<QWidget>("PanelBassManagement")->isHidden());
        EXPECT_EQ(Find<RadioGroup>("EQDAPCHRadioGroup")->ItemIndex(), c.channelItem);
        EXPECT_EQ(Find<RadioGroup>("EQEQRadioGroup")->ItemIndex(), c.biquadItem);
    }

    QWidget* mixer = Find<QWidget>("PanelMixer");
    const QPoint middle = Find<QGroupBox>("MixerInputGroupBox")->geometry().center();
    for (const char* button : {"OutputMixerBitBtn", "InputMixerBitBtn"}) {
        SCOPED_TRACE(button);
        Click("BassMansuiButton");
        Click(button);
        EXPECT_FALSE(mixer->isHidden());
        const char* front =
            QString(button) == "InputMixerBitBtn" ? "MixerInputGroupBox" : "MixerOutputGroupBox";
        EXPECT_TRUE(Find<QGroupBox>(front)->isAncestorOf(mixer->childAt(middle)));
        EXPECT_FALSE(Find<QToolButton>("DAP1Ch1SpeedButton")->icon().isNull());
    }
}

TEST_F(BassManWindowTest, MissingDiagramIsReportedAndThePanelStillAdapts) {
    ASSERT_TRUE(QFile::remove(StartFile("QMX4600BassMan4Ch.jpg")));
    Start();
    AppBoxes().errors.clear();
    Click("BassMansuiButton");
    ASSERT_EQ(AppBoxes().errors.size(), 1u);
    EXPECT_TRUE(AppBoxes().errors[0].contains("QMX4600BassMan4Ch.jpg")) << AppBoxes().errors[0].toStdString();
    EXPECT_FALSE(Find<QToolButton>("BassManCh1toCh8MixButton")->isHidden());
    EXPECT_FALSE(Find<QToolButton>("BassManCh1toCh8MixButton")->icon().isNull()) << "the refresh went on";
    AppBoxes().errors.clear();
}

} // namespace
