#include "LayoutCommands.h"

#include "Workspace.h"

OpenLayoutCommand::OpenLayoutCommand(Workspace &workspace, const Layout &opened)
    : QUndoCommand(QStringLiteral("打开布局"))
    , m_workspace(workspace)
    , m_before(workspace.layout())
    , m_opened(opened)
{
}

void OpenLayoutCommand::undo()
{
    m_workspace.setLayout(m_before);
}

void OpenLayoutCommand::redo()
{
    m_workspace.setLayout(m_opened);
}

InsertLayoutCommand::InsertLayoutCommand(GeneratedItems &items, const Layout &inserted)
    : QUndoCommand(QStringLiteral("插入布局"))
    , m_items(items)
    , m_snippets(items.snippets())
    , m_names(items.names())
    , m_insertedSnippets(inserted.snippets)
    , m_insertedNames(inserted.names)
{
}

void InsertLayoutCommand::undo()
{
    m_items.assign(m_snippets, m_names);
}

void InsertLayoutCommand::redo()
{
    // One reset of the view for the whole file, not one insertion per item.
    m_items.assign(m_snippets + m_insertedSnippets, m_names + m_insertedNames);
}

ShopTypeCommand::ShopTypeCommand(Workspace &workspace, int shopType)
    : QUndoCommand(QStringLiteral("店铺类型"))
    , m_workspace(workspace)
    , m_before(workspace.shopType())
    , m_after(shopType)
{
}

void ShopTypeCommand::undo()
{
    m_workspace.setShopType(m_before);
}

void ShopTypeCommand::redo()
{
    m_workspace.setShopType(m_after);
}
