#include "WindowShortcuts.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

WindowShortcuts::WindowShortcuts(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    // The override request goes to the focused widget, not to the window,
    // so only an application-wide filter sees it first.
    QCoreApplication::instance()->installEventFilter(this);
}

void WindowShortcuts::add(QAction *action)
{
    m_actions.append(action);
}

bool WindowShortcuts::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
    for (const QAction *action : std::as_const(m_actions)) {
        if (action->isEnabled() && action->shortcuts().contains(pressed)) {
            // Unclaimed, the key goes to the shortcut instead of the field.
            event->ignore();
            return true;
        }
    }
    return false;
}
