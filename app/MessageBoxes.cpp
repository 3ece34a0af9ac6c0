#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

void ShowCurrentError(IMessageBoxes& boxes, QWidget* parent) {
    try {
        throw;
    } catch (const std::exception& error) {
        boxes.ShowError(parent, QString::fromUtf8(error.what()));
    } catch (...) {
        boxes.ShowError(parent, "An unknown error occurred.");
    }
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
