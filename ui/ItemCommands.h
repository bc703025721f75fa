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

class MoveItemCommand : public QUndoCommand
{
public:
    enum Direction { Up, Down };
    // Moves entry `index` one place up or down.
    MoveItemCommand(GeneratedItems &items, int index, Direction direction);
    void undo() override;
    void redo() override;

private:
    GeneratedItems &m_items;
    int m_index;
    Direction m_direction;
};

class RemoveItemCommand : public QUndoCommand
{
public:
    RemoveItemCommand(GeneratedItems &items, int index);
    void undo() override;
    void redo() override;

private:
    GeneratedItems &m_items;
    int m_index;
    QString m_snippet;
    QString m_name;
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

// New snippets for some entries, names unchanged: the item editor's OK
// (one entry) and the page-wide address replacement (every entry that
// changed, and only those).
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
