// The mixer panel and its gain pictures in the whole program against the
// simulated device: the pictures and combos read from the registers, the
// mixing points opening the gain window, and the pictures following every
// path that changes a gain register.

#include "AppFixture.h"

#include "Accessibility.h"
#include "Configdataunit.h"
#include "Gainformunit.h"
#include "Mainunit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <vector>

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> bytes) {
    return bytes;
}

// Eight input-mixer words, each given as its four bytes.
std::vector<uint8_t> Words(std::initializer_list<std::array<uint8_t, 4>> words) {
    std::vector<uint8_t> bytes;
    for (const auto& word : words)
        bytes.insert(bytes.end(), word.begin(), word.end());
    return bytes;
}

class MixerWindowTest : public ProgramTest {
protected:
    // The picture a button shows, as the file it should come from would look.
    QImage Shown(const char* button) {
        return Find<QToolButton>(button)
            ->icon()
            .pixmap(QSize(32, 32))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    QImage File(const QString& name) {
        return QIcon(QPixmap(StartFile(name)))
            .pixmap(QSize(32, 32))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    std::string Picture(const char* button) {
        const QImage shown = Shown(button);
        for (const char* name : {"GreenMultiply.BMP", "RedMultiply.BMP", "BlueMultiply.BMP"})
            if (shown == File(name))
                return name;
        return shown.isNull() ? "none" : "other";
    }
    std::string Tip(const char* button) { return Find<QToolButton>(button)->toolTip().toStdString(); }
    std::string Combo(const char* name) { return Find<QComboBox>(name)->currentText().toStdString(); }
    TGainForm& Gain() { return Main().GainForm(); }
    std::string Field(const QString& name) {
        return Gain().findChild<QLineEdit*>(name)->text().toStdString();
    }
};

TEST_F(MixerWindowTest, PicturesAndSourcesFollowTheRegisters) {
    Start();
    // As a configuration file would have stored them.
    Main().Table().SetData(0x41, Words({{0x00, 0x40, 0x00, 0x00},
                                        {0x00, 0x80, 0x00, 0x01},
                                        {0x00, 0x80, 0x00, 0x00},
                                        {0x00, 0x00, 0x00, 0x00},
                                        {0xFF, 0x80, 0x00, 0x00},
                                        {0x00, 0x00, 0x00, 0x00},
                                        {0x00, 0x00, 0x00, 0x00},
                                        {0x00, 0x00, 0x00, 0x00}}));
    Main().Table().SetData(0xB1,
                           Bytes({0x70, 0x80, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x61, 0x00, 0x00, 0x00}));
    Click("MixersuiButton");
    struct Case {
        const char* button;
        const char* picture;
        const char* tip;
    };
    const Case cases[] = {
        {"DAP1Ch1SpeedButton", "BlueMultiply.BMP", "0x41 r_A_to_ipmix[1]: -6.02 dB"},
        {"DAP1Ch2SpeedButton", "BlueMultiply.BMP", "0x41 r_B_to_ipmix[1]: 0.00 dB"},
        {"DAP1Ch3SpeedButton", "GreenMultiply.BMP", "0x41 r_C_to_ipmix[1]: 0 dB"},
        {"DAP1Ch4SpeedButton", "RedMultiply.BMP", "0x41 r_D_to_ipmix[1]: off"},
        {"DAP1Ch5SpeedButton", "BlueMultiply.BMP", "0x41 r_E_to_ipmix[1]: 0.00 dB inverted"},
        {"PWM4DAPCHaSpeedButton", "GreenMultiply.BMP", "0xB1 row a (sel op1-8 and Mix to Z): 0 dB"},
        {"PWM4DAPCHbSpeedButton", "RedMultiply.BMP", "0xB1 row b (sel op1-8 and Mix to Z): off"},
        {"PWM4DAPCHcSpeedButton", "BlueMultiply.BMP", "0xB1 row c (sel op1-8 and Mix to Z): 6.02 dB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        EXPECT_EQ(Picture(c.button), c.picture);
        EXPECT_EQ(Tip(c.button), c.tip);
    }
    EXPECT_EQ(Combo("PWM4DAPasuiComboBox"), "DAP Ch4  ");
    EXPECT_EQ(Combo("PWM4DAPbsuiComboBox"), "DAP Ch1  ") << "code 0x2 reads as the first item";
    EXPECT_EQ(Combo("PWM4DAPcsuiComboBox"), "DAP Ch3  ");
    EXPECT_EQ(HexBytes(Main().Table().GetData(0xB1)), "70 80 00 00 20 00 00 00 61 00 00 00")
        << "the source code is cleared only in a copy";
    // The legend shows the same three pictures.
    EXPECT_EQ(Picture("MixerZeroSpeedButton"), "RedMultiply.BMP");
    EXPECT_EQ(Picture("MixerOneSpeedButton"), "GreenMultiply.BMP");
    EXPECT_EQ(Picture("MixerOtherSpeedButton"), "BlueMultiply.BMP");
}

TEST_F(MixerWindowTest, PanelIsBuiltFromItsTables) {
    Start();
    Click("MixersuiButton");
    for (int n = 1; n <= 4; ++n)
        for (int m = 1; m <= 8; ++m)
            EXPECT_NE(Find<QToolButton>(QString("DAP%1Ch%2SpeedButton").arg(n).arg(m).toUtf8()), nullptr);
    const char* const combos[] = {"PWM1DAPasuiComboBox", "PWM1DAPbsuiComboBox", "PWM2DAPasuiComboBox",
                                  "PWM2DAPbsuiComboBox", "PWM3DAPasuiComboBox", "PWM3DAPbsuiComboBox",
                                  "PWM3DAPcsuiComboBox", "PWM4DAPasuiComboBox", "PWM4DAPbsuiComboBox",
                                  "PWM4DAPcsuiComboBox"};
    for (const char* name : combos) {
        QComboBox* combo = Find<QComboBox>(name);
        ASSERT_NE(combo, nullptr);
        const int expected = QString(name) == "PWM1DAPbsuiComboBox" ? 5 : 4;
        ASSERT_EQ(combo->count(), expected) << name;
        EXPECT_EQ(combo->itemText(2), "DAP Ch3  ");
    }
    EXPECT_EQ(Find<QComboBox>("PWM1DAPbsuiComboBox")->itemText(4), "");
    EXPECT_TRUE(Find<QGroupBox>("MixerBlankGroupBox")->isHidden());
    EXPECT_FALSE(Find<QGroupBox>("DAP3InMixGroupBox")->isHidden());
    EXPECT_EQ(ControlsNotToldApart(Find<QWidget>("PanelMixer")), QStringList());

    // The two boxes overlap; each button brings its own to the front.
    QWidget* panel = Find<QWidget>("PanelMixer");
    auto* input = Find<QGroupBox>("MixerInputGroupBox");
    auto* output = Find<QGroupBox>("MixerOutputGroupBox");
    const QPoint middle = input->geometry().center();
    Click("MixerOutputsuiButton");
    EXPECT_TRUE(output->isAncestorOf(panel->childAt(middle)) || panel->childAt(middle) == output);
    Click("MixerInputsuiButton");
    EXPECT_TRUE(input->isAncestorOf(panel->childAt(middle)) || panel->childAt(middle) == input);
}

TEST_F(MixerWindowTest, InputPointOpensItsRegisterWithTheRowFocused) {
    Start();
    Click("MixersuiButton");
    TakeCalls();
    Click("DAP3Ch5SpeedButton");
    EXPECT_TRUE(Gain().isVisible());
    EXPECT_EQ(Gain().RowsInUse(), 8);
    EXPECT_EQ(Field("Address"), "43");
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(Field(QString("Description%1").arg(k)),
                  QString("r_%1_to_ipmix[3]").arg(QChar('A' + k - 1)).toStdString());
    EXPECT_EQ(Gain().focusWidget(), Gain().findChild<QLineEdit*>("FloatEdit5"));
    EXPECT_EQ(Gain().findChild<QLineEdit*>("FloatEdit5")->selectedText().toStdString(), Field("FloatEdit5"));
    EXPECT_TRUE(Writes(TakeCalls()).empty());
}

TEST_F(MixerWindowTest, SourceChoiceOpensTheWindowAndApplyWritesIt) {
    Start();
    Main().Table().SetData(0xB0,
                           Bytes({0x00, 0x80, 0x00, 0x00, 0x10, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
    Click("MixersuiButton");
    Click("MixerOutputsuiButton");
    TakeCalls();
    QComboBox* combo = Find<QComboBox>("PWM3DAPbsuiComboBox");
    combo->setCurrentIndex(2);
    emit combo->activated(2); // as the user's choice of "DAP Ch3  "
    EXPECT_TRUE(Gain().isVisible());
    EXPECT_EQ(Gain().RowsInUse(), 3);
    EXPECT_EQ(Field("Address"), "b0");
    EXPECT_EQ(Gain().RowMode(1), 0x00);
    EXPECT_EQ(Gain().RowMode(2), 0x60);
    EXPECT_EQ(Field("Byte1Edit2"), "60");
    EXPECT_EQ(Field("Description3"), "sel op1-8 and Mix to Y");
    EXPECT_EQ(Gain().focusWidget(), Gain().findChild<QLineEdit*>("FloatEdit2"));
    EXPECT_TRUE(Writes(TakeCalls()).empty()) << "nothing reaches the device before Apply";

    Gain().findChild<QLineEdit*>("FloatEdit2")->setText("1");
    Click("ApplyBitBtn");
    const auto writes = Writes(TakeCalls());
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front().subAddress, 0xB0);
    EXPECT_EQ(HexBytes(writes.front().bytes), "00 80 00 00 60 80 00 00 00 00 00 00");
    EXPECT_EQ(Combo("PWM3DAPbsuiComboBox"), "DAP Ch3  ");
    EXPECT_EQ(Picture("PWM3DAPCHbSpeedButton"), "GreenMultiply.BMP");
}

TEST_F(MixerWindowTest, RefreshLeavesTheCombosWhileShownUnderAutomaticDetection) {
    Start();
    Click("MixersuiButton");
    QComboBox* combo = Find<QComboBox>("PWM2DAPasuiComboBox");
    const int stored = combo->currentIndex();
    combo->setCurrentIndex(stored == 3 ? 2 : 3);
    const int chosen = combo->currentIndex();
    Find<QLabel>("AutoDetectStatusLabel")->setText("ON");
    Main().RefreshAll();
    EXPECT_EQ(combo->currentIndex(), chosen) << "a choice not yet written stays while the user looks at it";
    Find<QLabel>("AutoDetectStatusLabel")->setText("OFF");
    Main().RefreshAll();
    EXPECT_EQ(combo->currentIndex(), stored) << "otherwise the refresh puts back the stored source";
}

// Every path that changes a gain register sets the pictures again.
TEST_F(MixerWindowTest, PicturesFollowEveryPathThatChangesAGain) {
    Start();
    Click("MixersuiButton");

    // The gain window.
    Click("DAP2Ch2SpeedButton");
    Gain().findChild<QLineEdit*>("FloatEdit2")->setText("0.5");
    Click("AOKBitBtn");
    EXPECT_EQ(Picture("DAP2Ch2SpeedButton"), "BlueMultiply.BMP");

    // A configuration file loaded from the menu.
    QFile file(StartFile("mix.cfg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Text));
    file.write(
        "!r_A_to_ipmix[2]\nX42 00 40 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00 \n");
    file.close();
    dialogs_.answers = {StartFile("mix.cfg")};
    Trigger("ConfigFileL");
    EXPECT_EQ(Picture("DAP2Ch1SpeedButton"), "BlueMultiply.BMP");
    EXPECT_EQ(Picture("DAP2Ch2SpeedButton"), "RedMultiply.BMP");

    // A file sent from the configuration compare window.
    QFile sent(StartFile("send.cfg"));
    ASSERT_TRUE(sent.open(QIODevice::WriteOnly | QIODevice::Text));
    sent.write(
        "!r_A_to_ipmix[3]\nX43 00 00 00 00 00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00 \n");
    sent.close();
    Find<QComboBox>("AsuiComboBox")->setEditText(StartFile("send.cfg"));
    Click("ASendsuiButton");
    EXPECT_EQ(Picture("DAP3Ch1SpeedButton"), "RedMultiply.BMP");
    EXPECT_EQ(Picture("DAP3Ch2SpeedButton"), "GreenMultiply.BMP");

    // REINIT: the table, changed behind the pictures' back, is sent again.
    Main().Table().SetData(0x44, Words({{0x00, 0x80, 0x00, 0x00}}));
    Click("REINITsuiButton");
    EXPECT_EQ(Picture("DAP4Ch1SpeedButton"), "GreenMultiply.BMP");
    EXPECT_EQ(HexBytes(sim_->Register(0x44)).substr(0, 11), "00 80 00 00");
}

TEST_F(ProgramTest, PicturesAreSetAtStartWhenTheInitFileFillsTheTable) {
    Start({}, false);
    // The init file feeds DAP 1 from input A at 0 dB and nothing else.
    auto* button = Find<QToolButton>("DAP1Ch1SpeedButton");
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_EQ(button->toolTip(), "0x41 r_A_to_ipmix[1]: 0 dB");
    EXPECT_EQ(Find<QToolButton>("DAP1Ch2SpeedButton")->toolTip(), "0x41 r_B_to_ipmix[1]: off");
}

TEST_F(MixerWindowTest, PicturesAreReadFromTheStartDirectoryWhateverTheirCase) {
    // A user's own picture for "one", saved in lower case.
    ASSERT_TRUE(QFile::remove(StartFile("GreenMultiply.BMP")));
    QImage mine(16, 16, QImage::Format_RGB32);
    mine.fill(Qt::yellow);
    ASSERT_TRUE(mine.save(StartFile("greenmultiply.bmp"), "BMP"));
    Start();
    Click("MixersuiButton");
    EXPECT_EQ(Shown("DAP1Ch1SpeedButton"), File("greenmultiply.bmp"));
}

TEST_F(MixerWindowTest, AMissingPictureIsReportedAndTheProgramGoesOn) {
    ASSERT_TRUE(QFile::remove(StartFile("BlueMultiply.BMP")));
    Start();
    Main().Table().SetData(0x41, Words({{0x00, 0x40, 0x00, 0x00}}));
    AppBoxes().errors.clear();
    Click("MixersuiButton");
    ASSERT_FALSE(AppBoxes().errors.empty());
    EXPECT_TRUE(AppBoxes().errors.back().contains("BlueMultiply.BMP"))
        << AppBoxes().errors.back().toStdString();
    EXPECT_FALSE(Find<QWidget>("PanelMixer")->isHidden());
    AppBoxes().errors.clear();
}

} // namespace
