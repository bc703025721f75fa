#pragma once

#include "LayoutFile.h"

#include <QString>

// Which layout file, if any, the list belongs to, and what that file holds,
// so the window can tell whether the list or the shop type differ from it.
// Before any file is opened or saved it belongs to none: the caption stays
// the program's name and closing asks nothing.
class LayoutDocument
{
public:
    static QString programName() { return QStringLiteral("Zanfor描述排版器"); }

    // After the layout was read from or written to `path`, the file being
    // as `stamp` describes it. The file stays the document's until another
    // one is opened or saved: undoing an Open leaves it, and the list
    // restored by the undo then differs from it.
    void setFile(const QString &path, const Layout &content, const LayoutFile::FileStamp &stamp = {});

    bool hasFile() const { return !m_path.isEmpty(); }
    const QString &path() const { return m_path; }
    // As the caption shows it, without the folder: a byte that is not text
    // as U+FFFD, a line break or other control character as a blank.
    QString fileName() const;
    const Layout &saved() const { return m_saved; }
    const LayoutFile::FileStamp &stamp() const { return m_stamp; }

    // Whether `current` differs from the file; never without a file.
    bool isModified(const Layout &current) const;

    // "Zanfor描述排版器" without a file, "name.zlayout - Zanfor描述排版器"
    // with one, and "*name.zlayout - Zanfor描述排版器" while modified.
    QString caption(const Layout &current) const;

    // The question asked when the window closes while modified.
    QString closeQuestion() const;

private:
    QString m_path;
    Layout m_saved;
    LayoutFile::FileStamp m_stamp;
};
