// Building the main window: panel area, navigation buttons, display strip.

#include "Mainunit.h"

#include "Artwork.h"
#include "BassManPanel.h"
#include "BlockPanel.h"
#include "ClockPanel.h"
#include "ConfigControlPanel.h"
#include "DrcPanel.h"
#include "EqPanel.h"
#include "EqTools.h"
#include "FsDetection.h"
#include "Gainformunit.h"
#include "I2cunit.h"
#include "Look.h"
#include "LoudnessPanel.h"
#include "MixerPanel.h"
#include "Placement.h"
#include "TonePanel.h"
#include "UpDown.h"
#include "VolumePanel.h"

#include <QFont>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr QRect PanelPlace{108, 34, BlockPanel::Width, BlockPanel::Height};

const char* const LogicMemoLines[] = {
    " This is the Logic used by this GUI in determining which DAP channels",
    "    are assigned to each control.",
    "  Double Click this window to Remove it.",
    "  ",
    "  DRC1 will control channels 1,2 & 3 in four channel mode or else",
    "  DRC2 will always control channel 4.",
    "  Tone1 will normally control channels 1,2 & 3.",
    "  Tone2 will normally control channel 4.",
    "  The Biquad will normally control channels 1,2,3 & 4.",
    "  The Volume will normally control channels 1,2,3 & 4;",
    "  Bass Management will normally control channels 1,2,3 & 4;",
    "  if (Fs > 96 kHz)",
    "  {",
    "    Tone1 will only control channels 1 & 2.",
    "    Tone2 will control channel 4.",
    "    DRC1 will only control channels 1 & 2.",
    "    The Biquad will only control channels 1 & 2.",
    "    The Volume will only control channels 1,2 & 4;",
    "    Bass Management will only control channels 1,2 & 4;",
    "  }",
};

struct NavigationButton {
    const char* name;
    const char* caption;
    int x, y;
    void (TMainForm::*click)();
    const char* hint;
};

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& place,
                  Qt::Alignment alignment = Qt::AlignCenter) {
    QLabel* label = PlaceLabel(parent, text, place, alignment);
    label->setObjectName(name);
    return label;
}

} // namespace

void TMainForm::BuildWindow() {
    setWindowTitle("DAP and PWM Configuration Tool  —  QMX4600");
    auto* central = new QWidget(this);
    central->setObjectName("MainClientArea");
    central->setFixedSize(856, 684);
    setCentralWidget(central);

    auto* banner = MakeLabel(central, "BannerLabel", "DAP and PWM Configuration Tool", QRect(8, 8, 600, 40),
                             Qt::AlignLeft | Qt::AlignVCenter);
    banner->setProperty("role", "banner");
    MakeLabel(central, "DeviceNameLabel", "QMX4600", QRect(648, 8, 193, 40),
              Qt::AlignRight | Qt::AlignVCenter)
        ->setProperty("role", "banner");

    // The strip first: the block panels keep pointers to its labels.
    BuildDisplayStrip(central);
    BuildPanelArea(central);
    BuildNavigation();
    BuildMenus();

    auto* bottom = MakeLabel(central, "BottomImage", QString(), QRect(0, 654, 856, 30));
    bottom->setPixmap(BottomStrip(bottom->size()));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TMainForm::BuildPanelArea(QWidget* central) {
    mainTVPanel_ = new QWidget(central);
    mainTVPanel_->setObjectName("MainTVPanel");
    mainTVPanel_->setGeometry(8, 56, 833, 401);

    auto* background = MakeLabel(mainTVPanel_, "Image3", QString(), QRect(0, 0, 833, 401));
    background->setPixmap(PanelBackground(background->size()));

    displayImage_ = MakeLabel(mainTVPanel_, "DisplaysuiImage", QString(), PanelPlace);
    displayImage_->setPixmap(BlockDiagramPicture(PanelPlace.size()));
    displayImage_->setToolTip("Double Click this Frame for the Logic Rules");
    displayImage_->installEventFilter(this);

    logicMemo_ = new QPlainTextEdit(mainTVPanel_);
    logicMemo_->setObjectName("GUILogicMemo");
    logicMemo_->setGeometry(PanelPlace);
    logicMemo_->setReadOnly(true);
    logicMemo_->setAccessibleName("Logic rules");
    logicMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    logicMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logicMemo_->setStyleSheet("QPlainTextEdit { background: #000080; color: yellow; font-weight: bold; }");
    for (const char* line : LogicMemoLines)
        logicMemo_->appendPlainText(line);
    logicMemo_->viewport()->installEventFilter(this);
    logicMemo_->hide();

    panelVolume_ = new TVolumePanel(*table_, *volume_, strip_, *this, mainTVPanel_);
    panelClockControl_ = new TClockControlPanel(*table_, *dataClocks_, strip_, mainTVPanel_);
    panelBiquad_ = new TEqPanel(*table_, *eq_, *dataClocks_, strip_, *this, startDirectory_, mainTVPanel_);
    // The design, import, save and response-view additions live in their own files.
    new TEqTools(*panelBiquad_, *table_, *eq_, *dataClocks_, strip_, fileDialogs_, startDirectory_);
    panelTone_ = new TTonePanel(*table_, *tone_, *this, mainTVPanel_);
    panelLoudness_ = new TLoudnessPanel(*table_, *loudness_, strip_, *this, startDirectory_, mainTVPanel_);
    panelDRC_ = new TDrcPanel(
        *table_, *compression_, strip_, *this, startDirectory_,
        [this] { return dataClocks_->GetSampleRate(); }, mainTVPanel_);
    panelConfigControl_ = new TConfigControlPanel(*table_, *configControl_, strip_, mainTVPanel_);
    // Blocks still to come show their navy panel and title.
    panelMixer_ = new TMixerPanel(*table_, *mixers_, *gainForm_, mainTVPanel_);
    TBassManPanel::Jumps jumps;
    jumps.mixer = [this](bool input) {
        if (input)
            panelMixer_->MixerInputsuiButtonClick();
        else
            panelMixer_->MixerOutputsuiButtonClick();
        MixersuiButtonClick();
    };
    jumps.equaliser = [this](int channelItem, int biquadItem) {
        panelBiquad_->JumpToBiquad(channelItem, biquadItem);
    };
    panelBassManagement_ = new TBassManPanel(*table_, *gainForm_, *this, strip_, startDirectory_,
                                             std::move(jumps), mainTVPanel_);
    blockPanels_ = {panelTone_,           panelVolume_, panelLoudness_,     panelDRC_,          panelBiquad_,
                    panelBassManagement_, panelMixer_,  panelClockControl_, panelConfigControl_};
    for (QWidget* panel : blockPanels_) {
        panel->move(PanelPlace.topLeft());
        panel->hide();
    }

    initialImagePanel_ = MakeLabel(mainTVPanel_, "InitialsuiImagePanel", QString(), PanelPlace);
    initialImagePanel_->setPixmap(StartPicture(PanelPlace.size()));
    initialImagePanel_->raise();
}

void TMainForm::BuildNavigation() {
    constexpr int left = 12, right = 730;
    const NavigationButton buttons[] = {
        {"VolumesuiButton", "Volume", left, 64, &TMainForm::VolumesuiButtonClick, nullptr},
        {"TonesuiButton", "Tone", left, 124, &TMainForm::TonesuiButtonClick, nullptr},
        {"LoudnesssuiButton", "Loudness", left, 186, &TMainForm::LoudnesssuiButtonClick, nullptr},
        {"DRCsuiButton", "Compression", left, 246, &TMainForm::DRCsuiButtonClick, nullptr},
        {"EQsuiButton", "EQ", left, 306, &TMainForm::EQsuiButtonClick, nullptr},
        {"ConfigControlsuiButton", "Bank Select", right, 64, &TMainForm::ConfigControlsuiButtonClick,
         nullptr},
        {"DataClockControlsuiButton", "Data Format", right, 124, &TMainForm::DataClockControlsuiButtonClick,
         nullptr},
        {"MixersuiButton", "Mixers", right, 186, &TMainForm::MixersuiButtonClick, nullptr},
        {"BassMansuiButton", "Bass Manage", right, 246, &TMainForm::BassMansuiButtonClick, "BASS MANAGEMENT"},
        {"DisplayImagesuiButton", "Block Diagram", right, 306, &TMainForm::DisplayImagesuiButtonClick,
         nullptr},
    };
    for (const NavigationButton& b : buttons) {
        QPushButton* button = PlaceButton(mainTVPanel_, b.name, b.caption, QRect(b.x, b.y, 90, 23), b.hint);
        button->setProperty("role", "navigation");
        ConnectGuarded(button, &QPushButton::clicked, b.click);
    }
}

void TMainForm::BuildDisplayStrip(QWidget* central) {
    auto* dvd = new QFrame(central);
    dvd->setObjectName("PanelDVDDisplay");
    dvd->setGeometry(8, 463, 700, 148);
    dvd->setProperty("role", "display");

    struct Column {
        const char* caption;
        QLabel** first;
        const char* firstName;
        const char* firstText;
        QLabel** second;
        const char* secondName;
        const char* secondText;
    };
    const Column columns[] = {
        {"EQ", &strip_.LabelBiquadUnits, "LabelBiquadUnits", "NONE", nullptr, nullptr, nullptr},
        {"Fs (KHz)", &strip_.LabelFsUnits, "LabelFsUnits", "----", nullptr, nullptr, nullptr},
        {"FORMAT", &strip_.LabelFormatType, "LabelFormatType", "RJ", &strip_.LabelFormatBits,
         "LabelFormatBits", "20"},
        {"BANK", &strip_.LabelBankAutoMan, "LabelBankAutoMan", "MAN", &strip_.LabelBankSelected,
         "LabelBankSelected", "1"},
        {"Mclk (MHz)", &strip_.LabelMclkUnits, "LabelMclkUnits", "----", nullptr, nullptr, nullptr},
        {"Fs DETECT", &strip_.AutoDetectStatusLabel, "AutoDetectStatusLabel", "OFF", nullptr, nullptr,
         nullptr},
        {"STATUS", &strip_.LabelStatusUnits, "LabelStatusUnits", "OK", nullptr, nullptr, nullptr},
    };
    constexpr int width = 96, gap = 3;
    int x = 8;
    for (const Column& c : columns) {
        MakeLabel(dvd, QString("Caption") + c.firstName, c.caption, QRect(x, 8, width, 20))
            ->setProperty("role", "caption");
        const int valueWidth = c.second ? width / 2 : width;
        *c.first = MakeLabel(dvd, c.firstName, c.firstText, QRect(x, 32, valueWidth, 40));
        (*c.first)->setProperty("role", "value");
        if (c.second) {
            *c.second = MakeLabel(dvd, c.secondName, c.secondText, QRect(x + valueWidth, 32, valueWidth, 40));
            (*c.second)->setProperty("role", "value");
        }
        x += width + gap;
    }
    SetTextColour(strip_.LabelStatusUnits, Colours::Green);
    strip_.HelpfulCommentsLabel =
        MakeLabel(dvd, "HelpfulCommentsLabel", "Initialized OK", QRect(8, 84, 684, 56), Qt::AlignCenter);
    strip_.HelpfulCommentsLabel->setWordWrap(true);
    strip_.HelpfulCommentsLabel->setProperty("role", "comment");

    auto* volume = new QFrame(central);
    volume->setObjectName("PanelVolumeDisplay");
    volume->setGeometry(716, 463, 125, 148);
    volume->setProperty("role", "display");
    MakeLabel(volume, "MasterCaptionLabel", "MASTER", QRect(4, 8, 117, 20))->setProperty("role", "caption");
    MakeLabel(volume, "VolumeCaptionLabel", "VOLUME", QRect(4, 28, 117, 20))->setProperty("role", "caption");
    strip_.LabelVolumeUnits = MakeLabel(volume, "LabelVolumeUnits", "00.0 dB", QRect(4, 60, 84, 40));
    strip_.LabelVolumeUnits->setProperty("role", "value");
    strip_.MainMasterUpDown = new UpDown(0, TVolume::MaxStep, -12, volume);
    strip_.MainMasterUpDown->setObjectName("MainMasterUpDown");
    // Where the master track bar starts: a refresh that finds the register
    // at this step moves nothing, so the arrows must already agree with it.
    strip_.MainMasterUpDown->SetPosition(TVolume::DesignedStep);
    strip_.MainMasterUpDown->SetAccessibleNames("MASTER volume 3 dB");
    strip_.MainMasterUpDown->setGeometry(92, 56, 28, 48);

    auto* reset = PlaceButton(central, "RESETsuiButton", "RESET", QRect(8, 619, 100, 28),
                              "RESET without loading parameters.");
    auto* reinit = PlaceButton(central, "REINITsuiButton", "REINIT", QRect(116, 619, 100, 28),
                               "RESET and RESTORE Current Condition.");
    auto* exit = PlaceButton(central, "ExitsuiButton", "EXIT", QRect(741, 619, 100, 28));
    ConnectGuarded(reset, &QPushButton::clicked, &TMainForm::RESETsuiButtonClick);
    ConnectGuarded(reinit, &QPushButton::clicked, &TMainForm::REINITsuiButtonClick);
    ConnectGuarded(exit, &QPushButton::clicked, &TMainForm::ExitsuiButtonClick);

    fsDetection_ = new TFsDetection(*dataClocks_, strip_, *this, this);
    auto* toggleFs = PlaceButton(central, "ToggleFsHiddenButton", "&Toggle Fs", QRect(660, 623, 72, 20));
    toggleFs->setProperty("role", "small");
    // "&Tools" and "&Toggle Fs" would both take Alt+T, and an ambiguous key
    // does nothing. The menu keeps it: the button's caption stays as drawn,
    // with its underline, but it has no shortcut.
    toggleFs->setShortcut(QKeySequence());
    ConnectGuarded(toggleFs, &QPushButton::clicked,
                   [](TMainForm* main) { main->fsDetection_->ToggleFsHiddenButtonClick(); });
}
