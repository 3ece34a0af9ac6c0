#include "UpDown.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int ArrowWidth = 17;
constexpr int ArrowHeight = 12;
constexpr int RepeatDelayMs = 400;
constexpr int RepeatIntervalMs = 60;

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFixedSize(ArrowWidth, ArrowHeight);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(RepeatDelayMs);
    button->setAutoRepeatInterval(RepeatIntervalMs);
    return button;
}
} // namespace

UpDown::UpDown(int minimum, int maximum, int increment, QWidget* parent)
    : QWidget(parent), minimum_(std::min(minimum, maximum)), maximum_(std::max(minimum, maximum)),
      increment_(increment), position_(std::clamp(0, minimum_, maximum_)), up_(MakeArrow(Qt::UpArrow, this)),
      down_(MakeArrow(Qt::DownArrow, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    setFixedSize(ArrowWidth, 2 * ArrowHeight);
    setFocusPolicy(Qt::TabFocus);

    connect(up_, &QToolButton::clicked, this, &UpDown::ClickUp);
    connect(down_, &QToolButton::clicked, this, &UpDown::ClickDown);
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) {
        up_->setObjectName(name + "Up");
        down_->setObjectName(name + "Down");
    });
}

void UpDown::SetAccessibleNames(const QString& what) {
    setAccessibleName(what + " up/down");
    up_->setAccessibleName(what + " up");
    down_->setAccessibleName(what + " down");
}

void UpDown::SetPosition(int position) {
    position_ = std::clamp(position, minimum_, maximum_);
}

void UpDown::ClickUp() {
    Step(increment_);
}

void UpDown::ClickDown() {
    Step(-static_cast<long long>(increment_));
}

// A click at the end of the range still counts as a click: the position stays
// clamped and the click handling runs, so the handlers see every press.
void UpDown::Step(long long delta) {
    position_ = static_cast<int>(std::clamp<long long>(position_ + delta, minimum_, maximum_));
    emit Click();
}

void UpDown::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        ClickUp();
        break;
    case Qt::Key_Down:
        ClickDown();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
