#include "ItemListPanel.h"

#include "ContentEditing.h"
#include "GeneratedItemsModel.h"
#include "LayoutActions.h"
#include "PageCheckLabel.h"
#include "PageOutput.h"
#include "PhoneToggle.h"
#include "PreviewView.h"
#include "UserPrompts.h"
#include "WindowLook.h"
#include "Workspace.h"

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

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

// The list of display names. A drag of the selection within it ends in
// `dropped` with the row the entries go before, so that the panel makes the
// move one undo step; a drop onto a selected entry moves nothing.
class ItemListView : public QListView
{
public:
    using QListView::QListView;
    std::function<void(int row)> dropped;

protected:
    void dropEvent(QDropEvent *event) override
    {
        stopAutoScroll();
        setState(NoState);
        viewport()->update();
        if (event->source() != this || !dropped) {
            event->ignore();
            return;
        }
        const QPoint at = event->position().toPoint();
        const QModelIndex onto = indexAt(at);
        if (!onto.isValid())
            dropped(model()->rowCount());
        else if (!selectionModel()->isSelected(onto))
            dropped(at.y() < visualRect(onto).center().y() ? onto.row() : onto.row() + 1);
        // The move is made, or refused, already: declined, the drag leaves
        // the view nothing to remove.
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
    }
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

    auto *view = new ItemListView(this);
    view->dropped = [this](int row) { dropSelected(row); };
    m_itemList = view;
    m_itemList->setObjectName(QStringLiteral("lstlei"));
    m_itemList->setAccessibleName(QStringLiteral("生成项目"));
    m_itemList->setModel(m_model);
    m_itemList->setItemDelegate(new RowDelegate(m_itemList));
    m_itemList->setUniformItemSizes(true);
    m_itemList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_itemList->setDragDropMode(QAbstractItemView::InternalMove);
    m_itemList->setDefaultDropAction(Qt::MoveAction);
    m_itemList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_itemList->setFrameShape(QFrame::NoFrame);
    m_itemList->setFont(pixelFont(13));
    m_itemList->setStyleSheet(
        QStringLiteral("QListView { background: white; } QListView::item { padding-left: 2px; }"));
    row->addWidget(m_itemList, 1);
    connect(m_itemList, &QListView::doubleClicked, this,
            [this](const QModelIndex &index) { m_content->editItem(index.row()); });
    addListKeys();

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

void ItemListPanel::addListKeys()
{
    // Keys of the list alone: elsewhere Delete and Ctrl+C stay the fields'.
    const auto key = [this](const QList<QKeySequence> &keys, void (ItemListPanel::*run)()) {
        auto *action = new QAction(m_itemList);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, run);
        m_itemList->addAction(action);
        return action;
    };
    key({Qt::Key_F2, Qt::Key_Return, Qt::Key_Enter}, &ItemListPanel::editItem);
    key({Qt::Key_Delete}, &ItemListPanel::deleteItem);
    key({QKeySequence(Qt::CTRL | Qt::Key_Up)}, &ItemListPanel::moveUp);
    key({QKeySequence(Qt::CTRL | Qt::Key_Down)}, &ItemListPanel::moveDown);
    // Every copy key of the platform, which the view would otherwise answer
    // with the current entry's name.
    key(QKeySequence::keyBindings(QKeySequence::Copy), &ItemListPanel::copyItems);
    m_duplicate = key({QKeySequence(Qt::CTRL | Qt::Key_D)}, &ItemListPanel::duplicateItems);
    m_duplicate->setText(QStringLiteral("复制一份"));
    connect(m_itemList->selectionModel(), &QItemSelectionModel::selectionChanged, m_duplicate,
            [this] { m_duplicate->setEnabled(m_itemList->selectionModel()->hasSelection()); });
}

void ItemListPanel::buildMenu()
{
    // The list's context menu, every entry in order.
    m_menu = new QMenu(m_itemList);
    m_menu->setObjectName(QStringLiteral("lstleiMenu"));
    QAction *edit = m_menu->addAction(QStringLiteral("编辑内容…"), this, &ItemListPanel::editItem);
    m_menu->addAction(m_duplicate);
    QAction *assets = m_menu->addAction(QStringLiteral("图片链接…"), this, &ItemListPanel::editPageAddresses);
    connect(m_menu, &QMenu::aboutToShow, this, [this, edit, assets] {
        edit->setEnabled(selectedRow() >= 0);
        m_duplicate->setEnabled(m_itemList->selectionModel()->hasSelection());
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
        // A right click on a row chooses that row, as in any list; on a
        // selected row it keeps the whole selection.
        const QModelIndex index = m_itemList->indexAt(pos);
        if (index.isValid() && !m_itemList->selectionModel()->isSelected(index))
            m_itemList->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
        m_menu->popup(m_itemList->viewport()->mapToGlobal(pos));
    });
}

int ItemListPanel::selectedRow() const
{
    // Of several, the one last clicked or reached with the keys.
    const QItemSelectionModel *selection = m_itemList->selectionModel();
    if (selection->isSelected(selection->currentIndex()))
        return selection->currentIndex().row();
    const QList<int> rows = selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst();
}

QList<int> ItemListPanel::selectedRows() const
{
    QList<int> rows;
    const QItemSelection selection = m_itemList->selectionModel()->selection();
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void ItemListPanel::selectRows(const QList<int> &rows)
{
    // One range per block of rows, not one per entry.
    QItemSelection selection;
    for (qsizetype k = 0; k < rows.size();) {
        qsizetype end = k + 1;
        while (end < rows.size() && rows.at(end) == rows.at(end - 1) + 1)
            ++end;
        selection.select(m_model->index(rows.at(k), 0), m_model->index(rows.at(end - 1), 0));
        k = end;
    }
    QItemSelectionModel *selected = m_itemList->selectionModel();
    if (!rows.isEmpty())
        selected->setCurrentIndex(m_model->index(rows.constFirst(), 0), QItemSelectionModel::NoUpdate);
    selected->select(selection, QItemSelectionModel::ClearAndSelect);
}

void ItemListPanel::moveSelected(bool up)
{
    const QList<int> rows = selectedRows();
    const int count = m_workspace.items().count();
    const QList<int> order = up ? GeneratedItems::orderMovingUp(rows, count)
                                : GeneratedItems::orderMovingDown(rows, count);
    if (order.isEmpty())
        return;
    m_undo.push(
        new ReorderItemsCommand(m_workspace.items(), order, up ? QStringLiteral("上移") : QStringLiteral("下移")));
    // One entry moves alone and is left unselected, as always; several stay
    // selected where they now stand.
    if (rows.size() == 1)
        m_itemList->selectionModel()->clear();
    else
        selectRows(GeneratedItems::rowsAfter(order, rows));
    m_itemList->setFocus();
}

void ItemListPanel::moveUp()
{
    moveSelected(true);
}

void ItemListPanel::moveDown()
{
    moveSelected(false);
}

void ItemListPanel::dropSelected(int row)
{
    const QList<int> rows = selectedRows();
    const QList<int> order = GeneratedItems::orderMovingTo(rows, row, m_workspace.items().count());
    if (order.isEmpty())
        return;
    m_undo.push(new ReorderItemsCommand(m_workspace.items(), order, QStringLiteral("拖动")));
    selectRows(GeneratedItems::rowsAfter(order, rows));
}

void ItemListPanel::deleteItem()
{
    const QList<int> rows = selectedRows();
    if (!GeneratedItems::isSelection(rows, m_workspace.items().count()))
        return;
    m_undo.push(new RemoveItemsCommand(m_workspace.items(), rows));
    m_itemList->selectionModel()->clear();
}

void ItemListPanel::duplicateItems()
{
    const QList<int> rows = selectedRows();
    if (!GeneratedItems::isSelection(rows, m_workspace.items().count()))
        return;
    auto *duplicate = new DuplicateItemsCommand(m_workspace.items(), rows);
    m_undo.push(duplicate);
    selectRows(duplicate->copies());
}

void ItemListPanel::copyItems()
{
    const QList<int> rows = selectedRows();
    if (!GeneratedItems::isSelection(rows, m_workspace.items().count()))
        return;
    QStringList snippets;
    snippets.reserve(rows.size());
    for (const int row : rows)
        snippets.append(m_workspace.items().snippet(row));
    QGuiApplication::clipboard()->setText(PageOutput::pageText(snippets));
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
