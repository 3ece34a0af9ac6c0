#include "Accessibility.h"

#include "BlockPanel.h"
#include "UpDown.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>

#include <map>
#include <tuple>

namespace {

// A check box or radio button as the accessibility interface sees it. Its
// actions click the button, as the user's mouse would.
class ClickableButton : public QAccessibleWidget {
public:
    ClickableButton(QAbstractButton* button, QAccessible::Role role) : QAccessibleWidget(button, role) {}

    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        const QString name = widget()->accessibleName();
        return name.isEmpty() ? WithoutMnemonic(Button()->text()) : name;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        const auto* box = qobject_cast<const QCheckBox*>(Button());
        if (box && box->checkState() == Qt::PartiallyChecked)
            state.checkStateMixed = true;
        else
            state.checked = Button()->isChecked();
        return state;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) {
            names << toggleAction();
            if (role() == QAccessible::CheckBox)
                names << pressAction();
        }
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == toggleAction() || action == pressAction()) {
            if (widget()->isEnabled())
                Button()->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }

    // "&Toggle Fs" reads "Toggle Fs"; "&&" is one "&".
    static QString WithoutMnemonic(const QString& text) {
        QString plain;
        for (int i = 0; i < text.size(); ++i) {
            if (text[i] == '&' && i + 1 < text.size())
                ++i;
            plain += text[i];
        }
        return plain;
    }
};

QAccessibleInterface* ClickableButtons(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("QCheckBox"))
        return new ClickableButton(static_cast<QAbstractButton*>(object), QAccessible::CheckBox);
    if (className == QLatin1String("QRadioButton"))
        return new ClickableButton(static_cast<QAbstractButton*>(object), QAccessible::RadioButton);
    return nullptr;
}

bool IsControl(const QWidget* widget) {
    if (qobject_cast<const QScrollBar*>(widget))
        return false;
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const UpDown*>(widget);
}

// The panel or group box a control is told apart within.
const QWidget* ScopeOf(const QWidget* control) {
    for (const QWidget* w = control->parentWidget(); w; w = w->parentWidget())
        if (qobject_cast<const QGroupBox*>(w) || qobject_cast<const BlockPanel*>(w) || w->isWindow())
            return w;
    return nullptr;
}

QString Describe(const QWidget* control) {
    return control->objectName().isEmpty() ? QString(control->metaObject()->className())
                                           : control->objectName();
}

} // namespace

void EnableAccessibleClicks() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(ClickableButtons);
}

QStringList ControlsNotToldApart(const QWidget* root) {
    QStringList problems;
    std::map<std::tuple<const QWidget*, int, QString>, const QWidget*> named;
    for (const QWidget* control : root->findChildren<QWidget*>()) {
        // Controls hidden on purpose are not shown to a screen reader either,
        // and the toolkit's own helpers ("qt_...") are not the program's.
        const bool hidden = control->testAttribute(Qt::WA_WState_ExplicitShowHide) && control->isHidden();
        if (!IsControl(control) || hidden || control->objectName().startsWith("qt_"))
            continue;
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(control));
        // The name the program gave, else the one the toolkit derives (a
        // caption, a group box title). On Linux the toolkit reports a combo
        // box's text as its name and leaves the label to a relation, so the
        // given name is what tells two combo boxes apart.
        QString name = control->accessibleName().trimmed();
        if (name.isEmpty() && spoken)
            name = spoken->text(QAccessible::Name).trimmed();
        if (name.isEmpty()) {
            problems << Describe(control) + ": no name";
            continue;
        }
        const auto key =
            std::make_tuple(ScopeOf(control), spoken ? static_cast<int>(spoken->role()) : 0, name);
        const auto [place, first] = named.emplace(key, control);
        if (!first)
            problems << Describe(control) + ": same name as " + Describe(place->second);
    }
    return problems;
}
