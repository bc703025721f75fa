#pragma once

#include "Result.h"

#include <QString>

#include <functional>
#include <memory>

class QLockFile;

// The folder of one running copy's scratch files, held through a lock file
// in it for as long as the object lives, so that two copies running at the
// same time never write, or show, each other's pages.
class ScratchFolder
{
public:
    // The folder of copy n: 1 is the usual one, 2, 3, ... numbered ones.
    using Naming = std::function<QString(int copy)>;
    static constexpr int MaxCopies = 100;

    // Takes the folder of the lowest copy number whose lock is free (the lock
    // of a copy that died is free), creating the folder when it is missing.
    // Removes the temporary files a writer killed before its rename left in
    // it, and the numbered folders of copies that died. Fails, with the
    // system's reason, when no folder can be locked.
    static Result<std::shared_ptr<ScratchFolder>> take(const Naming &naming);

    // Lets the folder go. A numbered folder goes with its files; the first
    // folder keeps its files, as a copy running alone always has.
    ~ScratchFolder();

    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const QString &path() const { return m_path; }
    int copy() const { return m_copy; }

    // Whether a running copy holds the folder now (a copy that died holds
    // nothing).
    static bool isHeld(const QString &folder);

    // The name of a scratch file's temporary copy, "files.txt.AbC123".
    static bool isTemporaryName(const QString &name);

private:
    ScratchFolder(const QString &path, int copy, std::unique_ptr<QLockFile> lock);

    QString m_path;
    int m_copy;
    std::unique_ptr<QLockFile> m_lock;
};
