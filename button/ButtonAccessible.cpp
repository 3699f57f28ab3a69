// Button: what assistive technology sees. A push button (a check box when it is a toggle button)
// named by its caption, with the pressed, checked, focused and disabled states, and a press action
// that runs the press path and then the release path, as a click by the keyboard would.
#include "Button.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

namespace {

// The caption without its mnemonic marker: a single '&' goes, "&&" stands for '&'.
QString withoutMnemonic(const QString& caption)
{
    QString name;
    name.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (++i == caption.size())
                break;
        }
        name += caption.at(i);
    }
    return name;
}

} // namespace

class ButtonAccessible : public QAccessibleWidget
{
public:
    explicit ButtonAccessible(Button* button) : QAccessibleWidget(button, QAccessible::Button) {}

    Button* button() const { return static_cast<Button*>(widget()); }
    bool toggle() const { return button()->ButtonType() == Button::Toggle; }

    QAccessible::Role role() const override { return toggle() ? QAccessible::CheckBox : QAccessible::Button; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return withoutMnemonic(button()->Caption());
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button()->pressedFlag();
        if (toggle()) {
            s.checkable = true;
            s.checked = button()->Value();
        }
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names = {pressAction()};
        if (toggle())
            names << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        // The press may delete the button and, with it, this interface: nothing may follow it here.
        if (name == pressAction() || (toggle() && name == toggleAction()))
            button()->accessiblePress();
        else
            QAccessibleWidget::doAction(name);
    }
};

namespace {

QAccessibleInterface* buttonAccessible(const QString&, QObject* object)
{
    if (auto* button = qobject_cast<Button*>(object))
        return new ButtonAccessible(button);
    return nullptr;
}

} // namespace

void Button::installAccessibility()
{
    static const bool installed = (QAccessible::installFactory(buttonAccessible), true);
    Q_UNUSED(installed);
}

void Button::accessiblePress()
{
    const QPointer<Button> alive(this);
    pressPath(0, 0, 0, 0);
    if (alive)
        releasePath(0, 0, 0, 0);
}

void Button::notifyAccessibleState()
{
    const bool checked = props_.buttonType == Toggle && props_.value;
    if (pressed_ == accessiblePressed_ && checked == accessibleChecked_)
        return;
    QAccessible::State changes;
    changes.pressed = pressed_ != accessiblePressed_;
    changes.checked = checked != accessibleChecked_;
    accessiblePressed_ = pressed_;
    accessibleChecked_ = checked;
    if (QAccessible::isActive()) {
        QAccessibleStateChangeEvent event(this, changes);
        QAccessible::updateAccessibility(&event);
    }
}
