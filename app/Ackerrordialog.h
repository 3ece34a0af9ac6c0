#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// The communication error dialog: shown when a transfer to the device fails,
// on top of every window and without stopping the work that raised it. It is
// created once and only shown and closed afterwards.
class TACK_ErrorDialogForm : public QDialog {
    Q_OBJECT
public:
    explicit TACK_ErrorDialogForm(QWidget* parent = nullptr);

    void setVisible(bool visible) override;

private:
    void CloseButtonClick();

    QListWidget* errorListBox_;
    QPushButton* closeButton_;
};
