#include "PageRecovery.h"

#include "ScratchFolder.h"
#include "ScratchPlatform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

const QString Suffix = QStringLiteral(".zlayout");

// "copy-3.zlayout" and "claimed-3.zlayout": held by copy 3 while it runs.
int heldBy(const QString &name)
{
    for (const QLatin1StringView prefix : {QLatin1StringView("copy-"), QLatin1StringView("claimed-")}) {
        if (!name.startsWith(prefix) || !name.endsWith(Suffix))
            continue;
        bool ok = false;
        const int copy =
            QStringView(name).sliced(prefix.size(), name.size() - prefix.size() - Suffix.size()).toInt(&ok);
        return ok ? copy : 0;
    }
    return 0;
}

} // namespace

RecoveryStore::RecoveryStore(const QString &folder, int copy, IsRunning isRunning)
    : m_folder(QDir::cleanPath(folder))
    , m_copy(copy)
    , m_isRunning(std::move(isRunning))
    , m_own(m_folder + QStringLiteral("/copy-%1").arg(copy) + Suffix)
    , m_claimed(m_folder + QStringLiteral("/claimed-%1").arg(copy) + Suffix)
{
}

QString RecoveryStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
}

bool RecoveryStore::isCopyRunning(int copy)
{
    return ScratchFolder::isHeld(ScratchPlatform::directory(copy));
}

void RecoveryStore::keepEarlier() const
{
    QDir dir(m_folder);
    for (const QString &path : {m_own, m_claimed}) {
        if (QFileInfo::exists(path)) {
            const QString kept = QStringLiteral("left-%1-%2-").arg(m_copy).arg(QDateTime::currentMSecsSinceEpoch());
            (void)ScratchPlatform::replaceFile(path, dir.filePath(kept + QFileInfo(path).baseName() + Suffix));
        }
    }
    // What a write killed before its rename left behind.
    const QString own = QFileInfo(m_own).fileName();
    for (const QString &name : dir.entryList({own + QStringLiteral(".*.tmp")}, QDir::Files | QDir::Hidden))
        dir.remove(name);
}

Result<> RecoveryStore::write(const Layout &page, const LayoutFile::Origin &origin) const
{
    const Result<QByteArray> bytes = LayoutFile::toJson(page, &origin);
    if (!bytes)
        return Failure{bytes.error()};
    if (!QDir().mkpath(m_folder))
        return Failure{u"无法建立文件夹 \"" % QDir::toNativeSeparators(m_folder) % u'"'};
    if (const Result<qint64> written = ScratchPlatform::writeFileWhole(m_own, *bytes); !written)
        return Failure{written.error()};
    return {};
}

void RecoveryStore::remove() const
{
    QFile::remove(m_own);
}

QStringList RecoveryStore::leftOvers() const
{
    QFileInfoList found;
    const QFileInfoList entries = QDir(m_folder).entryInfoList({u'*' + Suffix}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        const int copy = heldBy(entry.fileName());
        const bool left = entry.fileName().startsWith(u"left-");
        if (left || (copy > 0 && copy != m_copy && !m_isRunning(copy)))
            found.append(entry);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const QFileInfo &a, const QFileInfo &b) { return a.lastModified() > b.lastModified(); });
    QStringList paths;
    for (const QFileInfo &entry : found)
        paths.append(entry.filePath());
    return paths;
}

Result<RecoveredPage> RecoveryStore::claim(const QString &path) const
{
    // The rename is the claim: of two copies starting at once, one wins.
    if (!ScratchPlatform::replaceFile(path, m_claimed))
        return Failure{QString()};
    RecoveredPage page{m_claimed, {}, {}};
    const Result<QByteArray> bytes = ScratchPlatform::readFile(m_claimed, LayoutFile::MaxBytes, nullptr);
    Result<Layout> layout = bytes ? LayoutFile::fromJson(*bytes, &page.origin) : Failure{bytes.error()};
    if (!layout) {
        const QString aside = path + QStringLiteral(".damaged");
        (void)ScratchPlatform::replaceFile(m_claimed, aside);
        return Failure{u"无法读取恢复副本 \"" % QDir::toNativeSeparators(path) % u"\"：" % layout.error()
                       % u"。它已改名保留为 \"" % QDir::toNativeSeparators(aside) % u"\"。"};
    }
    page.layout = *layout;
    return page;
}

void RecoveryStore::adopt(const RecoveredPage &page) const
{
    (void)ScratchPlatform::replaceFile(page.path, m_own);
}

void RecoveryStore::discard(const RecoveredPage &page) const
{
    QFile::remove(page.path);
}

RecoveryWriter::RecoveryWriter(std::shared_ptr<const RecoveryStore> store, std::function<Snapshot()> snapshot,
                               QObject *parent)
    : QObject(parent)
    , m_store(std::move(store))
    , m_snapshot(std::move(snapshot))
    , m_timer(new QTimer(this))
{
    // Not restarted by later changes: a steady stream of changes is still
    // written every Delay milliseconds.
    m_timer->setSingleShot(true);
    m_timer->setInterval(Delay);
    connect(m_timer, &QTimer::timeout, this, &RecoveryWriter::flush);
}

RecoveryWriter::~RecoveryWriter()
{
    if (m_thread) {
        m_thread->quit();
        m_thread->wait();
    }
}

void RecoveryWriter::changed()
{
    if (!m_finished && !m_timer->isActive())
        m_timer->start();
}

void RecoveryWriter::flush()
{
    m_timer->stop();
    if (!m_finished)
        post(m_snapshot());
}

void RecoveryWriter::post(Snapshot snapshot)
{
    if (!m_thread) {
        m_thread = new QThread(this);
        m_worker = new QObject;
        m_worker->moveToThread(m_thread);
        connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
        m_thread->start(QThread::LowPriority);
    }
    // Only the newest request counts: one that finds a newer one queued
    // behind it has nothing to do.
    const quint64 request = ++m_latest;
    QMetaObject::invokeMethod(
        m_worker,
        [this, request, snapshot = std::move(snapshot)] {
            if (request != m_latest.load())
                return;
            if (!snapshot.needed) {
                m_store->remove();
                return;
            }
            const Result<> written = m_store->write(snapshot.page, snapshot.origin);
            if (written)
                ++m_writes;
            QMetaObject::invokeMethod(
                this,
                [this, ok = written.ok(), reason = written.error()] {
                    // Said once while writes keep failing, not every time.
                    if (ok == !m_failing)
                        return;
                    m_failing = !ok;
                    emit writeFailed(ok ? QString()
                                        : u"无法写入恢复副本 \"" % QDir::toNativeSeparators(m_store->ownPath())
                                             % u"\"：" % reason);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void RecoveryWriter::finish()
{
    m_finished = true;
    m_timer->stop();
    ++m_latest; // what is queued is stale now
    if (m_thread) {
        m_thread->quit();
        m_thread->wait();
    }
    m_store->remove();
}
