#include "ClockPanel.h"

#include "Configdataunit.h"
#include "Dataclocksunit.h"
#include "HandlerGuard.h"
#include "RadioGroup.h"

#include <QLabel>

namespace {

constexpr int DesignedFormatItem = 1;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TClockControlPanel::TClockControlPanel(TConfigDataUnit& table, TDataClocks& clocks, const DisplayStrip& strip,
                                       QWidget* parent)
    : BlockPanel("PanelClockControl", "SERIAL INTERFACE & CLOCK CONTROL", parent), table_(table),
      clocks_(clocks), strip_(strip),
      serialFormatRadioGroup_(new RadioGroup("SERIAL FORMAT (Address 0x0E)", this)) {
    serialFormatRadioGroup_->setObjectName("SerialFormatRadioGroup");
    QStringList items;
    for (int item = 0; item < TDataClocks::FormatCount; ++item)
        items << Text(TDataClocks::FormatItemText(item));
    serialFormatRadioGroup_->SetItems(items);
    serialFormatRadioGroup_->SetItemIndex(DesignedFormatItem);
    serialFormatRadioGroup_->setGeometry(150, TitleHeight + 24, 314, 250);
    // Connected only now, so setting the designed item sends nothing.
    ConnectGuarded(serialFormatRadioGroup_, &RadioGroup::Click, this,
                   &TClockControlPanel::SerialFormatRadioGroupClick);
}

void TClockControlPanel::ShowFormatLabels() {
    const int item = serialFormatRadioGroup_->ItemIndex();
    strip_.LabelFormatType->setText(Text(TDataClocks::GetFormatType(item)));
    strip_.LabelFormatBits->setText(Text(TDataClocks::GetFormatBits(item)));
}

void TClockControlPanel::SerialFormatRadioGroupClick() {
    ShowFormatLabels();
    clocks_.SetSerialFormat(serialFormatRadioGroup_->ItemIndex());
    table_.WriteRegister(TDataClocks::SerialFormatRegister);
}

void TClockControlPanel::RefreshClocks() {
    strip_.LabelFsUnits->setText(Text(clocks_.GetRateText()));
    strip_.LabelMclkUnits->setText(Text(clocks_.GetMclkText()));
    serialFormatRadioGroup_->SetItemIndex(clocks_.GetSerialFormat());
}
