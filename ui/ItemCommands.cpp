#include "ItemCommands.h"

AddedItemCommand::AddedItemCommand(GeneratedItems &items, const QString &snippet, const QString &name)
    : QUndoCommand(QStringLiteral("添加"))
    , m_items(items)
    , m_snippet(snippet)
    , m_name(name)
{
}

void AddedItemCommand::undo()
{
    m_items.remove(m_items.count() - 1);
}

void AddedItemCommand::redo()
{
    if (m_done) {
        m_done = false; // the Add itself appended the entry
        return;
    }
    m_items.append(m_snippet, m_name);
}

MoveItemCommand::MoveItemCommand(GeneratedItems &items, int from, int to)
    : QUndoCommand(to < from ? QStringLiteral("上移") : QStringLiteral("下移"))
    , m_items(items)
    , m_from(from)
    , m_to(to)
{
}

static void moveOne(GeneratedItems &items, int from, int to)
{
    if (to < from)
        items.moveUp(from);
    else
        items.moveDown(from);
}

void MoveItemCommand::undo()
{
    moveOne(m_items, m_to, m_from);
}

void MoveItemCommand::redo()
{
    moveOne(m_items, m_from, m_to);
}

RemoveItemCommand::RemoveItemCommand(GeneratedItems &items, int index)
    : QUndoCommand(QStringLiteral("删除"))
    , m_items(items)
    , m_index(index)
    , m_snippet(items.snippet(index))
    , m_name(items.name(index))
{
}

void RemoveItemCommand::undo()
{
    m_items.insert(m_index, m_snippet, m_name);
}

void RemoveItemCommand::redo()
{
    m_items.remove(m_index);
}

ClearItemsCommand::ClearItemsCommand(GeneratedItems &items)
    : QUndoCommand(QStringLiteral("清空"))
    , m_items(items)
    , m_snippets(items.snippets())
    , m_names(items.names())
{
}

void ClearItemsCommand::undo()
{
    m_items.assign(m_snippets, m_names);
}

void ClearItemsCommand::redo()
{
    m_items.clear();
}
