#include "MessageBoxes.h"

#include "HandlerGuard.h"

#include <QApplication>
#include <QMessageBox>

void ShowCurrentError(IMessageBoxes& boxes, QWidget* parent) {
    boxes.ShowError(parent, CurrentErrorText());
}

HrCheckAnswer QtMessageBoxes::AskHrCheck(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Question, "HRCHECK: ", message,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setWindowModality(Qt::ApplicationModal);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return HrCheckAnswer::Yes;
    case QMessageBox::No:
        return HrCheckAnswer::No;
    default:
        return HrCheckAnswer::Cancel;
    }
}

void QtMessageBoxes::ShowError(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, QString(), message);
}

void QtMessageBoxes::ShowMessage(QWidget* parent, const QString& message) {
    QMessageBox::information(parent, QApplication::applicationName(), message, QMessageBox::Ok);
}
