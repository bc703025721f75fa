#include "PageCheckLabel.h"

#include "PreviewView.h"
#include "Workspace.h"

#include <QAbstractItemModel>
#include <QFutureWatcher>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPromise>
#include <QThreadPool>
#include <QTimer>
#include <QToolTip>
#include <QUndoStack>

namespace {

const QColor WarningColour(0xB3, 0x26, 0x1E);

// An address or text as a tooltip names it: a data: picture can be
// megabytes long.
QString shortened(const QString &what)
{
    constexpr qsizetype Longest = 80;
    if (what.trimmed().isEmpty())
        return QStringLiteral("（空）");
    return what.size() > Longest ? what.left(Longest) + u'…' : what;
}

} // namespace

PageCheckLabel::PageCheckLabel(Workspace &workspace, const QAbstractItemModel &list, const QUndoStack &undo,
                               const PreviewView &view, QWidget *parent)
    : QLabel(parent)
    , m_workspace(workspace)
    , m_counter(std::make_shared<PageCheck::Counter>())
    , m_watcher(new QFutureWatcher<PageCheck::ListCount>(this))
    , m_countSoon(new QTimer(this))
{
    setObjectName(QStringLiteral("pageCheck"));
    setTextFormat(Qt::PlainText);
    setMargin(4);

    // Changes come in bursts (a layout opened, a test filling the list):
    // one count after the burst.
    m_countSoon->setSingleShot(true);
    m_countSoon->setInterval(0);
    connect(m_countSoon, &QTimer::timeout, this, &PageCheckLabel::count);
    const auto soon = [this] { m_countSoon->start(); };
    connect(&list, &QAbstractItemModel::rowsInserted, this, soon);
    connect(&list, &QAbstractItemModel::rowsRemoved, this, soon);
    connect(&list, &QAbstractItemModel::rowsMoved, this, soon);
    connect(&list, &QAbstractItemModel::modelReset, this, soon);
    connect(&list, &QAbstractItemModel::dataChanged, this, soon);
    // A snippet replaced (an edit) changes no row.
    connect(&undo, &QUndoStack::indexChanged, this, soon);
    connect(m_watcher, &QFutureWatcher<PageCheck::ListCount>::finished, this, &PageCheckLabel::counted);
    connect(&view, &PreviewView::pageLaidOut, this, &PageCheckLabel::pageLaidOut);

    showCheck();
    if (m_workspace.items().count() > 0)
        m_countSoon->start();
}

PageCheckLabel::~PageCheckLabel() = default;

bool PageCheckLabel::isCounting() const
{
    return m_running || m_countSoon->isActive();
}

void PageCheckLabel::count()
{
    if (m_running) {
        m_changedMeanwhile = true;
        return;
    }
    m_running = true;
    // The worker has the counter to itself until the count is in, and a
    // copy of the list that later changes leave as it is.
    auto promise = std::make_shared<QPromise<PageCheck::ListCount>>();
    m_watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, counter = m_counter, snippets = m_workspace.items().snippets()] {
        promise->start();
        promise->addResult(counter->count(snippets));
        promise->finish();
    });
}

void PageCheckLabel::counted()
{
    m_running = false;
    // A count of a list that has changed since is not shown: the next one is.
    if (m_changedMeanwhile) {
        m_changedMeanwhile = false;
        count();
        return;
    }
    m_list = m_watcher->result();
    showCheck();
}

void PageCheckLabel::pageLaidOut(const PreviewEngine::PageFacts &facts)
{
    m_page = PageCheck::LaidOut{facts.smallestFontPx, facts.smallestText, facts.failedPictures, facts.failedAddresses,
                                m_workspace.pageWidth().toInt()};
    showCheck();
}

void PageCheckLabel::showCheck()
{
    m_lines = PageCheck::lines(m_list, m_page);
    QStringList text;
    for (const PageCheck::Line &line : m_lines)
        text.append(line.text);
    setText(text.join(u'\n'));
    if (PageCheck::firstToReplace(m_list))
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    update();
}

QString PageCheckLabel::placesText() const
{
    const GeneratedItems &items = m_workspace.items();
    QStringList out;
    for (const PageCheck::Place &place : PageCheck::places(m_list, m_page, items.snippets())) {
        QString line = PageCheck::label(place.part) + QStringLiteral("：");
        // A count may lag a moment behind the list.
        if (place.item >= 0 && place.item < items.count())
            line += items.name(place.item).trimmed() + QStringLiteral(" · ");
        out.append(line + shortened(place.what));
    }
    return out.join(u'\n');
}

bool PageCheckLabel::event(QEvent *event)
{
    // Built when asked: naming the smallest text's entry reads the page.
    if (event->type() == QEvent::ToolTip) {
        const QString places = placesText();
        if (places.isEmpty()) {
            QToolTip::hideText();
        } else {
            // Rich text with everything escaped, so no address reads as markup.
            const QString shown = QStringLiteral("<p style=\"white-space:pre\">")
                + places.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")) + QStringLiteral("</p>");
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), shown, this);
        }
        return true;
    }
    return QLabel::event(event);
}

void PageCheckLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    QFont bold = font();
    bold.setBold(true);
    int y = area.top();
    for (const PageCheck::Line &line : m_lines) {
        painter.setFont(line.warning ? bold : font());
        painter.setPen(line.warning ? WarningColour : palette().color(foregroundRole()));
        painter.drawText(QRect(area.left(), y, area.width(), fontMetrics().height()), Qt::AlignLeft | Qt::AlignVCenter,
                         line.text);
        y += fontMetrics().lineSpacing();
    }
}

void PageCheckLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    if (const std::optional<PageCheck::Place> first = PageCheck::firstToReplace(m_list);
        first && first->item < m_workspace.items().count())
        emit replaceRequested(first->item, first->start);
}
