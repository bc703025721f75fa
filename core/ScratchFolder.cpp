#include "ScratchFolder.h"

#include "ScratchFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {

const QString LockName = QStringLiteral("files.lock");

QString withSeparator(const QString &folder)
{
    return folder.endsWith(u'/') || folder.endsWith(u'\\') ? folder : folder + u'/';
}

std::unique_ptr<QLockFile> lockFor(const QString &folder)
{
    auto lock = std::make_unique<QLockFile>(folder + LockName);
    // Held for the program's life: only the death of its owner makes a lock
    // stale, never its age.
    lock->setStaleLockTime(0);
    return lock;
}

// Removes the scratch files' temporary copies; with `everything`, the
// scratch files too.
void removeScratch(const QString &folder, bool everything)
{
    QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const bool scratch = name == ScratchFiles::ListName || name == ScratchFiles::PreviewName;
        if (ScratchFolder::isTemporaryName(name) || (everything && scratch))
            dir.remove(name);
    }
}

// A numbered folder whose lock is free belongs to a copy that died: it goes
// as its owner's exit would have removed it. A copy starting at this moment
// that has created the folder but not yet locked it finds it gone, and takes
// the next number.
void removeIfAbandoned(const QString &folder)
{
    if (!QFileInfo::exists(folder))
        return;
    std::unique_ptr<QLockFile> lock = lockFor(folder);
    if (!lock->tryLock(0))
        return;
    removeScratch(folder, true);
    lock->unlock();
    QDir().rmdir(folder);
}

} // namespace

bool ScratchFolder::isHeld(const QString &folder)
{
    if (!QFileInfo::exists(folder))
        return false;
    std::unique_ptr<QLockFile> lock = lockFor(withSeparator(folder));
    if (lock->tryLock(0)) {
        lock->unlock();
        return false;
    }
    return lock->error() == QLockFile::LockFailedError;
}

bool ScratchFolder::isTemporaryName(const QString &name)
{
    // SaveFileWriter writes through "<name>.XXXXXX", the X's made letters
    // and digits by QTemporaryFile.
    for (const QLatin1String base : {ScratchFiles::ListName, ScratchFiles::PreviewName}) {
        if (name.size() != base.size() + 7 || !name.startsWith(base) || name.at(base.size()) != u'.')
            continue;
        bool random = true;
        for (qsizetype i = base.size() + 1; i < name.size(); ++i) {
            const char16_t c = name.at(i).unicode();
            random = random && ((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'));
        }
        if (random)
            return true;
    }
    return false;
}

Result<std::shared_ptr<ScratchFolder>> ScratchFolder::take(const Naming &naming)
{
    QString reason;
    for (int copy = 1; copy <= MaxCopies; ++copy) {
        const QString folder = withSeparator(naming(copy));
        if (!QDir().mkpath(folder)) {
            reason = QStringLiteral("Cannot create the folder \"%1\".").arg(QDir::toNativeSeparators(folder));
            continue;
        }
        std::unique_ptr<QLockFile> lock = lockFor(folder);
        if (!lock->tryLock(0)) {
            if (lock->error() != QLockFile::LockFailedError)
                reason = QStringLiteral("Cannot lock the folder \"%1\".").arg(QDir::toNativeSeparators(folder));
            continue;
        }
        removeScratch(folder, false);
        for (int other = 2; other <= MaxCopies; ++other) {
            if (other != copy)
                removeIfAbandoned(withSeparator(naming(other)));
        }
        return std::shared_ptr<ScratchFolder>(new ScratchFolder(folder, copy, std::move(lock)));
    }
    if (reason.isEmpty())
        reason = QStringLiteral("All %1 scratch folders are in use.").arg(MaxCopies);
    return Failure{reason};
}

ScratchFolder::ScratchFolder(const QString &path, int copy, std::unique_ptr<QLockFile> lock)
    : m_path(path)
    , m_copy(copy)
    , m_lock(std::move(lock))
{
}

ScratchFolder::~ScratchFolder()
{
    if (m_copy == 1)
        return;
    removeScratch(m_path, true);
    m_lock->unlock();
    QDir().rmdir(m_path);
}
