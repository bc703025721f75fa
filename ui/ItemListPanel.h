#pragma once

#include "ItemCommands.h"

#include <QWidget>

class ContentEditing;
class QAction;
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
    // 上移, 下移, 删除 and 复制一份 act on the whole selection, one undo step
    // each.
    void moveUp();
    void moveDown();
    void deleteItem();
    void duplicateItems();
    void clearItems();
    // The selected entries' HTML, as the page holds them, to the clipboard.
    void copyItems();
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
    void addListKeys();
    // The entry the editor opens on: of several selected, the current one;
    // -1 for none.
    int selectedRow() const;
    // Every selected row, ascending.
    QList<int> selectedRows() const;
    void selectRows(const QList<int> &rows);
    void moveSelected(bool up);
    // The selection dragged to the place before entry `row`.
    void dropSelected(int row);

    Workspace &m_workspace;
    QUndoStack &m_undo;
    UserPrompts &m_prompts;
    PreviewView &m_preview;
    LayoutActions &m_layoutActions;
    GeneratedItemsModel *m_model;
    ContentEditing *m_content;
    QListView *m_itemList = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_duplicate = nullptr;
    PageCheckLabel *m_pageCheck = nullptr;
};
