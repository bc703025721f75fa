#include "InputHabits.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>

InputHabits::InputHabits(QObject *parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool InputHabits::eventFilter(QObject *watched, QEvent *event)
{
    // Mouse events are judged once, where they reach a window, before the
    // window hands them to the control under the pointer.
    if (watched->isWindowType())
        return dropStrayClick(event);
    return clickFocusedButton(watched, event);
}

bool InputHabits::dropStrayClick(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const Qt::MouseButton button = mouse->button();
    if (type != QEvent::MouseButtonPress) {
        // The rest of a dropped click goes with it.
        const bool dropped = m_dropping.testFlag(button);
        if (type == QEvent::MouseButtonRelease)
            m_dropping.setFlag(button, false);
        return dropped;
    }

    QWidget *target = QApplication::widgetAt(mouse->globalPosition().toPoint());
    const quint64 interval = quint64(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    const bool soon = m_lastButton == button && mouse->timestamp() - m_lastTime < interval;
    if (soon && target != m_lastTarget) {
        m_dropping.setFlag(button);
        return true;
    }
    m_lastTarget = target;
    m_lastTime = mouse->timestamp();
    m_lastButton = button;
    return false;
}

bool InputHabits::clickFocusedButton(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (!button || button != QApplication::focusWidget() || button->isCheckable() || !button->isEnabled()
        || qobject_cast<QDialog *>(button->window()))
        return false;
    // A held key clicks once.
    if (!key->isAutoRepeat())
        button->click();
    return true;
}
