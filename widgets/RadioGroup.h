#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A captioned group of radio buttons with one selected item. Changing the
// selection, by the user or by the program, runs the group's click handling
// (the Click signal) once; setting the index it already has runs nothing.
// An index outside the items selects nothing (-1), which is no click.
// The radio buttons are named after the group: "<group>Item<i>".
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(const QString& caption, QWidget* parent = nullptr);

    // Replaces the items; the selection becomes -1 (none) without a click.
    void SetItems(const QStringList& items);
    QStringList Items() const { return items_; }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // Number of columns the items are laid out in (1 by default).
    void SetColumns(int columns);

signals:
    void Click();

private:
    void Rebuild();
    void ShowSelection();
    void NameButtons();

    QStringList items_;
    int itemIndex_ = -1;
    int columns_ = 1;
    QButtonGroup* buttons_;
};
