#pragma once

#include "LayoutFile.h"

#include <QUndoCommand>

class GeneratedItems;
class Workspace;

// The undoable steps that bring a layout file's items into the window, in
// the manner of ItemCommands: the change is made in redo(), the first time
// included, and undo() restores what was there before.

// Replaces the list, the shop type and with it the page width by the file's.
class OpenLayoutCommand : public QUndoCommand
{
public:
    OpenLayoutCommand(Workspace &workspace, const Layout &opened);
    void undo() override;
    void redo() override;

private:
    Workspace &m_workspace;
    Layout m_before; // shares its lists with the workspace's: no copy
    Layout m_opened;
};

// Appends the file's items to the end of the list; the shop type stays.
class InsertLayoutCommand : public QUndoCommand
{
public:
    InsertLayoutCommand(GeneratedItems &items, const Layout &inserted);
    void undo() override;
    void redo() override;

private:
    GeneratedItems &m_items;
    QStringList m_snippets;
    QStringList m_names;
    QStringList m_insertedSnippets;
    QStringList m_insertedNames;
};

// Chooses a shop type, and with it the page width.
class ShopTypeCommand : public QUndoCommand
{
public:
    ShopTypeCommand(Workspace &workspace, int shopType);
    void undo() override;
    void redo() override;

private:
    Workspace &m_workspace;
    int m_before;
    int m_after;
};
