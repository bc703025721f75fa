#include "RecentLayouts.h"

#include "UserSettings.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString settingsKey()
{
    return QStringLiteral("recentLayouts");
}

// What two spellings of one file have in common: the path with links
// resolved while the file exists, else the cleaned absolute path.
QString identity(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool sameFile(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    return identity(a).compare(identity(b), Qt::CaseInsensitive) == 0;
#else
    return identity(a) == identity(b);
#endif
}

// The list without empty entries and repeats, cut to the limit, so a
// settings file edited by hand cannot make it longer.
QStringList tidy(const QStringList &paths)
{
    QStringList kept;
    for (const QString &path : paths) {
        if (kept.size() == RecentLayouts::Limit)
            break;
        if (path.isEmpty())
            continue;
        bool repeated = false;
        for (const QString &k : kept)
            repeated = repeated || sameFile(k, path);
        if (!repeated)
            kept.append(path);
    }
    return kept;
}

} // namespace

QStringList RecentLayouts::paths() const
{
    return tidy(userSettings().value(settingsKey()).toStringList());
}

void RecentLayouts::add(const QString &path)
{
    QStringList list = paths();
    list.removeIf([&](const QString &p) { return sameFile(p, path); });
    list.prepend(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    store(tidy(list));
}

void RecentLayouts::remove(const QString &path)
{
    QStringList list = paths();
    list.removeIf([&](const QString &p) { return sameFile(p, path); });
    store(list);
}

void RecentLayouts::store(const QStringList &paths)
{
    QSettings s = userSettings();
    s.setValue(settingsKey(), paths);
}
