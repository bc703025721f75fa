#pragma once

#include <QString>
#include <QStringList>

// The layout files last opened or saved, most recent first, kept in the
// user's settings (organisation and application "zanfor-layout") so the
// list outlives the window. A file appears once however its path was
// spelled.
class RecentLayouts
{
public:
    static constexpr int Limit = 5;

    // The files, most recent first: at most Limit, no two the same file.
    QStringList paths() const;

    // Puts the file first, dropping an earlier entry for it and the entries
    // beyond the limit.
    void add(const QString &path);

    // Drops the file's entry, as when it is gone.
    void remove(const QString &path);

private:
    void store(const QStringList &paths);
};
