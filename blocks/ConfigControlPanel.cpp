#include "ConfigControlPanel.h"

#include "Configdataunit.h"
#include "HandlerGuard.h"
#include "Look.h"
#include "RadioGroup.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdio>

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Geometry: the selection on the left, the rate map on the right in two
// halves of four rates, each rate a row with its three banks in columns
// under the bank labels, the notes below.
constexpr int Top = BlockPanel::TitleHeight + 4;
constexpr QRect SelectionPlace{6, Top, 224, 204};
constexpr QRect RateMapPlace{236, Top, 372, 204};
constexpr int RatesPerHalf = 4;
constexpr int HalfLeft[2] = {8, 190};
constexpr int HalfWidth = 174;
constexpr int RateRowTop = 34;
constexpr int RateRowHeight = 42;
constexpr int BankColumnWidth = (HalfWidth - 16) / TConfigControl::BankCount;

constexpr Rgb NoticeColour{255, 170, 60};

struct Note {
    const char* name;
    const char* text;
};

constexpr Note Notes[] = {
    {"ConfigNote1Label", "Note 1: In Manual Bank 1, 2 or 3, each change is sent to that bank. Changes will "
                         "be heard immediately."},
    {"ConfigNote2Label",
     "Note 2: In automatic bank select, the stored bank values are selected automatically based "
     "on the sample rate. Bank values are typically not changed in this mode."},
    {"ConfigNote3Label",
     "Note 3: When Update Bank is selected every change in the GUI is recorded but is not heard "
     "until Automatic Bank or Manual Bank is selected."},
    {"Label22",
     "Note 4: Update Map Only only updates bits D0-D15 of register 0x40. Bits D16-D23 are unchanged."},
};

} // namespace

TConfigControlPanel::TConfigControlPanel(TConfigDataUnit& table, TConfigControl& control,
                                         const DisplayStrip& strip, QWidget* parent)
    : BlockPanel("PanelConfigControl", "BANK SELECTION CONTROL", parent), table_(table), control_(control),
      strip_(strip) {
    BuildSelection();
    BuildRateMap();
    BuildNotes();
}

void TConfigControlPanel::BuildSelection() {
    bankSelectRadioGroup_ = new RadioGroup("BANK SELECTION", this);
    bankSelectRadioGroup_->setObjectName("BankSelectRadioGroup");
    QStringList items;
    for (int item = 0; item < TConfigControl::SelectionCount; ++item)
        items << Text(TConfigControl::SelectionItemText(item));
    bankSelectRadioGroup_->SetItems(items);
    bankSelectRadioGroup_->SetItemIndex(0);
    bankSelectRadioGroup_->setGeometry(SelectionPlace);
    // Connected only now, so the layout's selection sends nothing.
    ConnectGuarded(bankSelectRadioGroup_, &RadioGroup::Click, this,
                   &TConfigControlPanel::BankSelectRadioGroupClick);
}

void TConfigControlPanel::BuildRateMap() {
    using Handler = void (TConfigControlPanel::*)();
    static constexpr std::array<Handler, TConfigControl::RateCount> handlers = {
        &TConfigControlPanel::Bank32kRadioGroupClick,  &TConfigControlPanel::Bank38kRadioGroupClick,
        &TConfigControlPanel::Bank44kRadioGroupClick,  &TConfigControlPanel::Bank48kRadioGroupClick,
        &TConfigControlPanel::Bank88kRadioGroupClick,  &TConfigControlPanel::Bank96kRadioGroupClick,
        &TConfigControlPanel::Bank176kRadioGroupClick, &TConfigControlPanel::Bank192kRadioGroupClick,
    };

    fsToBankGroupBox_ = new QGroupBox("Data Rate to Bank Assignment for Automatic Mode", this);
    fsToBankGroupBox_->setObjectName("FsToBankGroupBox");
    fsToBankGroupBox_->setGeometry(RateMapPlace);

    // The column labels over the left half, and the same over the right.
    for (int half = 0; half < 2; ++half)
        for (int bank = 0; bank < TConfigControl::BankCount; ++bank) {
            auto* label = new QLabel(QString("BANK %1").arg(bank + 1), fsToBankGroupBox_);
            label->setObjectName(QString("Bank%1%2Label").arg(bank + 1).arg(half == 0 ? "" : "Right"));
            label->setGeometry(HalfLeft[half] + 8 + bank * BankColumnWidth, 18, BankColumnWidth, 16);
        }

    for (int rate = 0; rate < TConfigControl::RateCount; ++rate) {
        const QString caption = Text(TConfigControl::RateCaption(rate));
        auto* group = new RadioGroup(caption, fsToBankGroupBox_);
        group->setObjectName(Text(TConfigControl::RateGroupName(rate)));
        group->layout()->setContentsMargins(8, 2, 8, 2);
        group->SetColumns(TConfigControl::BankCount);
        group->SetItems({"1", "2", "3"});
        group->SetItemIndex(0);
        const int half = rate / RatesPerHalf;
        group->setGeometry(HalfLeft[half], RateRowTop + (rate % RatesPerHalf) * RateRowHeight, HalfWidth,
                           RateRowHeight - 2);
        // Eight rows of "1", "2", "3": each button is named after its rate.
        for (QRadioButton* button : group->findChildren<QRadioButton*>())
            button->setAccessibleName(caption + " bank " + button->text());
        rateGroups_[static_cast<size_t>(rate)] = group;
        ConnectGuarded(group, &RadioGroup::Click, this, handlers[static_cast<size_t>(rate)]);
    }
}

void TConfigControlPanel::BuildNotes() {
    noticeLabel_ = new QLabel(this);
    noticeLabel_->setObjectName("BankRegisterNoticeLabel");
    noticeLabel_->setGeometry(8, Top + SelectionPlace.height() + 3, Width - 16, 16);
    SetTextColour(noticeLabel_, NoticeColour);

    auto* notes = new QWidget(this);
    notes->setObjectName("ConfigNotesArea");
    const int top = noticeLabel_->geometry().bottom() + 2;
    notes->setGeometry(8, top, Width - 16, Height - top - 3);
    auto* column = new QVBoxLayout(notes);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    for (const Note& note : Notes) {
        auto* label = new QLabel(note.text, notes);
        label->setObjectName(note.name);
        label->setWordWrap(true);
        QFont font = label->font();
        font.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() * 0.9 : 8);
        label->setFont(font);
        column->addWidget(label);
    }
}

int TConfigControlPanel::SelectionItem() const {
    return bankSelectRadioGroup_->ItemIndex();
}

TConfigControl::RateItems TConfigControlPanel::RateItems() const {
    TConfigControl::RateItems items{};
    for (size_t rate = 0; rate < items.size(); ++rate)
        items[rate] = rateGroups_[rate]->ItemIndex();
    return items;
}

void TConfigControlPanel::BankAction() {
    const int item = SelectionItem();
    strip_.LabelBankAutoMan->setText(Text(TConfigControl::BankModeText(item)));
    SetTextColour(strip_.LabelBankAutoMan, TConfigControl::BankModeColour(item));
    strip_.LabelBankSelected->setText(Text(TConfigControl::BankNumberText(item)));
    control_.WriteBankControl(item, RateItems());
    table_.WriteRegister(TConfigControl::BankRegister);
    ShowRegisterNotice();
}

void TConfigControlPanel::ShowRegisterNotice() {
    const auto held = control_.DifferingRegister(SelectionItem(), RateItems());
    if (!held) {
        noticeLabel_->clear();
        return;
    }
    char bytes[16];
    std::snprintf(bytes, sizeof bytes, "%02x %02x %02x %02x", (*held)[0], (*held)[1], (*held)[2], (*held)[3]);
    noticeLabel_->setText(QString("Device bank register differs from this panel: ") + bytes);
}

void TConfigControlPanel::BankSelectRadioGroupClick() {
    BankAction();
}
void TConfigControlPanel::Bank32kRadioGroupClick() {
    BankAction();
}
void TConfigControlPanel::Bank38kRadioGroupClick() {
    BankAction();
}
void TConfigControlPanel::Bank44kRadioGroupClick() {
    BankAction();
}
void TConfigControlPanel::Bank48kRadioGroupClick() {
    BankAction();
}
void TConfigControlPanel::Bank88kRadioGroupClick() {
    BankAction();
}
void TConfigControlPanel::Bank96kRadioGroupClick() {
    BankAction();
}
void TConfigControlPanel::Bank176kRadioGroupClick() {
    BankAction();
}
void TConfigControlPanel::Bank192kRadioGroupClick() {
    BankAction();
}
