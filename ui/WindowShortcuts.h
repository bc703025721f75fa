#pragma once

#include <QList>
#include <QObject>

class QAction;
class QWidget;

// Gives the window's own key sequences precedence over a focused text
// field. A field claims the keys its platform binds to editing before any
// shortcut sees them; on X11 a line edit takes Ctrl+E as "end of line", so
// the window's Ctrl+E would never fire while one has the focus. Undo and
// redo stay with the fields on purpose: do not register them here.
class WindowShortcuts : public QObject
{
public:
    explicit WindowShortcuts(QWidget *window);

    // The action's shortcuts reach it from every widget of the window.
    void add(QAction *action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QList<QAction *> m_actions;
};
