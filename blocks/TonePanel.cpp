#include "TonePanel.h"

#include "Configdataunit.h"
#include "HandlerGuard.h"
#include "MainWindowHooks.h"
#include "Placement.h"
#include "Toneunit.h"
#include "TrackBar.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

namespace {

constexpr int PageSize = 10;
constexpr int TickEvery = 1;

// Row 1: the level groups and the filter sets; row 2: the channel notes;
// row 3: the inline/bypass buttons.
constexpr int Row1Top = BlockPanel::TitleHeight + 4;
constexpr int Row1Height = 222;
constexpr int Row2Top = Row1Top + Row1Height + 4;
constexpr int Row2Height = 44;
constexpr int Row3Top = Row2Top + Row2Height + 6;
constexpr int GroupWidth = 196;
constexpr int GroupPitch = 202;

QFrame* AddPanel(QWidget* parent, const QString& name, const QRect& place) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(place);
    return panel;
}

// The zero buttons' picture: two arrows closing on the 0 dB line.
QIcon ZeroMarkIcon() {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(15, 27, 51), 2));
    painter.drawLine(1, 8, 15, 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 90, 200));
    painter.drawPolygon(QPolygon({{4, 1}, {12, 1}, {8, 6}}));
    painter.drawPolygon(QPolygon({{4, 15}, {12, 15}, {8, 10}}));
    return QIcon(picture);
}

} // namespace

TTonePanel::TTonePanel(TConfigDataUnit& table, TTone& tone, IMainWindowHooks& hooks, QWidget* parent)
    : BlockPanel("PanelTone", "TONE CONTROL", parent), table_(table), tone_(tone), hooks_(hooks) {
    BuildLevels();
    BuildFilterSets();
    BuildNotes();
    BuildSwitches();
    AdjustToSampleRate(false);
    for (QFrame* blank : blankPanels_)
        blank->hide();
}

void TTonePanel::BuildLevels() {
    using Handler = void (TTonePanel::*)();
    struct LevelDefinition {
        const char* kind; // "Bass", "Treble": the stem of the control names
        int number;       // 1 or 2
        int subAddress;
        const char* valueLabel;
        Handler trackBarChange, scrollBarChange, zeroClick;
    };
    static constexpr std::array<LevelDefinition, LevelCount> definitions = {{
        {"Bass", 1, TTone::BassLevelRegister, "ToneValueLabel1", &TTonePanel::BassToneTrackBar1Change,
         &TTonePanel::BassTonesuiScrollBar1Change, &TTonePanel::BassToneZerosuiButton1Click},
        {"Bass", 2, TTone::BassLevelRegister, "ToneValueLabel2", &TTonePanel::BassToneTrackBar2Change,
         &TTonePanel::BassTonesuiScrollBar2Change, &TTonePanel::BassToneZerosuiButton2Click},
        {"Treble", 1, TTone::TrebleLevelRegister, "ToneValueLabel3", &TTonePanel::TrebleToneTrackBar1Change,
         &TTonePanel::TrebleTonesuiScrollBar1Change, &TTonePanel::TrebleToneZerosuiButton1Click},
        {"Treble", 2, TTone::TrebleLevelRegister, "ToneValueLabel4", &TTonePanel::TrebleToneTrackBar2Change,
         &TTonePanel::TrebleTonesuiScrollBar2Change, &TTonePanel::TrebleToneZerosuiButton2Click},
    }};
    const QIcon zeroIcon = ZeroMarkIcon();

    std::array<QGroupBox*, 2> groups{};
    for (int kind = 0; kind < 2; ++kind) {
        groups[static_cast<size_t>(kind)] = new QGroupBox(kind == 0 ? "BASS" : "TREBLE", this);
        groups[static_cast<size_t>(kind)]->setObjectName(kind == 0 ? "BassLevelGroupBox"
                                                                   : "TrebleLevelGroupBox");
        groups[static_cast<size_t>(kind)]->setGeometry(6 + kind * GroupPitch, Row1Top, GroupWidth,
                                                       Row1Height);
    }

    for (int i = 0; i < LevelCount; ++i) {
        const LevelDefinition& d = definitions[static_cast<size_t>(i)];
        const QString kind = d.kind;
        const QString number = QString::number(d.number);
        Level& level = levels_[static_cast<size_t>(i)];
        level.subAddress = d.subAddress;
        level.control = d.number;
        QGroupBox* group = groups[static_cast<size_t>(i / 2)];

        QFrame* panel = AddPanel(group, kind + "TonePanel" + number, {6 + (d.number - 1) * 96, 20, 88, 196});
        PlaceLabel(panel, "DAP", {2, 3, 30, 16}, Qt::AlignCenter);
        PlaceLabel(panel, "Ch", {30, 3, 20, 16}, Qt::AlignCenter);
        QLabel* channels = PlaceLabel(panel, d.number == 1 ? "4" : "1,2,3", {50, 3, 36, 16}, Qt::AlignLeft);
        if (d.number == 2) {
            channels->setObjectName(kind + "NumLabel2");
            numLabels2_[static_cast<size_t>(i / 2)] = channels;
        }
        const QString controlName = kind + " level DAP Ch " + (d.number == 1 ? "4" : "1,2,3");

        PlaceLabel(panel, "18", {0, 22, 22, 14}, Qt::AlignRight | Qt::AlignTop);
        PlaceLabel(panel, "-18", {0, 138, 22, 14}, Qt::AlignRight | Qt::AlignBottom);
        level.trackBar = new TrackBar(0, TTone::MaxLevel, PageSize, TickEvery, TTone::ZeroDbLevel, panel);
        level.trackBar->setObjectName(kind + "ToneTrackBar" + number);
        level.trackBar->setGeometry(24, 22, 30, 130);
        level.trackBar->setAccessibleName(controlName);

        level.scrollBar = new QScrollBar(Qt::Vertical, panel);
        level.scrollBar->setObjectName(kind + "TonesuiScrollBar" + number);
        level.scrollBar->setRange(0, TTone::MaxLevel);
        level.scrollBar->setSingleStep(1);
        level.scrollBar->setPageStep(PageSize);
        level.scrollBar->setValue(TTone::ZeroDbLevel);
        level.scrollBar->setGeometry(60, 22, 16, 130);
        level.scrollBar->setAccessibleName(controlName + " fine");

        level.valueLabel = PlaceLabel(panel, "0.00", {2, 154, 84, 16}, Qt::AlignCenter);
        level.valueLabel->setObjectName(d.valueLabel);
        level.valueLabel->setAccessibleName(controlName + " in dB");

        level.zeroButton = new QPushButton(panel);
        level.zeroButton->setObjectName(kind + "ToneZerosuiButton" + number);
        level.zeroButton->setIcon(zeroIcon);
        level.zeroButton->setGeometry(30, 172, 28, 20);
        level.zeroButton->setAccessibleName(controlName + " to 0 dB");

        ConnectGuarded(level.trackBar, &TrackBar::Change, this, d.trackBarChange);
        ConnectGuarded(level.scrollBar, &QScrollBar::valueChanged, this, d.scrollBarChange);
        ConnectGuarded(level.zeroButton, &QPushButton::clicked, this, d.zeroClick);
    }
}

void TTonePanel::BuildFilterSets() {
    using Handler = void (TTonePanel::*)();
    struct BoxDefinition {
        const char* name;
        Handler change;
    };
    static constexpr std::array<std::array<BoxDefinition, 2>, 2> boxes = {{
        {{{"BassFilterSet1suiComboBox", &TTonePanel::BassFilterSet1suiComboBoxChange},
          {"BassFilterSet2suiComboBox", &TTonePanel::BassFilterSet2suiComboBoxChange}}},
        {{{"TrebleFilterSet1suiComboBox", &TTonePanel::TrebleFilterSet1suiComboBoxChange},
          {"TrebleFilterSet2suiComboBox", &TTonePanel::TrebleFilterSet2suiComboBoxChange}}},
    }};
    auto* outer = new QGroupBox("FILTER SETS", this);
    outer->setObjectName("FilterSetsGroupBox");
    outer->setGeometry(6 + 2 * GroupPitch, Row1Top, 198, Row1Height);

    for (int kind = 0; kind < 2; ++kind) {
        const QString kindName = kind == 0 ? "Bass" : "Treble";
        FilterSets& sets = filterSets_[static_cast<size_t>(kind)];
        sets.subAddress = kind == 0 ? TTone::BassFilterSetRegister : TTone::TrebleFilterSetRegister;
        auto* group = new QGroupBox(kind == 0 ? "BASS" : "TREBLE", outer);
        group->setObjectName(kindName + "FilterSetGroupBox");
        group->setGeometry(8, 22 + kind * 98, 182, 90);
        for (int box = 0; box < 2; ++box) {
            const int y = 24 + box * 32;
            QLabel* label = PlaceLabel(group, box == 0 ? "DAP Ch 4" : "DAP Ch 1,2,3", {8, y, 96, 22},
                                       Qt::AlignLeft | Qt::AlignVCenter);
            auto* combo = new QComboBox(group);
            combo->setObjectName(boxes[static_cast<size_t>(kind)][static_cast<size_t>(box)].name);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            for (int set = 1; set <= TTone::FilterSetCount; ++set)
                combo->addItem(QString::number(set));
            combo->setCurrentIndex(-1);
            combo->setEditText("2");
            combo->setGeometry(108, y, 62, 22);
            label->setBuddy(combo);
            combo->setAccessibleName(kindName + " filter set " + label->text());
            combo->lineEdit()->setAccessibleName(combo->accessibleName() + " text");
            (box == 0 ? sets.set1 : sets.set2) = combo;
            if (box == 1) {
                label->setObjectName(kindName + "FilterSet2Label");
                sets.set2Label = label;
            }
            const Handler change = boxes[static_cast<size_t>(kind)][static_cast<size_t>(box)].change;
            // A choice from the list or any typing counts; an item set by the
            // program does not.
            ConnectGuarded(combo, &QComboBox::activated, this, change);
            ConnectGuarded(combo->lineEdit(), &QLineEdit::textEdited, this, change);
        }
    }
}

void TTonePanel::BuildNotes() {
    for (int kind = 0; kind < 2; ++kind) {
        QFrame* blank = AddPanel(this, kind == 0 ? "BassBlankPanel" : "TrebleBlankPanel",
                                 {6 + kind * GroupPitch, Row2Top, GroupWidth, Row2Height});
        PlaceLabel(blank, "DAP Channel", {4, 3, 120, 18}, Qt::AlignRight | Qt::AlignVCenter);
        PlaceLabel(blank, "3", {128, 3, 40, 18}, Qt::AlignLeft | Qt::AlignVCenter);
        PlaceLabel(blank, "Not Available", {4, 22, 100, 18}, Qt::AlignRight | Qt::AlignVCenter);
        PlaceLabel(blank, "for Fs > 96K", {108, 22, 84, 18}, Qt::AlignLeft | Qt::AlignVCenter);
        blankPanels_[static_cast<size_t>(kind)] = blank;
    }
    const QRect notes(6 + 2 * GroupPitch, Row2Top, 198, Row2Height);
    panelLessThan96K_ = AddPanel(this, "PanelLessThan96K", notes);
    PlaceLabel(panelLessThan96K_, "DAP Ch 4 = Sub", {4, 3, 190, 18}, Qt::AlignCenter);
    PlaceLabel(panelLessThan96K_, "DAP Ch 1,2,3 = L,R,C", {4, 22, 190, 18}, Qt::AlignCenter);
    panelGreaterThan96K_ = AddPanel(this, "PanelGreaterThan96K", notes);
    PlaceLabel(panelGreaterThan96K_, "DAP Ch 4 = Sub", {4, 3, 190, 18}, Qt::AlignCenter);
    PlaceLabel(panelGreaterThan96K_, "DAP Ch 1,2 = L,R", {4, 22, 190, 18}, Qt::AlignCenter);
}

void TTonePanel::BuildSwitches() {
    using Handler = void (TTonePanel::*)();
    struct SwitchDefinition {
        const char* name;
        const char* channels;
        const char* hint;
        Handler click;
    };
    static constexpr std::array<SwitchDefinition, 2> definitions = {{
        {"BassTonesuiButton1", "Ch 8", "Ch 8: OFF= Tone Bypassed, ON=Tone Active",
         &TTonePanel::BassTonesuiButton1Click},
        {"BassTonesuiButton2", "Ch 1,2,7", "Ch 1,2,7: OFF= Tone Bypassed, ON=Tone Active",
         &TTonePanel::BassTonesuiButton2Click},
    }};
    PlaceLabel(this, "Bass and Treble Select (Inline/Bypass) >>", {6, Row3Top, 270, 24},
               Qt::AlignRight | Qt::AlignVCenter);
    for (int i = 0; i < 2; ++i) {
        const SwitchDefinition& d = definitions[static_cast<size_t>(i)];
        const int x = 284 + i * 164;
        // Which channels a button switches, beside it (the hint says it too).
        PlaceLabel(this, d.channels, {x, Row3Top, 56, 24}, Qt::AlignRight | Qt::AlignVCenter);
        auto* button = new QPushButton("OFF", this);
        button->setObjectName(d.name);
        button->setToolTip(d.hint);
        button->setAccessibleName(QString(d.channels) + " tone");
        button->setGeometry(x + 62, Row3Top, 90, 24);
        switches_[static_cast<size_t>(i)] = button;
        ConnectGuarded(button, &QPushButton::clicked, this, d.click);
    }
}

void TTonePanel::AdjustToSampleRate(bool highRate) {
    for (QLabel* label : numLabels2_)
        label->setText(highRate ? "1,2" : "1,2,3");
    for (const FilterSets& sets : filterSets_) {
        sets.set2Label->setText(highRate ? "DAP Ch 1,2" : "DAP Ch 1,2,3");
        sets.set2->setAccessibleName(
            QString(sets.subAddress == TTone::BassFilterSetRegister ? "Bass" : "Treble") + " filter set " +
            sets.set2Label->text());
        sets.set2->lineEdit()->setAccessibleName(sets.set2->accessibleName() + " text");
    }
    panelGreaterThan96K_->setVisible(highRate);
    panelLessThan96K_->setVisible(!highRate);
    for (QFrame* blank : blankPanels_)
        blank->setVisible(highRate);
}

void TTonePanel::RefreshTone() {
    for (const FilterSets& sets : filterSets_) {
        sets.set1->setCurrentIndex(tone_.ReadFilterSet(sets.subAddress, TTone::Control1Byte));
        sets.set2->setCurrentIndex(tone_.ReadFilterSet(sets.subAddress, TTone::Control2Byte));
    }
    for (const Level& level : levels_)
        level.trackBar->SetPosition(tone_.ReadToneLevel(
            level.subAddress, level.control == 1 ? TTone::Control1Byte : TTone::Control2Byte));
}

void TTonePanel::WriteLevel(int level) {
    const Level& l = levels_[static_cast<size_t>(level)];
    // The two controls of a kind sit next to each other in the table.
    const Level& first = levels_[static_cast<size_t>(level - (l.control - 1))];
    const Level& second = levels_[static_cast<size_t>(level + (2 - l.control))];
    l.valueLabel->setText(QString::fromStdString(TTone::ToneLevelLabel(l.trackBar->Position())));
    tone_.WriteToneLevel(l.subAddress, l.control, first.trackBar->Position(), second.trackBar->Position());
    table_.WriteRegister(l.subAddress);
}

void TTonePanel::TrackBarChange(int level) {
    const Level& l = levels_[static_cast<size_t>(level)];
    l.valueLabel->setText(QString::fromStdString(TTone::ToneLevelLabel(l.trackBar->Position())));
    // The partner's own change handling runs when it really moves.
    l.scrollBar->setValue(l.trackBar->Position());
    WriteLevel(level);
}

void TTonePanel::ScrollBarChange(int level) {
    const Level& l = levels_[static_cast<size_t>(level)];
    l.trackBar->SetPosition(l.scrollBar->value());
    WriteLevel(level);
}

void TTonePanel::ZeroButtonClick(int level) {
    levels_[static_cast<size_t>(level)].trackBar->SetPosition(TTone::ZeroDbLevel);
    WriteLevel(level);
}

// The item a filter-set box stands for: the chosen item while the box shows
// its text, none (-1) once other text has been typed in.
static int ChosenItem(const QComboBox* box) {
    const int item = box->currentIndex();
    return item >= 0 && box->currentText() == box->itemText(item) ? item : -1;
}

void TTonePanel::FilterSetChange(int kind) {
    const FilterSets& sets = filterSets_[static_cast<size_t>(kind)];
    tone_.WriteFilterSets(sets.subAddress, ChosenItem(sets.set1), ChosenItem(sets.set2));
    table_.WriteRegister(sets.subAddress);
}

void TTonePanel::SwitchClick(int button) {
    bool& on = switchOn_[static_cast<size_t>(button)];
    on = !on;
    QPushButton* b = switches_[static_cast<size_t>(button)];
    b->setText(on ? "ON" : "OFF");
    // Register 0x90 is channel 8's tone stage; 0x89, 0x8A, 0x8F those of
    // channels 1, 2 and 7.
    static constexpr std::array<std::array<int, 3>, 2> registers = {{{0x90, -1, -1}, {0x89, 0x8A, 0x8F}}};
    for (int subAddress : registers[static_cast<size_t>(button)]) {
        if (subAddress < 0)
            continue;
        tone_.WriteToneSwitch(subAddress, on);
        table_.WriteRegister(subAddress);
    }
    // The mixer and bass-management pictures show the tone stages too.
    hooks_.UpdateGainIndicators();
}

void TTonePanel::BassFilterSet1suiComboBoxChange() {
    FilterSetChange(0);
}
void TTonePanel::BassFilterSet2suiComboBoxChange() {
    FilterSetChange(0);
}
void TTonePanel::TrebleFilterSet1suiComboBoxChange() {
    FilterSetChange(1);
}
void TTonePanel::TrebleFilterSet2suiComboBoxChange() {
    FilterSetChange(1);
}

void TTonePanel::BassToneTrackBar1Change() {
    TrackBarChange(0);
}
void TTonePanel::BassToneTrackBar2Change() {
    TrackBarChange(1);
}
void TTonePanel::TrebleToneTrackBar1Change() {
    TrackBarChange(2);
}
void TTonePanel::TrebleToneTrackBar2Change() {
    TrackBarChange(3);
}
void TTonePanel::BassTonesuiScrollBar1Change() {
    ScrollBarChange(0);
}
void TTonePanel::BassTonesuiScrollBar2Change() {
    ScrollBarChange(1);
}
void TTonePanel::TrebleTonesuiScrollBar1Change() {
    ScrollBarChange(2);
}
void TTonePanel::TrebleTonesuiScrollBar2Change() {
    ScrollBarChange(3);
}
void TTonePanel::BassToneZerosuiButton1Click() {
    ZeroButtonClick(0);
}
void TTonePanel::BassToneZerosuiButton2Click() {
    ZeroButtonClick(1);
}
void TTonePanel::TrebleToneZerosuiButton1Click() {
    ZeroButtonClick(2);
}
void TTonePanel::TrebleToneZerosuiButton2Click() {
    ZeroButtonClick(3);
}

void TTonePanel::BassTonesuiButton1Click() {
    SwitchClick(0);
}
void TTonePanel::BassTonesuiButton2Click() {
    SwitchClick(1);
}
