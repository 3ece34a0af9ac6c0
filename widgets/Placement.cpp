#include "Placement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLabel* PlaceLabel(QWidget* parent, const QString& text, const QRect& place, Qt::Alignment alignment) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setAlignment(alignment);
    return label;
}

QPushButton* PlaceButton(QWidget* parent, const QString& name, const QString& caption, const QRect& place,
                         const QString& hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setToolTip(hint);
    return button;
}

QLineEdit* PlaceEdit(QWidget* parent, const QString& name, const QString& text, const QRect& place,
                     const QString& accessibleName) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setGeometry(place);
    edit->setAccessibleName(accessibleName);
    return edit;
}
