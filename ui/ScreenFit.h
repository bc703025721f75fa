#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

// Keeps a fixed-size window inside the free area of its screen (fitWindow):
// centred at its designed size where that fits, shrunk to fit where it does
// not. It places the window before it is first shown, and again when the
// window system reports the frame it drew, or the screen or its free area
// change; a window the user moved elsewhere is left there.
class ScreenFit : public QObject
{
public:
    // The window's size at this moment is its designed size.
    explicit ScreenFit(QWidget *window);

    void place();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followScreen();

    QWidget *m_window;
    QSize m_designed;
    QMargins m_frame;
    QRect m_available;
    bool m_following = false;
};
