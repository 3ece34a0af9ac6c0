#pragma once

#include <QRect>
#include <QString>
#include <Qt>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Every panel and tool window lays its controls out at fixed places, as the
// device's panels have always looked; these make the common controls in one
// line each.

// A caption at `place`.
QLabel* PlaceLabel(QWidget* parent, const QString& text, const QRect& place,
                   Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// A push button named `name` with its hint.
QPushButton* PlaceButton(QWidget* parent, const QString& name, const QString& caption, const QRect& place,
                         const QString& hint = QString());

// A single-line edit named `name`; it has no caption of its own, so it is
// given the accessible name a screen reader announces.
QLineEdit* PlaceEdit(QWidget* parent, const QString& name, const QString& text, const QRect& place,
                     const QString& accessibleName);
