#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Two habits of the desktops sellers come from, kept for the whole
// application once it is made:
// - A click that comes within the double-click interval after the one
//   before it, on a control that was not under the pointer when that one
//   landed, is dropped: the first click moved the controls (Add closing a
//   panel slides the panel below under the pointer), and the second was
//   not meant for what is there now.
// - Enter and Return click the focused button, as Space does. Dialogs keep
//   their own default buttons; check boxes, radio buttons and every other
//   control keep their own use of the keys.
class InputHabits : public QObject
{
public:
    explicit InputHabits(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool dropStrayClick(QEvent *event);
    static bool clickFocusedButton(QObject *watched, QEvent *event);

    QPointer<QWidget> m_lastTarget;
    quint64 m_lastTime = 0;
    Qt::MouseButton m_lastButton = Qt::NoButton;
    Qt::MouseButtons m_dropping;
};
