#pragma once

#include "TransportUi.h"

#include <QString>

class QWidget;

// Modal message boxes, behind an interface so that tests can answer them.
class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    // The "HRCHECK: " question after an adapter call failed.
    virtual HrCheckAnswer AskHrCheck(QWidget* parent, const QString& message) = 0;
    // The standard error box for an error that escaped an action.
    virtual void ShowError(QWidget* parent, const QString& message) = 0;
    // A notice with the application title as caption and an OK button.
    virtual void ShowMessage(QWidget* parent, const QString& message) = 0;
};

// Shows the error being handled (call from a catch block) in the error box.
void ShowCurrentError(IMessageBoxes& boxes, QWidget* parent);

class QtMessageBoxes : public IMessageBoxes {
public:
    HrCheckAnswer AskHrCheck(QWidget* parent, const QString& message) override;
    void ShowError(QWidget* parent, const QString& message) override;
    void ShowMessage(QWidget* parent, const QString& message) override;
};
