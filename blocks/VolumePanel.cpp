#include "VolumePanel.h"

#include "Configdataunit.h"
#include "HandlerGuard.h"
#include "MainWindowHooks.h"
#include "Placement.h"
#include "TrackBar.h"
#include "UpDown.h"
#include "Volumeunit.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

// Geometry of a column inside the panel, and of the controls inside a column.
constexpr int ColumnLeft = 6;
constexpr int ColumnPitch = 121;
constexpr int ColumnTop = BlockPanel::TitleHeight + 4;
constexpr int ColumnWidth = 116;
constexpr int ColumnHeight = BlockPanel::Height - ColumnTop - 6;

constexpr int TrackBarPageSize = 12;
constexpr int TrackBarTickFrequency = 20;

} // namespace

TVolumePanel::TVolumePanel(TConfigDataUnit& table, TVolume& volume, const DisplayStrip& strip,
                           IMainWindowHooks& hooks, QWidget* parent)
    : BlockPanel("PanelVolume", "VOLUME CONTROL", parent), table_(table), volume_(volume), strip_(strip),
      hooks_(hooks) {
    TitleLabel()->setObjectName("LabelVolumeControl");
    BuildColumns();
    ConnectGuarded(strip_.MainMasterUpDown, &UpDown::Click, this, &TVolumePanel::MainMasterUpDownClick);
}

void TVolumePanel::BuildColumns() {
    using Handler = void (TVolumePanel::*)();
    struct ColumnDefinition {
        const char* name; // "Master", "Ch1": the stem of every control name
        const char* caption;
        int subAddress;
        Handler trackBarChange, zeroClick, muteClick, muteBoxClick, upDownClick;
    };
    static constexpr std::array<ColumnDefinition, ColumnCount> definitions = {{
        {"Master", "MASTER", TVolume::MasterRegister, &TVolumePanel::MasterVTrackBarChange,
         &TVolumePanel::MasterVZerosuiButtonClick, &TVolumePanel::MasterVMutesuiButtonClick,
         &TVolumePanel::MasterVMuteCheckBoxClick, &TVolumePanel::MasterUpDownVolumeClick},
        {"Ch1", "DAP 1", 0xD1, &TVolumePanel::Ch1VTrackBarChange, &TVolumePanel::Ch1VZerosuiButtonClick,
         &TVolumePanel::Ch1VMutesuiButtonClick, &TVolumePanel::Ch1VMuteCheckBoxClick,
         &TVolumePanel::Ch1UpDownVolumeClick},
        {"Ch2", "DAP 2", 0xD2, &TVolumePanel::Ch2VTrackBarChange, &TVolumePanel::Ch2VZerosuiButtonClick,
         &TVolumePanel::Ch2VMutesuiButtonClick, &TVolumePanel::Ch2VMuteCheckBoxClick,
         &TVolumePanel::Ch2UpDownVolumeClick},
        {"Ch3", "DAP 3", 0xD7, &TVolumePanel::Ch3VTrackBarChange, &TVolumePanel::Ch3VZerosuiButtonClick,
         &TVolumePanel::Ch3VMutesuiButtonClick, &TVolumePanel::Ch3VMuteCheckBoxClick,
         &TVolumePanel::Ch3UpDownVolumeClick},
        {"Ch4", "DAP 4", 0xD8, &TVolumePanel::Ch4VTrackBarChange, &TVolumePanel::Ch4VZerosuiButtonClick,
         &TVolumePanel::Ch4VMutesuiButtonClick, &TVolumePanel::Ch4VMuteCheckBoxClick,
         &TVolumePanel::Ch4UpDownVolumeClick},
    }};

    for (int i = 0; i < ColumnCount; ++i) {
        const ColumnDefinition& definition = definitions[static_cast<size_t>(i)];
        const QString stem = definition.name;
        Column& column = columns_[static_cast<size_t>(i)];
        column.subAddress = definition.subAddress;

        column.panel = new QFrame(this);
        column.panel->setObjectName("Vol" + stem + "Panel");
        column.panel->setFrameShape(QFrame::Panel);
        column.panel->setGeometry(ColumnLeft + i * ColumnPitch, ColumnTop, ColumnWidth, ColumnHeight);

        PlaceLabel(column.panel, definition.caption, {4, 4, ColumnWidth - 8, 16}, Qt::AlignCenter);
        PlaceLabel(column.panel, "18", {2, 24, 30, 16}, Qt::AlignRight | Qt::AlignTop);
        PlaceLabel(column.panel, "-127", {2, 194, 30, 16}, Qt::AlignRight | Qt::AlignBottom);

        column.trackBar = new TrackBar(0, TVolume::MaxStep, TrackBarPageSize, TrackBarTickFrequency,
                                       TVolume::DesignedStep, column.panel);
        column.trackBar->setObjectName(stem + "VTrackBar");
        // Five columns of alike controls: each is named after its column.
        const QString caption = definition.caption;
        column.trackBar->setAccessibleName(caption + " volume");
        column.trackBar->setGeometry(36, 24, 34, 186);

        column.upDown = new UpDown(0, TVolume::MaxStep, -1, column.panel);
        column.upDown->setObjectName(stem + "UpDownVolume");
        column.upDown->SetAccessibleNames(caption + " volume");
        column.upDown->SetPosition(TVolume::DesignedStep);
        column.upDown->setGeometry(76, 100, 20, 34);

        column.dBLabel = PlaceLabel(column.panel, "0.0 dB", {4, 214, ColumnWidth - 8, 18}, Qt::AlignCenter);
        column.dBLabel->setObjectName(stem + "VdBLabel");

        column.zeroButton = new QPushButton("0 dB", column.panel);
        column.zeroButton->setObjectName(stem + "VZerosuiButton");
        column.zeroButton->setAccessibleName(caption + " 0 dB");
        column.zeroButton->setGeometry(4, 238, 52, 22);

        column.muteButton = new QPushButton("mute", column.panel);
        column.muteButton->setObjectName(stem + "VMutesuiButton");
        column.muteButton->setAccessibleName(caption + " mute");
        column.muteButton->setGeometry(ColumnWidth - 56, 238, 52, 22);

        column.muteCheckBox = new QCheckBox("mute", column.panel);
        column.muteCheckBox->setObjectName(stem + "VMuteCheckBox");
        column.muteCheckBox->setAccessibleName(caption + " soft mute");
        column.muteCheckBox->setGeometry(30, 268, 64, 20);

        ConnectGuarded(column.trackBar, &TrackBar::Change, this, definition.trackBarChange);
        ConnectGuarded(column.zeroButton, &QPushButton::clicked, this, definition.zeroClick);
        ConnectGuarded(column.muteButton, &QPushButton::clicked, this, definition.muteClick);
        ConnectGuarded(column.muteCheckBox, &QCheckBox::clicked, this, definition.muteBoxClick);
        ConnectGuarded(column.upDown, &UpDown::Click, this, definition.upDownClick);
    }

    const QFrame* ch3 = columns_[3].panel;
    blankVolumePanel_ = new QLabel("Channel 3 Vol. Not available at Fs>96K", this);
    blankVolumePanel_->setObjectName("BlankVolumePanel");
    blankVolumePanel_->setFrameShape(QFrame::Panel);
    blankVolumePanel_->setAlignment(Qt::AlignCenter);
    blankVolumePanel_->setWordWrap(true);
    blankVolumePanel_->setGeometry(ch3->geometry());
    blankVolumePanel_->hide();
}

void TVolumePanel::ShowVolume(int step, QLabel* label) {
    label->setText(QString::fromStdString(TVolume::VolumeText(step)));
}

void TVolumePanel::TrackBarChange(int column) {
    const Column& c = columns_[static_cast<size_t>(column)];
    const int position = c.trackBar->Position();
    ShowVolume(position, c.dBLabel);
    if (column == Master)
        ShowVolume(position, strip_.LabelVolumeUnits);
    c.upDown->SetPosition(position);
    if (column == Master)
        strip_.MainMasterUpDown->SetPosition(position);
    volume_.SetVolumeStep(c.subAddress, position);
    table_.WriteRegister(c.subAddress);
}

void TVolumePanel::ZeroButtonClick(int column) {
    const Column& c = columns_[static_cast<size_t>(column)];
    c.trackBar->SetPosition(TVolume::ZeroDbStep);
    ShowVolume(TVolume::ZeroDbStep, c.dBLabel);
    volume_.SetVolumeStep(c.subAddress, TVolume::ZeroDbStep);
    table_.WriteRegister(c.subAddress);
}

void TVolumePanel::MuteButtonClick(int column) {
    const Column& c = columns_[static_cast<size_t>(column)];
    ShowVolume(TVolume::MuteValue, c.dBLabel);
    volume_.SetVolumeStep(c.subAddress, TVolume::MuteValue);
    // The master is sent before the refresh clamps it; a channel after.
    if (column == Master) {
        table_.WriteRegister(c.subAddress);
        hooks_.RefreshAll();
    } else {
        hooks_.RefreshAll();
        table_.WriteRegister(c.subAddress);
    }
}

void TVolumePanel::ChannelMuteCheckBoxClick(int channel) {
    const Column& c = columns_[static_cast<size_t>(channel)];
    const bool muted = c.muteCheckBox->isChecked();
    if (muted)
        ShowVolume(TVolume::MuteValue, c.dBLabel);
    else
        ShowVolume(c.trackBar->Position(), c.dBLabel);
    volume_.ApplyChannelMute(channel, muted);
}

void TVolumePanel::UpDownClick(int column) {
    const Column& c = columns_[static_cast<size_t>(column)];
    const int position = c.upDown->Position();
    c.trackBar->SetPosition(position);
    ShowVolume(position, c.dBLabel);
    volume_.SetVolumeStep(c.subAddress, position);
    if (column == Master)
        strip_.MainMasterUpDown->SetPosition(position);
}

void TVolumePanel::MainMasterUpDownClick() {
    const Column& master = columns_[Master];
    const int position = strip_.MainMasterUpDown->Position();
    master.upDown->SetPosition(position);
    master.trackBar->SetPosition(position);
    ShowVolume(position, master.dBLabel);
    ShowVolume(position, strip_.LabelVolumeUnits);
    volume_.SetVolumeStep(master.subAddress, position);
    hooks_.RefreshAll();
}

void TVolumePanel::MasterVMuteCheckBoxClick() {
    const bool muted = columns_[Master].muteCheckBox->isChecked();
    if (muted)
        ShowVolume(TVolume::MuteValue, columns_[Master].dBLabel);
    else
        TrackBarChange(Master);
    for (int channel = 1; channel < ColumnCount; ++channel)
        columns_[static_cast<size_t>(channel)].muteCheckBox->setChecked(muted);
    for (int channel = 1; channel < ColumnCount; ++channel)
        ChannelMuteCheckBoxClick(channel);
}

void TVolumePanel::RefreshVolume() {
    for (const Column& c : columns_)
        c.trackBar->SetPosition(volume_.GetVolumeStep(c.subAddress));
    ShowMuteBoxes();
}

void TVolumePanel::ShowMuteBoxes() {
    const TVolume::MuteStates states = volume_.GetMuteStates();
    columns_[Master].muteCheckBox->setChecked(states.master);
    for (int channel = 1; channel < ColumnCount; ++channel)
        columns_[static_cast<size_t>(channel)].muteCheckBox->setChecked(
            states.channel[static_cast<size_t>(channel - 1)]);
}

void TVolumePanel::AdjustToSampleRate(bool highRate) {
    for (int column : {1, 2, 4})
        columns_[static_cast<size_t>(column)].panel->show();
    columns_[3].panel->setVisible(!highRate);
    blankVolumePanel_->setVisible(highRate);
}

void TVolumePanel::MasterVTrackBarChange() {
    TrackBarChange(Master);
}
void TVolumePanel::Ch1VTrackBarChange() {
    TrackBarChange(1);
}
void TVolumePanel::Ch2VTrackBarChange() {
    TrackBarChange(2);
}
void TVolumePanel::Ch3VTrackBarChange() {
    TrackBarChange(3);
}
void TVolumePanel::Ch4VTrackBarChange() {
    TrackBarChange(4);
}

void TVolumePanel::MasterVZerosuiButtonClick() {
    ZeroButtonClick(Master);
}
void TVolumePanel::Ch1VZerosuiButtonClick() {
    ZeroButtonClick(1);
}
void TVolumePanel::Ch2VZerosuiButtonClick() {
    ZeroButtonClick(2);
}
void TVolumePanel::Ch3VZerosuiButtonClick() {
    ZeroButtonClick(3);
}
void TVolumePanel::Ch4VZerosuiButtonClick() {
    ZeroButtonClick(4);
}

void TVolumePanel::MasterVMutesuiButtonClick() {
    MuteButtonClick(Master);
}
void TVolumePanel::Ch1VMutesuiButtonClick() {
    MuteButtonClick(1);
}
void TVolumePanel::Ch2VMutesuiButtonClick() {
    MuteButtonClick(2);
}
void TVolumePanel::Ch3VMutesuiButtonClick() {
    MuteButtonClick(3);
}
void TVolumePanel::Ch4VMutesuiButtonClick() {
    MuteButtonClick(4);
}

void TVolumePanel::Ch1VMuteCheckBoxClick() {
    ChannelMuteCheckBoxClick(1);
}
void TVolumePanel::Ch2VMuteCheckBoxClick() {
    ChannelMuteCheckBoxClick(2);
}
void TVolumePanel::Ch3VMuteCheckBoxClick() {
    ChannelMuteCheckBoxClick(3);
}
void TVolumePanel::Ch4VMuteCheckBoxClick() {
    ChannelMuteCheckBoxClick(4);
}

void TVolumePanel::MasterUpDownVolumeClick() {
    UpDownClick(Master);
}
void TVolumePanel::Ch1UpDownVolumeClick() {
    UpDownClick(1);
}
void TVolumePanel::Ch2UpDownVolumeClick() {
    UpDownClick(2);
}
void TVolumePanel::Ch3UpDownVolumeClick() {
    UpDownClick(3);
}
void TVolumePanel::Ch4UpDownVolumeClick() {
    UpDownClick(4);
}
