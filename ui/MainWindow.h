#pragma once

#include <QMainWindow>

#include <memory>
#include <vector>

class FunctionButton;
class ItemListPanel;
class LayoutActions;
class PreviewView;
class QButtonGroup;
class QLabel;
class QListView;
class QScrollArea;
class QUndoStack;
class QVBoxLayout;
class RecoveryActions;
class RecoveryStore;
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
    PreviewView *preview() const { return m_preview; }
    SectionPanel *panel(int number) const { return m_panels.at(std::size_t(number - 1)); }
    FunctionButton *functionButton(int number) const { return m_buttons.at(std::size_t(number - 1)); }
    // The generated-items panel, with the list and its operations.
    ItemListPanel *items() const { return m_items; }
    QListView *itemList() const;
    QUndoStack *undoStack() const { return m_undo; }
    LayoutActions *layoutActions() const { return m_layoutActions; }

    // From now on the page is kept in `store`'s recovery copy after every
    // change, and a clean close removes it.
    void keepRecoveryCopies(std::shared_ptr<RecoveryStore> store);
    // Null until keepRecoveryCopies().
    RecoveryActions *recovery() const { return m_recovery; }

    // The window's own operations, as the function list and the shop type
    // run them.
    void openSection(int number);
    void chooseShopType(int index);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildLeftColumn();
    QWidget *buildRightColumn();
    void showShopType();

    Workspace &m_workspace;
    std::unique_ptr<UserPrompts> m_ownPrompts;
    UserPrompts *m_prompts;
    QUndoStack *m_undo;
    std::vector<FunctionButton *> m_buttons;
    std::vector<SectionPanel *> m_panels;
    QLabel *m_pageWidthLabel = nullptr;
    QButtonGroup *m_shopTypes = nullptr;
    PreviewView *m_preview = nullptr;
    QScrollArea *m_workArea = nullptr;
    QVBoxLayout *m_workLayout = nullptr;
    QWidget *m_spacer = nullptr;
    ItemListPanel *m_items = nullptr;
    LayoutActions *m_layoutActions = nullptr;
    RecoveryActions *m_recovery = nullptr;
};
