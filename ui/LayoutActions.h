#pragma once

#include "LayoutDocument.h"
#include "RecentLayouts.h"

#include <QObject>

class QAction;
class QMenu;
class QUndoStack;
class QWidget;
class UserPrompts;
class Workspace;

// Layout files in the window: save, save as, open, insert, the recent
// files, the page export, the caption that names the document and the
// question asked on closing with unsaved changes. Open and Insert are one
// undo step each; a file that cannot be used changes nothing but shows why.
class LayoutActions : public QObject
{
    Q_OBJECT
public:
    // The actions take their keys window-wide in `window`, whose caption
    // follows the document from now on.
    LayoutActions(Workspace &workspace, QUndoStack &undo, UserPrompts &prompts, QWidget *window);

    // Ctrl+S, Ctrl+Shift+S, Ctrl+O, Ctrl+Shift+O, Ctrl+E.
    QAction *saveAction() const { return m_save; }
    QAction *saveAsAction() const { return m_saveAs; }
    QAction *openAction() const { return m_open; }
    QAction *insertAction() const { return m_insert; }
    QAction *exportAction() const { return m_export; }
    // One entry per recent file, rebuilt each time it opens.
    QMenu *recentMenu() const { return m_recentMenu; }

    const LayoutDocument &document() const { return m_document; }

    // Each returns true when the file was written.
    bool save(); // to the document's file, or as save-as before there is one
    bool saveAs();
    void open();
    void insert();
    void exportPage();
    // Open without the dialog, as the command line and the recent entries
    // do. Unsaved changes to the document's file are asked about first, as
    // on closing. True when the file was opened.
    bool openFile(const QString &path);

    // Gives back a page from a recovery copy, as one undo step like Open:
    // the list, the shop type and the file it belonged to (none when
    // `origin.file` is empty), counting as unsaved.
    void recover(const Layout &page, const LayoutFile::Origin &origin);
    // Where the page stands now, as a recovery copy keeps it.
    LayoutFile::Origin origin() const;

    // Sets the window's caption from the document and the list now.
    void refreshCaption();
    // Whether the window may close: asks first while the page holds
    // unsaved work, and saves when told to.
    bool confirmClose();

signals:
    // The page, or the file it belongs to, changed: after every undo step,
    // save and open.
    void pageChanged();

private:
    bool saveTo(const QString &path);
    // The layout in the file that `path` names, that file's path in
    // `file` and, when asked, its stamp.
    static Result<Layout> read(const QString &path, QString *file, LayoutFile::FileStamp *stamp);
    // Whether the list may stop being the document's: nothing unsaved, or
    // saved or given up after the question; else cancelled.
    enum class Settled { Unchanged, Saved, Discarded, Cancelled };
    Settled settleChanges();
    void openRecent(const QString &path);
    void fillRecentMenu();
    QString startFolder() const;

    Workspace &m_workspace;
    QUndoStack &m_undo;
    UserPrompts &m_prompts;
    QWidget *m_window;
    LayoutDocument m_document;
    RecentLayouts m_recent;
    QAction *m_save;
    QAction *m_saveAs;
    QAction *m_open;
    QAction *m_insert;
    QAction *m_export;
    QMenu *m_recentMenu;
};
