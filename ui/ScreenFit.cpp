#include "ScreenFit.h"

#include "WindowFit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

ScreenFit::ScreenFit(QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_designed(window->size())
{
    window->installEventFilter(this);
    place();
}

void ScreenFit::place()
{
    QScreen *screen = m_window->screen();
    if (!screen)
        return;
    // Until the window system has framed the window its frame counts as
    // nothing; the frame's arrival places the window again.
    m_frame = m_window->windowHandle() ? m_window->windowHandle()->frameMargins() : QMargins();
    m_available = screen->availableGeometry();
    const QRect client = fitWindow(m_designed, m_frame, m_available);
    m_window->setFixedSize(client.size());
    // A window's position is that of its frame.
    m_window->move(client.topLeft() - QPoint(m_frame.left(), m_frame.top()));
}

void ScreenFit::followScreen()
{
    QWindow *handle = m_window->windowHandle();
    if (m_following || !handle)
        return;
    m_following = true;
    const auto watch = [this](QScreen *screen) {
        if (screen)
            connect(screen, &QScreen::availableGeometryChanged, this, &ScreenFit::place, Qt::UniqueConnection);
    };
    watch(handle->screen());
    connect(handle, &QWindow::screenChanged, this, [this, watch](QScreen *screen) {
        watch(screen);
        place();
    });
}

bool ScreenFit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    // Shown again after a minimise, the window stays where it was.
    if (event->type() == QEvent::Show && !event->spontaneous()) {
        followScreen();
        place();
    } else if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        // Moves of the user's own leave the frame as it was.
        QWindow *handle = m_window->windowHandle();
        if (handle && handle->frameMargins() != m_frame)
            place();
    }
    return false;
}
