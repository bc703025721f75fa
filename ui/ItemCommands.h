#pragma once

#include "GeneratedItems.h"

#include <QUndoCommand>

#include <vector>

// Undoable changes of the generated-items list, the only way the window
// changes it. Each makes its change in redo(), the first time included, and
// restores both lists together in undo().

class AddItemCommand : public QUndoCommand
{
public:
    AddItemCommand(GeneratedItems &items, const GeneratedItem &item);
    void undo() override;
    void redo() override;

private:
    GeneratedItems &m_items;
    GeneratedItem m_item;
};

// Entries that change places as one step: 上移 and 下移 on a selection,
// and a drop. `order` is one of GeneratedItems' orders.
class ReorderItemsCommand : public QUndoCommand
{
public:
    ReorderItemsCommand(GeneratedItems &items, const QList<int> &order, const QString &text);
    void undo() override;
    void redo() override;

private:
    GeneratedItems &m_items;
    QList<int> m_order;
    QList<int> m_inverse;
};

// 删除 on a selection.
class RemoveItemsCommand : public QUndoCommand
{
public:
    RemoveItemsCommand(GeneratedItems &items, const QList<int> &rows);
    void undo() override;
    void redo() override;

private:
    GeneratedItems &m_items;
    QList<int> m_rows;
    QList<GeneratedItem> m_removed;
};

// 复制一份: a copy of each selected entry after the last of them.
class DuplicateItemsCommand : public QUndoCommand
{
public:
    DuplicateItemsCommand(GeneratedItems &items, const QList<int> &rows);
    void undo() override;
    void redo() override;
    // Where the copies stand once done.
    const QList<int> &copies() const { return m_copies; }

private:
    GeneratedItems &m_items;
    QList<int> m_rows;
    QList<int> m_copies;
};

class ClearItemsCommand : public QUndoCommand
{
public:
    explicit ClearItemsCommand(GeneratedItems &items);
    void undo() override;
    void redo() override;

private:
    GeneratedItems &m_items;
    QStringList m_snippets; // shared with the list until it changes: no copy
    QStringList m_names;
};

// A new name and snippet for one entry: the item editor's OK.
class EditItemCommand : public QUndoCommand
{
public:
    EditItemCommand(GeneratedItems &items, int index, const GeneratedItem &after);
    void undo() override;
    void redo() override;

private:
    GeneratedItems &m_items;
    int m_index;
    GeneratedItem m_before;
    GeneratedItem m_after;
};

// New snippets for some entries, names unchanged: the page-wide address
// replacement (every entry that changed, and only those).
class ReplaceSnippetsCommand : public QUndoCommand
{
public:
    struct Change
    {
        int index;
        QString snippet;
    };
    ReplaceSnippetsCommand(GeneratedItems &items, std::vector<Change> changes, const QString &text);
    void undo() override;
    void redo() override;

private:
    GeneratedItems &m_items;
    std::vector<Change> m_after;
    std::vector<Change> m_before;
};
