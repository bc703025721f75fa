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

ReorderItemsCommand::ReorderItemsCommand(GeneratedItems &items, const QList<int> &order, const QString &text)
    : QUndoCommand(text)
    , m_items(items)
    , m_order(order)
    , m_inverse(GeneratedItems::inverseOrder(order))
{
}

void ReorderItemsCommand::undo()
{
    m_items.reorder(m_inverse);
}

void ReorderItemsCommand::redo()
{
    m_items.reorder(m_order);
}

RemoveItemsCommand::RemoveItemsCommand(GeneratedItems &items, const QList<int> &rows)
    : QUndoCommand(QStringLiteral("删除"))
    , m_items(items)
    , m_rows(rows)
    , m_removed(items.entries(rows))
{
}

void RemoveItemsCommand::undo()
{
    m_items.insertRows(m_rows, m_removed);
}

void RemoveItemsCommand::redo()
{
    m_items.removeRows(m_rows);
}

DuplicateItemsCommand::DuplicateItemsCommand(GeneratedItems &items, const QList<int> &rows)
    : QUndoCommand(QStringLiteral("复制一份"))
    , m_items(items)
    , m_rows(rows)
{
}

void DuplicateItemsCommand::undo()
{
    m_items.removeRows(m_copies);
}

void DuplicateItemsCommand::redo()
{
    m_copies = m_items.duplicate(m_rows);
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

EditItemCommand::EditItemCommand(GeneratedItems &items, int index, const GeneratedItem &after)
    : QUndoCommand(QStringLiteral("编辑内容"))
    , m_items(items)
    , m_index(index)
    , m_before{items.name(index), items.snippet(index)}
    , m_after(after)
{
}

void EditItemCommand::undo()
{
    m_items.replace(m_index, m_before.snippet, m_before.name);
}

void EditItemCommand::redo()
{
    m_items.replace(m_index, m_after.snippet, m_after.name);
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
