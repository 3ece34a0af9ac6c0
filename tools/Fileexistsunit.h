#pragma once

#include "RegisterBus.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The overwrite question: asked before a file the program writes replaces one
// that exists. YES replaces it, NO keeps it; closing the window without an
// answer replaces it too. Created once and only shown and hidden afterwards.
class TFileExistsForm : public QDialog, public IOverwriteQuestion {
    Q_OBJECT
public:
    explicit TFileExistsForm(QWidget* parent = nullptr);

    bool ConfirmReplace(const std::string& fileName) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void YesButtonClick();
    void NoButtonClick();

    QLabel* fileNameLabel_;
    QPushButton* yesButton_;
    QPushButton* noButton_;
    bool answer_ = true;
};
