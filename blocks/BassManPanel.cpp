#include "BassManPanel.h"

#include "Configdataunit.h"
#include "DataFiles.h"
#include "DisplayStrip.h"
#include "GainEntry.h"
#include "HandlerGuard.h"
#include "MainWindowHooks.h"
#include "Volumeunit.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <stdexcept>

namespace {

// The diagram's place in the panel; the buttons sit on its points.
constexpr QPoint ImageAt{38, 30};
constexpr int ImageHeight = 276;

struct GainPoint {
    int subAddress;
    const char* button;
    const char* rowName;
    const char* label;
};
// In the order the pictures are set.
const GainPoint GainPoints[8] = {
    {0x49, "BassManCh1toCh8MixButton", "r_ipmix_1_to_Ch8", "Label4"},
    {0x4A, "BassManCh2toCh8MixButton", "r_ipmix_2_to_Ch8", "Label17"},
    {0x4B, "BassManCh7toCh1and2MixButton", "r_ipmix_7_to_Ch01", "Label2"},
    {0x4C, "BassManCh7EQ2BypassButton", "r_Ch7_bp_bq2", "Label19"},
    {0x4D, "BassManCh7EQ2InlineButton", "r_Ch7_bq2", "Label18"},
    {0x4E, "BassManCh8toCh1and2MixButton", "r_ipmix_8_to_Ch01", "Label3"},
    {0x4F, "BassManCh8EQ2BypassButton", "r_Ch8_bp_bq2", "Label20"},
    {0x50, "BassManCh8EQ2InlineButton", "r_Ch8_bq2", "Label21"},
};

// The equaliser stages drawn on the diagram. The equaliser panel offers DAP
// channels 1 to 4; the diagram's channel 7 is DAP channel 3 (gone at the
// high rates, as channel 7 is) and channel 8 is DAP channel 4. A jump opens
// the first biquad of the stage drawn.
struct EqJump {
    const char* name;
    const char* caption;
    int channel, stage; // on the diagram
    int channelItem;    // of the equaliser panel: Ch1, Ch2, Ch3, Ch4
    int biquadItem;     // BQ1 = 0
    bool fourChannelOnly;
};
const EqJump EqJumps[6] = {
    {"EQDAPCh1EQ7BitBtn", "BQ1-7", 1, 0, 0, 0, false}, {"EQDAPCh2EQ7BitBtn", "BQ1-7", 2, 0, 1, 0, false},
    {"EQDAPCh7EQ2BitBtn", "BQ1-2", 7, 0, 2, 0, true},  {"EQDAPCh8EQ2BitBtn", "BQ1-2", 8, 0, 3, 0, false},
    {"EQDAPCh7EQ5BitBtn", "BQ3-7", 7, 1, 2, 2, true},  {"EQDAPCh8EQ5BitBtn", "BQ3-7", 8, 1, 3, 2, false},
};

QString Hex2(int value) {
    return QString("0x%1").arg(QString("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper());
}

QString Stacked(const QString& text) {
    QStringList letters;
    for (QChar c : text)
        letters << QString(c);
    return letters.join('\n');
}

} // namespace

TBassManPanel::TBassManPanel(TConfigDataUnit& table, IGainEntry& gain, IMainWindowHooks& hooks,
                             const DisplayStrip& strip, QString startDirectory, Jumps jumps, QWidget* parent)
    : BlockPanel("PanelBassManagement", "BASS MANAGEMENT CONTROL", parent), table_(table), gain_(gain),
      hooks_(hooks), strip_(strip), startDirectory_(std::move(startDirectory)), jumps_(std::move(jumps)) {
    BuildDiagram();
    BuildJumps();
    BuildOptions();
}

void TBassManPanel::BuildDiagram() {
    image_ = new QLabel(this);
    image_->setObjectName("BassManagementImage");
    image_->setGeometry(QRect(ImageAt, QSize(BassManDiagram::Size.width(), ImageHeight)));
    image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image_->setAccessibleName("Bass management block diagram");

    for (const GainPoint& g : GainPoints) {
        QToolButton* button = MakeMixingPointButton(this, g.button, g.rowName,
                                                    ImageAt + BassManDiagram::GainPoint(g.subAddress));
        points_.push_back({button, g.subAddress, 0, false, g.rowName});
        const int subAddress = g.subAddress;
        ConnectGuarded(button, &QToolButton::clicked, this,
                       [this, subAddress] { GainPointClick(subAddress); });
        auto* label = new QLabel(Hex2(g.subAddress), this);
        label->setObjectName(g.label);
        label->setGeometry(BassManDiagram::GainLabel(g.subAddress).translated(ImageAt));
        label->setAlignment(Qt::AlignCenter);
        fourChannelOnly_.push_back(button);
        fourChannelOnly_.push_back(label);
    }
    int index = 0;
    for (int channel : {1, 2, 7, 8}) {
        auto* label = new QLabel("Other DAP Functions", this);
        label->setObjectName(QString("OtherDapFunctionsLabel%1").arg(++index));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignCenter);
        QFont font = label->font();
        font.setPixelSize(10);
        label->setFont(font);
        label->setGeometry(ImageAt.x() + BassManDiagram::LanesEnd + 2,
                           ImageAt.y() + BassManDiagram::LaneY(channel) - 14,
                           BassManDiagram::Size.width() - BassManDiagram::LanesEnd - 2, 28);
        // Channel 7 is not there at the high rates.
        if (channel == 7)
            fourChannelOnly_.push_back(label);
    }
}

void TBassManPanel::BuildJumps() {
    auto* input = new QPushButton(Stacked("INPUT"), this);
    input->setObjectName("InputMixerBitBtn");
    input->setAccessibleName("Input Mixer");
    input->setToolTip("Input Mixer");
    input->setGeometry(4, ImageAt.y(), 30, ImageHeight);
    auto* output = new QPushButton(Stacked("OUTPUT"), this);
    output->setObjectName("OutputMixerBitBtn");
    output->setAccessibleName("Output Mixer");
    output->setToolTip("Output Mixer");
    output->setGeometry(ImageAt.x() + BassManDiagram::Size.width() + 4, ImageAt.y(), 30, ImageHeight);
    ConnectGuarded(input, &QPushButton::clicked, this, [this] { jumps_.mixer(true); });
    ConnectGuarded(output, &QPushButton::clicked, this, [this] { jumps_.mixer(false); });

    for (const EqJump& j : EqJumps) {
        auto* button = new QPushButton(j.caption, this);
        button->setObjectName(j.name);
        button->setAccessibleName(QString("Ch%1 %2 equaliser").arg(j.channel).arg(j.caption));
        button->setToolTip(
            QString("Equaliser of DAP Ch%1, from BQ%2").arg(j.channelItem + 1).arg(j.biquadItem + 1));
        button->setProperty("role", "small");
        button->setGeometry(BassManDiagram::BiquadBox(j.channel, j.stage).translated(ImageAt));
        const int channelItem = j.channelItem, biquadItem = j.biquadItem;
        ConnectGuarded(button, &QPushButton::clicked, this,
                       [this, channelItem, biquadItem] { jumps_.equaliser(channelItem, biquadItem); });
        if (j.fourChannelOnly)
            fourChannelOnly_.push_back(button);
    }
}

void TBassManPanel::BuildOptions() {
    auto* group = new QGroupBox("Bass Management Options", this);
    group->setObjectName("GroupBox1");
    group->setGeometry(4, 306, 404, 40);
    presets_ = new QComboBox(group);
    presets_->setObjectName("BassMansuiComboBox");
    presets_->setAccessibleName("Bass Management Options");
    presets_->addItems({"Bass Management 1", "Bass Management 2", "Bass Management 3"});
    presets_->setCurrentIndex(-1);
    presets_->setGeometry(6, 15, 140, 22);
    auto* note =
        new QLabel("Each option will reconfigure the device by loading a predefined CFG file", group);
    note->setObjectName("BassManNoteLabel");
    note->setWordWrap(true);
    QFont font = note->font();
    font.setPixelSize(10);
    note->setFont(font);
    note->setGeometry(152, 12, 248, 27);
    // Only the user's choice loads a preset.
    ConnectGuarded(presets_, &QComboBox::activated, this, &TBassManPanel::BassMansuiComboBoxChange);

    auto* legend = new QFrame(this);
    legend->setObjectName("Panel42");
    legend->setGeometry(410, 306, 200, 40);
    legend_ = MakeGainLegend(legend, "BassMan", QPoint(2, 0));
    auto* note23 = new QLabel("Register Address 0xYZ", legend);
    note23->setObjectName("Label23");
    note23->setGeometry(2, 23, 194, 15);
    note23->setAlignment(Qt::AlignCenter);
}

void TBassManPanel::ShowGainIndicators(TGainPictures& pictures) {
    for (const MixingPoint& point : points_)
        ShowGainIndicator(point, table_.GetData(point.subAddress), pictures);
    ShowGainLegend(legend_, pictures);
}

void TBassManPanel::AdjustToSampleRate(bool highRate) {
    for (QWidget* w : fourChannelOnly_)
        w->setVisible(!highRate);
    const char* name = highRate ? ThreeChannelPicture : FourChannelPicture;
    const std::string path = DataFilePath(QFile::encodeName(startDirectory_).toStdString(), name);
    const QString file = QFile::decodeName(QByteArray::fromStdString(path));
    QImageReader reader(file);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        // Say why: a missing JPEG decoder is not a missing file.
        if (!QImageReader::supportedImageFormats().contains("jpeg"))
            throw std::runtime_error("Cannot show " + path +
                                     ": no JPEG decoder (the qjpeg image plugin of libqt6gui6, built on "
                                     "libjpeg-turbo, is not installed)");
        throw std::runtime_error("Cannot read the picture " + path + ": " +
                                 reader.errorString().toStdString());
    }
    image_->setPixmap(QPixmap::fromImage(picture));
}

void TBassManPanel::GainPointClick(int subAddress) {
    const char* rowName = "";
    for (const GainPoint& g : GainPoints)
        if (g.subAddress == subAddress)
            rowName = g.rowName;
    gain_.SetGainLayout(1, false);
    gain_.ClearRowModes();
    gain_.ShowGainWindow(subAddress, 1, {rowName});
    gain_.FocusRow(1);
    hooks_.UpdateGainIndicators();
}

void TBassManPanel::WriteSoftMute(uint8_t value) {
    table_.SetData(TVolume::SoftMuteRegister, std::span<const uint8_t>(&value, 1));
    table_.WriteRegister(TVolume::SoftMuteRegister);
}

void TBassManPanel::BassMansuiComboBoxChange() {
    const int item = presets_->currentIndex();
    const char* name = PresetFiles[item >= 0 && item < 3 ? item : 0];
    const std::string file = DataFilePath(QFile::encodeName(startDirectory_).toStdString(), name);
    WriteSoftMute(0xFF);
    // Whatever goes wrong while the preset is sent, the device must not be
    // left muted: the unmute runs, then the error is shown.
    try {
        const FileReport report = table_.LoadConfigFile(file);
        if (!report.opened)
            strip_.HelpfulCommentsLabel->setText(QString("Error Reading %1").arg(name));
        else if (!report.problems.empty())
            strip_.HelpfulCommentsLabel->setText(
                QString("%1: %2").arg(name, QString::fromStdString(ProblemSummary(report.problems))));
        hooks_.UpdateGainIndicators();
        hooks_.RefreshAll();
    } catch (...) {
        WriteSoftMute(0x00);
        throw;
    }
    WriteSoftMute(0x00);
}
