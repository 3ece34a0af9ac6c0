#pragma once

#include <QWidget>

class QToolButton;

// A pair of up/down arrows holding a position. A click on an arrow adds the
// increment (up) or subtracts it (down), within the range, and emits Click;
// setting the position from the program emits nothing. A click at the end of
// the range leaves the position where it is and still emits Click. The arrow
// buttons are named "<name>Up" and "<name>Down" after the control.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(int minimum, int maximum, int increment, QWidget* parent = nullptr);

    int Position() const { return position_; }
    void SetPosition(int position);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Increment() const { return increment_; }
    // Names the pair for screen readers "<what> up/down" and its arrows
    // "<what> up" and "<what> down" ("DAP 1 volume").
    void SetAccessibleNames(const QString& what);

    // What a user's click on an arrow does, for tests and keyboard use.
    void ClickUp();
    void ClickDown();

signals:
    void Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Step(long long delta);

    int minimum_, maximum_, increment_;
    int position_;
    QToolButton* up_;
    QToolButton* down_;
};
