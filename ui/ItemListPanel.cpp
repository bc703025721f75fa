#include "ItemListPanel.h"

#include "ContentEditing.h"
#include "GeneratedItemsModel.h"
#include "LayoutActions.h"
#include "PageCheckLabel.h"
#include "PhoneToggle.h"
#include "PreviewView.h"
#include "UserPrompts.h"
#include "WindowLook.h"
#include "Workspace.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QUndoStack>
#include <QVBoxLayout>

using WindowLook::pixelFont;

namespace {

// The generated-items header picture: plain mid grey.
class HeaderPicture : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), QColor(128, 128, 128)); }
};

// Rows of 25 pixels, the name 2 pixels from the left edge.
class RowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 25};
    }
};

} // namespace

ItemListPanel::ItemListPanel(Workspace &workspace, QUndoStack &undo, UserPrompts &prompts, PreviewView &preview,
                             LayoutActions &layoutActions, QWidget *window)
    : m_workspace(workspace)
    , m_undo(undo)
    , m_prompts(prompts)
    , m_preview(preview)
    , m_layoutActions(layoutActions)
    , m_model(new GeneratedItemsModel(workspace.items(), this))
    , m_content(new ContentEditing(workspace, undo, prompts, preview, window))
{
    setObjectName(QStringLiteral("rzpnl5"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *img2 = new HeaderPicture(this);
    img2->setObjectName(QStringLiteral("img2"));
    img2->setFixedHeight(50);
    WindowLook::label(QStringLiteral("lbl6"), QStringLiteral("生成项目"), {94, 16}, 16, Qt::white, img2);
    layout->addWidget(img2);

    auto *rzpnl14 = new QWidget(this);
    rzpnl14->setObjectName(QStringLiteral("rzpnl14"));
    rzpnl14->setFixedHeight(10);
    layout->addWidget(rzpnl14);

    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    layout->addLayout(row, 1);

    m_itemList = new QListView(this);
    m_itemList->setObjectName(QStringLiteral("lstlei"));
    m_itemList->setAccessibleName(QStringLiteral("生成项目"));
    m_itemList->setModel(m_model);
    m_itemList->setItemDelegate(new RowDelegate(m_itemList));
    m_itemList->setUniformItemSizes(true);
    m_itemList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_itemList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_itemList->setFrameShape(QFrame::NoFrame);
    m_itemList->setFont(pixelFont(13));
    m_itemList->setStyleSheet(
        QStringLiteral("QListView { background: white; } QListView::item { padding-left: 2px; }"));
    row->addWidget(m_itemList, 1);
    connect(m_itemList, &QListView::doubleClicked, this,
            [this](const QModelIndex &index) { m_content->editItem(index.row()); });
    auto *editKeys = new QAction(m_itemList);
    editKeys->setShortcuts({Qt::Key_F2, Qt::Key_Return, Qt::Key_Enter});
    editKeys->setShortcutContext(Qt::WidgetShortcut);
    connect(editKeys, &QAction::triggered, this, &ItemListPanel::editItem);
    m_itemList->addAction(editKeys);

    auto *rzpnl3 = new QWidget(this);
    rzpnl3->setObjectName(QStringLiteral("rzpnl3"));
    rzpnl3->setFixedWidth(60);
    WindowLook::fill(rzpnl3, rzpnl3->palette().color(QPalette::Midlight));
    row->addWidget(rzpnl3);
    buildButtons(rzpnl3);
    PhoneToggle::add(rzpnl3, window, m_preview);

    // What is left to replace, under the list and its buttons.
    m_pageCheck = new PageCheckLabel(workspace, *m_model, undo, preview, this);
    layout->addWidget(m_pageCheck);
    connect(m_pageCheck, &PageCheckLabel::replaceRequested, this, [this](int entry, qsizetype start) {
        m_itemList->setCurrentIndex(m_model->index(entry, 0));
        m_content->editItem(entry, start);
    });
    // Room for five rows of the list beside the whole button column.
    setMinimumHeight(50 + 10 + qMax(5 * 25, rzpnl3->minimumHeight()) + m_pageCheck->sizeHint().height());

    buildMenu();
}

void ItemListPanel::buildButtons(QWidget *column)
{
    struct Button
    {
        const char *name;
        QString caption;
        QRect rect;
        void (ItemListPanel::*action)();
    };
    const Button buttons[] = {
        {"btnup", QStringLiteral("上移"), {8, 6, 46, 25}, &ItemListPanel::moveUp},
        {"btndown", QStringLiteral("下移"), {8, 35, 46, 25}, &ItemListPanel::moveDown},
        {"btndel", QStringLiteral("删除"), {8, 65, 46, 25}, &ItemListPanel::deleteItem},
        {"btnclear", QStringLiteral("清空"), {8, 94, 46, 25}, &ItemListPanel::clearItems},
        {"btn5", QStringLiteral("预览"), {8, 140, 46, 30}, &ItemListPanel::pagePreview},
        {"btntiqu", QStringLiteral("提取"), {8, 174, 46, 30}, &ItemListPanel::extract},
        {"editButton", QStringLiteral("编辑"), {8, 212, 46, 25}, &ItemListPanel::editItem},
        {"assetsButton", QStringLiteral("图片链接"), {8, 241, 46, 25}, &ItemListPanel::editPageAddresses},
        {"saveButton", QStringLiteral("保存"), {8, 281, 46, 25}, &ItemListPanel::saveLayout},
        {"openButton", QStringLiteral("打开"), {8, 310, 46, 25}, &ItemListPanel::openLayout},
    };
    int columnHeight = 0;
    for (const Button &b : buttons) {
        auto *button = new QPushButton(b.caption, column);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(b.rect);
        connect(button, &QPushButton::clicked, this, b.action);
        columnHeight = qMax(columnHeight, b.rect.bottom() + 1 + 6);
    }
    // Four characters do not fit 46 pixels at the window's font: this
    // caption alone is drawn at 10 pixels rather than cut off.
    column->findChild<QPushButton *>(QStringLiteral("assetsButton"))->setFont(pixelFont(10));
    column->setMinimumHeight(columnHeight);
}

void ItemListPanel::buildMenu()
{
    // The list's context menu, every entry in order.
    m_menu = new QMenu(m_itemList);
    m_menu->setObjectName(QStringLiteral("lstleiMenu"));
    QAction *edit = m_menu->addAction(QStringLiteral("编辑内容…"), this, &ItemListPanel::editItem);
    QAction *assets = m_menu->addAction(QStringLiteral("图片链接…"), this, &ItemListPanel::editPageAddresses);
    connect(m_menu, &QMenu::aboutToShow, this, [this, edit, assets] {
        edit->setEnabled(selectedRow() >= 0);
        assets->setEnabled(m_workspace.items().count() > 0);
    });
    m_menu->addSeparator();
    const LayoutActions &layout = m_layoutActions;
    m_menu->addActions({layout.saveAction(), layout.saveAsAction()});
    m_menu->addSeparator();
    m_menu->addActions({layout.openAction(), layout.insertAction()});
    m_menu->addMenu(layout.recentMenu());
    m_menu->addSeparator();
    m_menu->addAction(layout.exportAction());

    m_itemList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_itemList, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        // A right click on a row chooses that row, as in any list.
        if (const QModelIndex index = m_itemList->indexAt(pos); index.isValid())
            m_itemList->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
        m_menu->popup(m_itemList->viewport()->mapToGlobal(pos));
    });
}

int ItemListPanel::selectedRow() const
{
    const QModelIndexList selected = m_itemList->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ItemListPanel::moveSelected(MoveItemCommand::Direction direction)
{
    const int i = selectedRow();
    const int count = m_workspace.items().count();
    const bool possible = direction == MoveItemCommand::Up ? GeneratedItems::canMoveUp(i, count)
                                                           : GeneratedItems::canMoveDown(i, count);
    if (!possible)
        return;
    m_undo.push(new MoveItemCommand(m_workspace.items(), i, direction));
    // The selection does not follow the moved entry.
    m_itemList->selectionModel()->clear();
    m_itemList->setFocus();
}

void ItemListPanel::moveUp()
{
    moveSelected(MoveItemCommand::Up);
}

void ItemListPanel::moveDown()
{
    moveSelected(MoveItemCommand::Down);
}

void ItemListPanel::deleteItem()
{
    const int i = selectedRow();
    if (i < 0 || i >= m_workspace.items().count())
        return;
    m_undo.push(new RemoveItemCommand(m_workspace.items(), i));
    m_itemList->selectionModel()->clear();
}

void ItemListPanel::clearItems()
{
    if (m_workspace.items().count() == 0)
        return;
    m_undo.push(new ClearItemsCommand(m_workspace.items()));
}

void ItemListPanel::addItem(const GeneratedItem &item)
{
    m_undo.push(new AddItemCommand(m_workspace.items(), item));
}

void ItemListPanel::pagePreview()
{
    const PreviewResult result = m_workspace.output().pagePreview(m_workspace.items().snippets());
    if (!result) {
        m_prompts.error(result.error());
        return;
    }
    m_preview.showPage(*result);
}

void ItemListPanel::extract()
{
    const QString &memo = m_workspace.output().memo();
    // An empty memo would leave the clipboard as it was: say so rather than
    // claim the code was extracted.
    if (memo.isEmpty()) {
        m_prompts.notice(QStringLiteral("没有可提取的代码"));
        return;
    }
    QGuiApplication::clipboard()->setText(memo);
    m_prompts.notice(QStringLiteral("代码已经提取"));
}

void ItemListPanel::editItem()
{
    m_content->editItem(selectedRow());
}

void ItemListPanel::editPageAddresses()
{
    m_content->editPageAddresses();
}

void ItemListPanel::saveLayout()
{
    m_layoutActions.save();
}

void ItemListPanel::openLayout()
{
    m_layoutActions.open();
}
