#pragma once

#include "ItemCommands.h"

#include <QWidget>

class ContentEditing;
class GeneratedItemsModel;
class LayoutActions;
class PageCheckLabel;
class PreviewView;
class QListView;
class QMenu;
class QUndoStack;
class UserPrompts;
class Workspace;

// The generated-items panel `rzpnl5`: the header "生成项目", the list
// `lstlei` of display names with its button column `rzpnl3` and its context
// menu, and every operation on the list. Each change of the list is one
// command on the window's undo stack.
class ItemListPanel : public QWidget
{
    Q_OBJECT
public:
    // Dialogs and messages belong to `window`; previews go to `preview`.
    ItemListPanel(Workspace &workspace, QUndoStack &undo, UserPrompts &prompts, PreviewView &preview,
                  LayoutActions &layoutActions, QWidget *window);

    QListView *list() const { return m_itemList; }
    QMenu *menu() const { return m_menu; }

    // The operations, as the buttons run them.
    void addItem(const GeneratedItem &item);
    void moveUp();
    void moveDown();
    void deleteItem();
    void clearItems();
    void pagePreview();
    void extract();
    // The item editor on the selected entry, and the page-wide picture and
    // link addresses.
    void editItem();
    void editPageAddresses();
    void saveLayout();
    void openLayout();

private:
    void buildButtons(QWidget *column);
    void buildMenu();
    int selectedRow() const;
    void moveSelected(MoveItemCommand::Direction direction);

    Workspace &m_workspace;
    QUndoStack &m_undo;
    UserPrompts &m_prompts;
    PreviewView &m_preview;
    LayoutActions &m_layoutActions;
    GeneratedItemsModel *m_model;
    ContentEditing *m_content;
    QListView *m_itemList = nullptr;
    QMenu *m_menu = nullptr;
    PageCheckLabel *m_pageCheck = nullptr;
};
