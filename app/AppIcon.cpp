#include "AppIcon.h"

#include <QDirIterator>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

QIcon applicationIcon()
{
    // One PNG per size, laid out as in the hicolor theme; QIcon picks the
    // closest size for the title bar, the task bar and the switcher.
    QIcon icon;
    QDirIterator it(QStringLiteral(":/icons/hicolor"), {QStringLiteral("zanfor-layout.png")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        icon.addFile(it.next());
    return icon;
}

namespace {

void setApplicationIcon()
{
    QGuiApplication::setWindowIcon(applicationIcon());
}

// Waits for the window's first expose. The window paints while handling
// that event, so the icon, queued from it, follows the first picture. A
// window the window manager keeps minimised from the start is not exposed,
// yet its task bar entry needs the icon: it comes after a second then.
class FirstExpose : public QObject
{
public:
    explicit FirstExpose(QWindow *window)
        : QObject(window)
    {
        window->installEventFilter(this);
        QTimer::singleShot(1000, this, &FirstExpose::done);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed())
            done();
        return false;
    }

private:
    void done()
    {
        if (m_done)
            return;
        m_done = true;
        QMetaObject::invokeMethod(qApp, &setApplicationIcon, Qt::QueuedConnection);
        parent()->removeEventFilter(this);
        deleteLater();
    }

    bool m_done = false;
};

} // namespace

void setIconOnceShown(QWindow *window)
{
    if (!window || window->isExposed()) {
        setApplicationIcon();
        return;
    }
    new FirstExpose(window);
}
