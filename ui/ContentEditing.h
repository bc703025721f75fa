#pragma once

#include <QObject>
#include <QStringList>

class PreviewView;
class QUndoStack;
class QWidget;
class UserPrompts;
class Workspace;

// The window's content dialogs and what becomes of their answers: the item
// editor with its preview of the edit, and the page-wide picture and link
// addresses. Each change is one undo command; nothing changed, no command.
// Both dialogs open clear of the web view's top (DialogFit), where the
// preview they drive shows.
class ContentEditing : public QObject
{
    Q_OBJECT
public:
    ContentEditing(Workspace &workspace, QUndoStack &undo, UserPrompts &prompts, PreviewView &view, QWidget *window);

    // Opens the item editor on entry `row`; nothing for a row the list does
    // not have. The view shows the item as edited while the editor is open,
    // from its top as it opens, and as it stands after it closes; the
    // total-code memo stays as it was. With `focusAt`, the field of the
    // piece that starts there in the entry's snippet has the focus.
    void editItem(int row, qsizetype focusAt = -1);
    // Opens the page-wide dialog; with no address in the list, says so.
    void editPageAddresses();

private:
    void preview(const QString &snippet, bool fromTop = false);

    Workspace &m_workspace;
    QUndoStack &m_undo;
    UserPrompts &m_prompts;
    PreviewView &m_view;
    QWidget *m_window;
    const QStringList m_samples;
    bool m_previewFailureShown = false;
};
