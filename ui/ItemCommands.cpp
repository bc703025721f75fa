#include "ItemCommands.h"

AddItemCommand::AddItemCommand(GeneratedItems &items, const GeneratedItem &item)
    : QUndoCommand(QStringLiteral("添加"))
    , m_items(items)
    , m_item(item)
{
}

void AddItemCommand::undo()
{
    m_items.remove(m_items.count() - 1);
}

void AddItemCommand::redo()
{
    m_items.append(m_item.snippet, m_item.name);
}

MoveItemCommand::MoveItemCommand(GeneratedItems &items, int index, Direction direction)
    : QUndoCommand(direction == Up ? QStringLiteral("上移") : QStringLiteral("下移"))
    , m_items(items)
    , m_index(index)
    , m_direction(direction)
{
}

void MoveItemCommand::undo()
{
    // The entry now stands one place further; it goes back.
    if (m_direction == Up)
        m_items.moveDown(m_index - 1);
    else
        m_items.moveUp(m_index + 1);
}

void MoveItemCommand::redo()
{
    if (m_direction == Up)
        m_items.moveUp(m_index);
    else
        m_items.moveDown(m_index);
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

ReplaceSnippetsCommand::ReplaceSnippetsCommand(GeneratedItems &items, std::vector<Change> changes, const QString &text)
    : QUndoCommand(text)
    , m_items(items)
    , m_after(std::move(changes))
{
    m_before.reserve(m_after.size());
    for (const Change &change : m_after)
        m_before.push_back({change.index, items.snippet(change.index)});
}

void ReplaceSnippetsCommand::undo()
{
    for (const Change &change : m_before)
        m_items.replaceSnippet(change.index, change.snippet);
}

void ReplaceSnippetsCommand::redo()
{
    for (const Change &change : m_after)
        m_items.replaceSnippet(change.index, change.snippet);
}
