#include "Ackerrordialog.h"

#include "Look.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// What the user can check; the indents are part of the text.
const char* const ErrorLines[] = {
    "The I2C Command sent was not acknowledged by the Device.",
    "Check the \"STATUS\" window for either an I2C Error or USB Error.",
    "",
    "          1) For I2C Error: ",
    "               Verify the Device is Powered On.",
    "               Verify proper Connection to USB Board.",
    "          2) For USB Error",
    "               Verify USB status in Status Window.",
    "  ",
    "Press the RESET button to see if communication is resumed.",
};
} // namespace

TACK_ErrorDialogForm::TACK_ErrorDialogForm(QWidget* parent)
    : QDialog(parent), errorListBox_(new QListWidget(this)), closeButton_(new QPushButton("CLOSE", this)) {
    setObjectName("ACK_ErrorDialogForm");
    setWindowTitle("Communication Error");
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(false);

    auto* heading = new QLabel("COMMUNICATION ERROR", this);
    heading->setObjectName("ErrorLabel");
    heading->setAlignment(Qt::AlignCenter);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.5);
    heading->setFont(font);
    SetTextColour(heading, Rgb{255, 110, 110});

    errorListBox_->setObjectName("ErrorListBox");
    for (const char* line : ErrorLines)
        errorListBox_->addItem(line);
    const int rows = errorListBox_->count() * errorListBox_->sizeHintForRow(0);
    errorListBox_->setMinimumSize(480, rows + 2 * errorListBox_->frameWidth() + 6);

    closeButton_->setObjectName("CloseButton");
    closeButton_->setDefault(true);
    closeButton_->setMinimumWidth(90);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addWidget(heading);
    layout->addWidget(errorListBox_);
    layout->addLayout(buttons);

    connect(closeButton_, &QPushButton::clicked, this, &TACK_ErrorDialogForm::CloseButtonClick);
}

void TACK_ErrorDialogForm::setVisible(bool visible) {
    if (visible && !isVisible()) {
        CentreOnScreen(this);
    }
    QDialog::setVisible(visible);
}

void TACK_ErrorDialogForm::CloseButtonClick() {
    close();
}
