#pragma once

#include "GeneratedItems.h"

#include <QUndoCommand>

// Undoable changes of the generated-items list. Each restores both lists
// together. Commands for changes already made (an Add through a section
// panel) skip their first redo.

class AddedItemCommand : public QUndoCommand
{
public:
    AddedItemCommand(GeneratedItems &items, const QString &snippet, const QString &name);
    void undo() override;
    void redo() override;

private:
    GeneratedItems &m_items;
    QString m_snippet;
    QString m_name;
    bool m_done = true;
};

class MoveItemCommand : public QUndoCommand
{
public:
    // Moves entry `from` one place up (to from - 1) or down (to from + 1).
    MoveItemCommand(GeneratedItems &items, int from, int to);
    void undo() override;
    void redo() override;

private:
    GeneratedItems &m_items;
    int m_from;
    int m_to;
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
