#pragma once

#include "LayoutFile.h"
#include "Result.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

class QThread;
class QTimer;

// A recovery copy read back: the page, where it came from, and the copy's
// file, now this running copy's to adopt or discard.
struct RecoveredPage
{
    QString path;
    Layout layout;
    LayoutFile::Origin origin;
};

// The recovery copies of the page, so that a kill, a crash or a power cut
// loses nothing: one file per running copy of the program, in a folder of
// the program's own data, never beside the seller's files. Each is a layout
// file (version 1) that also keeps the page's origin. A copy belongs to the
// running copy with its number while that one runs (its scratch folder's
// lock); the others are left over, for the next start to offer.
class RecoveryStore
{
public:
    using IsRunning = std::function<bool(int copy)>;

    // `folder` holds the copies; `copy` is this running copy's number, and
    // `isRunning` tells whether copy n runs now.
    RecoveryStore(const QString &folder, int copy, IsRunning isRunning);

    // recovery/ in the program's own data folder; copy n runs while it
    // holds its scratch folder.
    static QString defaultFolder();
    static bool isCopyRunning(int copy);

    const QString &ownPath() const { return m_own; }

    // Sets aside what an earlier run with this copy's number left, so that
    // nothing this run writes replaces it before it was offered. Once, at
    // start.
    void keepEarlier() const;

    // This copy's recovery copy: written whole (flushed, then renamed into
    // place) or removed. Safe on a worker thread: they touch no state.
    Result<> write(const Layout &page, const LayoutFile::Origin &origin) const;
    void remove() const;

    // The copies that no running copy holds, newest first.
    QStringList leftOvers() const;
    // Takes the left-over at `path` for this copy and reads it. One that
    // cannot be read is set aside as "<path>.damaged", never deleted, and
    // the failure names it; one that another copy took first fails with an
    // empty message.
    Result<RecoveredPage> claim(const QString &path) const;
    // 恢复: the claimed copy becomes this copy's own. 放弃: it goes.
    void adopt(const RecoveredPage &page) const;
    void discard(const RecoveredPage &page) const;

private:
    QString m_folder;
    int m_copy;
    IsRunning m_isRunning;
    QString m_own;
    QString m_claimed;
};

// Keeps this copy's recovery copy up to date: a change asks for a write at
// most `delay` later, a burst of changes gives one write, and the writing
// (the file flushed to disk included) happens on a thread of its own, so a
// page of any size never holds the window up.
class RecoveryWriter : public QObject
{
    Q_OBJECT
public:
    struct Snapshot
    {
        bool needed = false; // anything to recover; else the copy goes
        Layout page;
        LayoutFile::Origin origin;
    };
    static constexpr int Delay = 500; // milliseconds

    // `snapshot` is asked on this thread, when the write is due.
    RecoveryWriter(std::shared_ptr<const RecoveryStore> store, std::function<Snapshot()> snapshot,
                   QObject *parent = nullptr);
    ~RecoveryWriter() override;

    // The page changed.
    void changed();
    // Writes or removes now, without waiting for the delay.
    void flush();
    // A clean end: what is queued is dropped, the copy removed.
    void finish();
    // Writes done so far, for tests and measurements.
    int writes() const { return m_writes.load(); }

signals:
    // A write failed (reason), or succeeded again after failing (empty).
    void writeFailed(const QString &message);

private:
    void post(Snapshot snapshot);

    std::shared_ptr<const RecoveryStore> m_store;
    std::function<Snapshot()> m_snapshot;
    QTimer *m_timer;
    QThread *m_thread = nullptr;
    QObject *m_worker = nullptr;
    std::atomic<quint64> m_latest{0};
    std::atomic<int> m_writes{0};
    bool m_failing = false;
    bool m_finished = false;
};
