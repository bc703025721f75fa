#pragma once

#include "ItemCommands.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class ContentEditing;
class FunctionButton;
class GeneratedItemsModel;
class LayoutActions;
class PreviewView;
class QButtonGroup;
class QLabel;
class QListView;
class QMenu;
class QPushButton;
class QScrollArea;
class QUndoStack;
class QVBoxLayout;
class SectionPanel;
class UserPrompts;
class Workspace;

// The one working window, `Frmmian`: the left column with the shop type and
// the function list, the web view in the centre, and the right column with
// the section panels above the generated-items list.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 1345;
    static constexpr int ClientHeight = 714;
    static const QString StartPrompt;

    // `prompts` answers the dialogs; the window makes its own when null.
    explicit MainWindow(Workspace &workspace, UserPrompts *prompts = nullptr, QWidget *parent = nullptr);
    ~MainWindow() override;

    Workspace &workspace() { return m_workspace; }
    PreviewView *preview() const { return m_wb1; }
    SectionPanel *panel(int number) const { return m_panels.at(std::size_t(number - 1)); }
    FunctionButton *functionButton(int number) const { return m_buttons.at(std::size_t(number - 1)); }
    QListView *itemList() const { return m_lstlei; }
    QUndoStack *undoStack() const { return m_undo; }
    LayoutActions *layoutActions() const { return m_layoutActions; }
    QMenu *listMenu() const { return m_listMenu; }

    // The window's operations, as the buttons run them.
    void openSection(int number);
    void chooseShopType(int index);
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

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildLeftColumn();
    QWidget *buildRightColumn();
    QWidget *buildGeneratedItemsPanel();
    int selectedRow() const;
    void moveSelected(MoveItemCommand::Direction direction);
    void showShopType();
    void buildListMenu();

    Workspace &m_workspace;
    std::unique_ptr<UserPrompts> m_ownPrompts;
    UserPrompts *m_prompts;
    GeneratedItemsModel *m_model;
    QUndoStack *m_undo;
    std::vector<FunctionButton *> m_buttons;
    std::vector<SectionPanel *> m_panels;
    QLabel *m_lblleixing = nullptr;
    QButtonGroup *m_shopTypes = nullptr;
    PreviewView *m_wb1 = nullptr;
    QScrollArea *m_scrlbx1 = nullptr;
    QVBoxLayout *m_workLayout = nullptr;
    QWidget *m_img7 = nullptr;
    QListView *m_lstlei = nullptr;
    ContentEditing *m_content = nullptr;
    LayoutActions *m_layoutActions = nullptr;
    QMenu *m_listMenu = nullptr;
};
