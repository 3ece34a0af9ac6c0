#include "Look.h"

#include "Accessibility.h"
#include "SkinColours.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>

namespace {

// Text sizes are given in points so that they follow the screen's density.
constexpr qreal FontPoints = 9;

QPalette SkinPalette() {
    using namespace SkinColours;
    QPalette p;
    p.setColor(QPalette::Window, Window);
    p.setColor(QPalette::WindowText, WindowText);
    p.setColor(QPalette::Base, Base);
    p.setColor(QPalette::AlternateBase, QColor(233, 238, 246));
    p.setColor(QPalette::Text, BaseText);
    p.setColor(QPalette::PlaceholderText, Muted);
    p.setColor(QPalette::Button, ButtonFace);
    p.setColor(QPalette::ButtonText, BaseText);
    p.setColor(QPalette::BrightText, QColor(255, 80, 80));
    p.setColor(QPalette::Highlight, Accent);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(140, 196, 255));
    p.setColor(QPalette::LinkVisited, QColor(190, 160, 255));
    p.setColor(QPalette::ToolTipBase, QColor(255, 248, 214));
    p.setColor(QPalette::ToolTipText, BaseText);
    p.setColor(QPalette::Light, QColor(90, 104, 132));
    p.setColor(QPalette::Midlight, QColor(62, 74, 98));
    p.setColor(QPalette::Mid, QColor(44, 54, 76));
    p.setColor(QPalette::Dark, WindowDeep);
    p.setColor(QPalette::Shadow, QColor(8, 10, 16));
    p.setColor(QPalette::Disabled, QPalette::WindowText, Muted);
    p.setColor(QPalette::Disabled, QPalette::Text, Muted);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, Muted);
    p.setColor(QPalette::Disabled, QPalette::Base, QColor(214, 219, 228));
    p.setColor(QPalette::Disabled, QPalette::Button, QColor(160, 170, 186));
    return p;
}

// Only frames, faces and spacing are styled here. Text colours come from the
// palette, so that a label coloured by the program (the bus status in red or
// green) keeps its colour: a style sheet rule for QLabel would override it.
// Windows mark what a widget is for with the property "role"; a value label
// gets its size from its role but never its colour.
const char* const SkinStyleSheet = R"(
QPushButton, QToolButton {
    color: #0f1b33;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f6f8fc, stop:1 #c8d3e4);
    border: 1px solid #4f5e7a;
    border-radius: 4px;
}
QPushButton { padding: 2px 1px; min-height: 17px; }
QToolButton { padding: 1px; }
QPushButton:hover, QToolButton:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #d7e3f5);
    border-color: #3b7ddd;
}
QPushButton:pressed, QToolButton:pressed, QPushButton:checked, QToolButton:checked {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #b3c2da, stop:1 #d3dcea);
}
QPushButton:focus { border-color: #3b7ddd; }
QPushButton:default { border: 2px solid #3b7ddd; }
QPushButton:disabled, QToolButton:disabled {
    color: #6b7587;
    background: #a9b2c1;
    border-color: #7d8799;
}
QGroupBox {
    border: 1px solid #6f82ad;
    border-radius: 5px;
    margin-top: 9px;
    padding-top: 5px;
}
QGroupBox::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    left: 8px;
    padding: 0 3px;
    color: palette(window-text);
}
QLineEdit, QPlainTextEdit, QTextEdit, QListWidget {
    border: 1px solid #4f5e7a;
    border-radius: 3px;
    selection-background-color: #3b7ddd;
    selection-color: #ffffff;
}
QLineEdit { padding: 1px 2px; }
QLineEdit:focus, QPlainTextEdit:focus, QTextEdit:focus, QListWidget:focus { border-color: #3b7ddd; }
QMenuBar {
    color: palette(window-text);
    background: #161d2c;
    border-bottom: 1px solid #0c111c;
}
QMenuBar::item { background: transparent; padding: 3px 9px; }
QMenu {
    color: palette(window-text);
    background: #222b40;
    border: 1px solid #4f5e7a;
}
QMenu::item { padding: 4px 24px 4px 18px; }
QMenuBar::item:selected, QMenu::item:selected { background: #3b7ddd; color: #ffffff; }
QMenu::item:disabled { color: #7d8799; }
QMenu::separator { height: 1px; background: #4f5e7a; margin: 3px 6px; }
QFrame[role="display"] {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #0d1630, stop:1 #080d1c);
    border: 1px solid #4f5e7a;
    border-radius: 6px;
}
QLabel[role="banner"] { color: #ffd60a; font-size: 15pt; font-weight: bold; }
QLabel[role="caption"] { color: #9fb3d9; font-size: 8pt; font-weight: bold; }
QLabel[role="value"] { font-size: 12pt; font-weight: bold; }
QLabel[role="comment"] { font-size: 10pt; }
QPushButton[role="small"] { font-size: 8pt; padding: 0 2px; min-height: 0; }
QToolTip { color: #0f1b33; background: #fff8d6; border: 1px solid #4f5e7a; padding: 2px; }
)";

QColor ToQColor(Rgb colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

} // namespace

void ApplySkin(QApplication& app) {
    EnableAccessibleClicks();
    if (QStyle* fusion = QStyleFactory::create("Fusion"))
        app.setStyle(fusion);
    app.setPalette(SkinPalette());
    QFont font = app.font();
    font.setPointSizeF(FontPoints);
    app.setFont(font);
    app.setStyleSheet(SkinStyleSheet);
}

void SetTextColour(QLabel* label, Rgb colour) {
    if (label == nullptr)
        return;
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, ToQColor(colour));
    label->setPalette(colours);
}

Rgb TextColour(const QLabel* label) {
    if (label == nullptr)
        return {};
    const QColor c = label->palette().color(label->foregroundRole());
    return Rgb{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
               static_cast<uint8_t>(c.blue())};
}

void CentreOnScreen(QWidget* window) {
    if (window == nullptr)
        return;
    window->adjustSize();
    // With its native window made, the frame is known and can be centred.
    window->winId();
    const QScreen* screen = window->screen();
    if (screen == nullptr)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
