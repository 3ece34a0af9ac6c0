#include "RadioGroup.h"

#include "Accessibility.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

#include <algorithm>

RadioGroup::RadioGroup(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
    EnableAccessibleClicks();
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setVerticalSpacing(2);
    connect(buttons_, &QButtonGroup::idClicked, this, &RadioGroup::SetItemIndex);
    connect(this, &QObject::objectNameChanged, this, &RadioGroup::NameButtons);
}

void RadioGroup::SetItems(const QStringList& items) {
    items_ = items;
    itemIndex_ = -1;
    Rebuild();
}

void RadioGroup::SetItemIndex(int index) {
    if (index < 0 || index >= items_.size())
        index = -1;
    if (index == itemIndex_)
        return;
    itemIndex_ = index;
    ShowSelection();
    // Clearing the selection is not a click: no item was chosen, and a click
    // handler always finds a valid item.
    if (itemIndex_ >= 0)
        emit Click();
}

void RadioGroup::SetColumns(int columns) {
    columns_ = std::max(1, columns);
    Rebuild();
}

void RadioGroup::Rebuild() {
    // The old buttons may be the sender of the click that led here, so they
    // are only detached now and deleted once control is back in the event loop.
    for (QAbstractButton* button : buttons_->buttons()) {
        buttons_->removeButton(button);
        layout()->removeWidget(button);
        button->setObjectName(QString());
        button->hide();
        button->deleteLater();
    }
    auto* grid = static_cast<QGridLayout*>(layout());
    const int rows = (static_cast<int>(items_.size()) + columns_ - 1) / columns_;
    for (int i = 0; i < items_.size(); ++i) {
        auto* button = new QRadioButton(items_[i], this);
        buttons_->addButton(button, i);
        grid->addWidget(button, i % rows, i / rows);
    }
    NameButtons();
    ShowSelection();
}

void RadioGroup::ShowSelection() {
    if (itemIndex_ >= 0) {
        buttons_->button(itemIndex_)->setChecked(true);
        return;
    }
    // An exclusive group never lets its last checked button go.
    buttons_->setExclusive(false);
    for (QAbstractButton* button : buttons_->buttons())
        button->setChecked(false);
    buttons_->setExclusive(true);
}

void RadioGroup::NameButtons() {
    const QString group = objectName();
    for (QAbstractButton* button : buttons_->buttons())
        button->setObjectName(group.isEmpty() ? QString()
                                              : group + "Item" + QString::number(buttons_->id(button)));
}
