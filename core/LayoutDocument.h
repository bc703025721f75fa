#pragma once

#include "LayoutFile.h"

#include <QString>

// Which layout file, if any, the list belongs to, and what that file holds,
// so the window can tell whether the list or the shop type differ from it.
// Before any file is opened or saved it belongs to none: the caption stays
// the program's name, and the page is unsaved once it differs from the
// empty page the window starts with.
class LayoutDocument
{
public:
    static QString programName() { return QStringLiteral("Zanfor描述排版器"); }

    // After the layout was read from or written to `path`, the file being
    // as `stamp` describes it. The file stays the document's until another
    // one is opened or saved: undoing an Open leaves it, and the list
    // restored by the undo then differs from it.
    void setFile(const QString &path, const Layout &content, const LayoutFile::FileStamp &stamp = {});
    // After a page was given back from a recovery copy: it belongs to
    // `path` (none when empty), as `stamp` last described that file, and
    // counts as unsaved until it is saved or another file is opened.
    void setRecovered(const QString &path, const LayoutFile::FileStamp &stamp);

    bool hasFile() const { return !m_path.isEmpty(); }
    const QString &path() const { return m_path; }
    // As the caption shows it, without the folder: a byte that is not text
    // as U+FFFD, a line break or other control character as a blank.
    QString fileName() const;
    const Layout &saved() const { return m_saved; }
    const LayoutFile::FileStamp &stamp() const { return m_stamp; }

    // Whether `current` holds work that no file holds: it differs from the
    // file, or without one from the empty page, or was recovered.
    bool isModified(const Layout &current) const;

    // "Zanfor描述排版器" without a file, "name.zlayout - Zanfor描述排版器"
    // with one, "*name.zlayout - Zanfor描述排版器" while modified, and
    // "*未命名 - Zanfor描述排版器" for a recovered page without a file.
    QString caption(const Layout &current) const;

    // The question asked when the window closes while modified.
    QString closeQuestion() const;

private:
    QString m_path;
    Layout m_saved;
    LayoutFile::FileStamp m_stamp;
    bool m_recovered = false;
};
