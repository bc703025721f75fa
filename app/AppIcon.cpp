#include "AppIcon.h"

#include <QDirIterator>
#include <QEvent>
#include <QGuiApplication>
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
// that event, so the icon, queued from it, follows the first picture.
class FirstExpose : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
            QMetaObject::invokeMethod(qApp, &setApplicationIcon, Qt::QueuedConnection);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void setIconOnceShown(QWindow *window)
{
    if (!window || window->isExposed()) {
        setApplicationIcon();
        return;
    }
    window->installEventFilter(new FirstExpose(window));
}
