#pragma once

#include <QWidget>

class QLabel;

// The busy window: one large "WORKING" while the program talks to the device
// at start-up. It is created once and only shown and closed afterwards.
class TWorkingForm : public QWidget {
    Q_OBJECT
public:
    explicit TWorkingForm(QWidget* parent = nullptr);

    // Showing the window also paints it before returning: the device work that
    // follows keeps the event loop from running until it is done.
    void setVisible(bool visible) override;

private:
    void PaintNow();

    QLabel* workingLabel_;
};
