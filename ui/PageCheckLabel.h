#pragma once

#include "PageCheck.h"
#include "PreviewEngine.h"

#include <QLabel>

#include <memory>
#include <optional>
#include <vector>

class PreviewView;
class QAbstractItemModel;
class QTimer;
class QUndoStack;
class Workspace;
template<typename T>
class QFutureWatcher;

// The list panel's check `pageCheck`: PageCheck's five lines as plain text,
// each warning drawn in a colour of its own. The list is counted again
// after every change to it on a worker thread, one count at a time, so
// neither a preview nor the window waits for it; after each page preview
// the label takes what the engine laid out. Its tooltip names the first
// places, and a click asks for the first sample picture or "#" link.
class PageCheckLabel : public QLabel
{
    Q_OBJECT
public:
    // Follows `list` (the entries) and `undo` (their snippets) of
    // `workspace`, and the page previews of `view`.
    PageCheckLabel(Workspace &workspace, const QAbstractItemModel &list, const QUndoStack &undo,
                   const PreviewView &view, QWidget *parent = nullptr);
    ~PageCheckLabel() override;

    // A count is under way or about to start.
    bool isCounting() const;
    // The places the tooltip names, one a line.
    QString placesText() const;

signals:
    // Entry `row` holds a sample picture or "#" link at `start` of its snippet.
    void replaceRequested(int row, qsizetype start);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void count();
    void counted();
    void pageLaidOut(const PreviewEngine::PageFacts &facts);
    void showCheck();

    Workspace &m_workspace;
    std::shared_ptr<PageCheck::Counter> m_counter;
    QFutureWatcher<PageCheck::ListCount> *m_watcher;
    QTimer *m_countSoon;
    bool m_running = false;
    bool m_changedMeanwhile = false;
    PageCheck::ListCount m_list;
    std::optional<PageCheck::LaidOut> m_page;
    std::vector<PageCheck::Line> m_lines;
};
