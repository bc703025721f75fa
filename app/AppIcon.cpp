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
// that event, so what is queued from it follows the first picture.
class FirstExpose : public QObject
{
public:
    FirstExpose(QWindow *window, std::function<void()> run)
        : QObject(window)
        , m_run(std::move(run))
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
        QMetaObject::invokeMethod(qApp, m_run, Qt::QueuedConnection);
        parent()->removeEventFilter(this);
        deleteLater();
    }

    std::function<void()> m_run;
    bool m_done = false;
};

} // namespace

void whenFirstShown(QWindow *window, std::function<void()> run)
{
    if (!window || window->isExposed()) {
        QMetaObject::invokeMethod(qApp, run, Qt::QueuedConnection);
        return;
    }
    new FirstExpose(window, std::move(run));
}

void setIconOnceShown(QWindow *window)
{
    // The icon of a window already there is set at once.
    if (!window || window->isExposed())
        setApplicationIcon();
    else
        whenFirstShown(window, &setApplicationIcon);
}
