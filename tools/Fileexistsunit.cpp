#include "Fileexistsunit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int FileNameWidth = 420;
} // namespace

TFileExistsForm::TFileExistsForm(QWidget* parent)
    : QDialog(parent), fileNameLabel_(new QLabel("File Exists", this)),
      yesButton_(new QPushButton("YES", this)), noButton_(new QPushButton("NO", this)) {
    setObjectName("FileExistsForm");
    setWindowTitle("Save As");

    fileNameLabel_->setObjectName("FileNameLabel");
    fileNameLabel_->setWordWrap(true);
    fileNameLabel_->setMinimumWidth(FileNameWidth);
    auto* question = new QLabel("Do You Want to Replace It?", this);
    question->setObjectName("QuestionLabel");
    QFont bold = question->font();
    bold.setBold(true);
    question->setFont(bold);

    yesButton_->setObjectName("YesButton");
    yesButton_->setMinimumWidth(90);
    noButton_->setObjectName("NoButton");
    noButton_->setMinimumWidth(90);
    // Enter keeps the file: replacing it takes a deliberate YES.
    noButton_->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yesButton_);
    buttons->addSpacing(24);
    buttons->addWidget(noButton_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 16);
    layout->setSpacing(12);
    layout->addWidget(fileNameLabel_);
    layout->addWidget(question);
    layout->addLayout(buttons);

    connect(yesButton_, &QPushButton::clicked, this, &TFileExistsForm::YesButtonClick);
    connect(noButton_, &QPushButton::clicked, this, &TFileExistsForm::NoButtonClick);
}

bool TFileExistsForm::ConfirmReplace(const std::string& fileName) {
    answer_ = true;
    QApplication::beep();
    fileNameLabel_->setText(QString::fromStdString(fileName) + " Already Exists,");
    exec();
    return answer_;
}

void TFileExistsForm::YesButtonClick() {
    answer_ = true;
    accept();
}

void TFileExistsForm::NoButtonClick() {
    answer_ = false;
    reject();
}

// Escape is backing out of the save, not the title-bar close: the file stays.
void TFileExistsForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        NoButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}
