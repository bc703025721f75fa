#include "DialogFit.h"

#include "UserSettings.h"
#include "WindowFit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

QString sizeKey(const QWidget *dialog)
{
    return QStringLiteral("dialogSizes/") + dialog->objectName();
}

QMargins frameOf(const QWidget *window)
{
    return window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
}

} // namespace

DialogFit::DialogFit(QWidget *dialog, const QWidget *view)
    : QObject(dialog)
    , m_dialog(dialog)
    , m_view(view)
    , m_wanted(dialog->size())
{
    const QSize kept = userSettings().value(sizeKey(dialog)).toSize();
    if (kept.isValid() && !kept.isEmpty())
        m_wanted = kept;
    // The dialog has no frame yet; the window system most likely draws it
    // one like the main window's.
    m_frame = frameOf(view->window());
    dialog->installEventFilter(this);
    place();
}

void DialogFit::place()
{
    QScreen *screen = m_view->screen();
    if (!screen)
        return;
    const QRect view(m_view->mapToGlobal(QPoint(0, 0)), m_view->size());
    const QRect client = fitDialog(m_wanted, m_dialog->minimumSizeHint(), m_frame, screen->availableGeometry(), view);
    m_dialog->resize(client.size());
    // A window's position is that of its frame.
    m_dialog->move(client.topLeft() - QPoint(m_frame.left(), m_frame.top()));
    m_given = m_dialog->size();
}

bool DialogFit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_dialog)
        return false;
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        // The frame's arrival; the seller's own moves leave it as it was.
        const QMargins frame = frameOf(m_dialog);
        if (m_dialog->isVisible() && frame != m_frame) {
            m_frame = frame;
            place();
        }
    } else if (event->type() == QEvent::Hide && m_dialog->size() != m_given) {
        QSettings settings = userSettings();
        settings.setValue(sizeKey(m_dialog), m_dialog->size());
    }
    return false;
}
