#include "MainWindow.h"

#include "ContentEditing.h"
#include "FunctionButton.h"
#include "GeneratedItemsModel.h"
#include "InputHabits.h"
#include "ItemCommands.h"
#include "LayoutActions.h"
#include "LayoutCommands.h"
#include "PreviewView.h"
#include "ScreenFit.h"
#include "SectionPanel.h"
#include "UserPrompts.h"
#include "Workspace.h"

#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QUndoStack>
#include <QVBoxLayout>

const QString MainWindow::StartPrompt = QStringLiteral("点击左边的标签，右侧选择样式即可预览");

namespace {

// The function list's hover colour is the right column's colour.
const QColor &RightColumnColour = FunctionButton::HoverColour;

QFont pixelFont(int pixels, bool bold = false)
{
    QFont f = QGuiApplication::font();
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QLabel *label(const QString &name, const QString &text, QPoint pos, int pixels, const QColor &colour, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setFont(pixelFont(pixels));
    if (colour.isValid()) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, colour);
        l->setPalette(p);
    }
    l->move(pos);
    l->adjustSize();
    return l;
}

void fill(QWidget *w, const QColor &colour)
{
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
}

// The left column's picture: a dark grey band 50 pixels high over white.
class LeftPanel : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.fillRect(QRect(0, 0, width(), 50), QColor(64, 64, 64));
    }
};

// The generated-items header picture: plain mid grey.
class HeaderPicture : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), QColor(128, 128, 128)); }
};

class GradientHandle : public QSplitterHandle
{
public:
    using QSplitterHandle::QSplitterHandle;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), 0);
        g.setColorAt(0, QColor(230, 230, 230));
        g.setColorAt(1, QColor(150, 150, 150));
        p.fillRect(rect(), g);
    }
};

class Splitter : public QSplitter
{
public:
    using QSplitter::QSplitter;

protected:
    QSplitterHandle *createHandle() override { return new GradientHandle(orientation(), this); }
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

MainWindow::MainWindow(Workspace &workspace, UserPrompts *prompts, QWidget *parent)
    : QMainWindow(parent)
    , m_workspace(workspace)
    , m_ownPrompts(prompts ? nullptr : std::make_unique<UserPrompts>())
    , m_prompts(prompts ? prompts : m_ownPrompts.get())
    , m_model(new GeneratedItemsModel(workspace.items(), this))
    , m_undo(new QUndoStack(this))
{
    m_prompts->setOwner(this);
    setObjectName(QStringLiteral("Frmmian"));
    setWindowTitle(QStringLiteral("Zanfor描述排版器"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto *splitter = new Splitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("rzspltr1"));
    splitter->setHandleWidth(4);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildLeftColumn());
    splitter->addWidget(buildRightColumn());
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({219, ClientWidth - 219 - 4});
    setCentralWidget(splitter);
    m_content = new ContentEditing(m_workspace, *m_undo, *m_prompts, *m_wb1, this);

    // Undo and redo of every change to the list, window-wide; a focused
    // text field takes the same keys for its own editing first. Every key
    // the platform binds to undo and redo counts, not only the first one,
    // and redo answers both Ctrl+Y and Ctrl+Shift+Z everywhere (X11 binds
    // only the latter). Each key once: a key bound twice fires nothing.
    QAction *undo = m_undo->createUndoAction(this);
    undo->setShortcuts(QKeySequence::Undo);
    QAction *redo = m_undo->createRedoAction(this);
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &key :
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
        if (!redoKeys.contains(key))
            redoKeys.append(key);
    }
    redo->setShortcuts(redoKeys);
    addActions({undo, redo});

    m_layoutActions = new LayoutActions(m_workspace, *m_undo, *m_prompts, this);
    buildListMenu();
    // Opening a layout, and undoing that, set the shop type as well.
    connect(m_undo, &QUndoStack::indexChanged, this, &MainWindow::showShopType);

    // The start prompt: what the view shows until the first preview.
    m_wb1->showPrompt(StartPrompt);

    // Centred, or shrunk onto a screen smaller than the window.
    new ScreenFit(this);
    // No stray second click, Enter on a button clicks it.
    new InputHabits(this);
}

MainWindow::~MainWindow()
{
    // An undo stack that still holds steps announces its emptying as it
    // goes, and the caption and the shop type follow that signal: let it go
    // while the window is whole, not among the children QWidget deletes.
    delete m_undo;
}

QWidget *MainWindow::buildLeftColumn()
{
    auto *pane = new QWidget;
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(10, 10, 10, 10);
    auto *rzpnl2 = new LeftPanel(pane);
    rzpnl2->setObjectName(QStringLiteral("rzpnl2"));
    layout->addWidget(rzpnl2);

    label(QStringLiteral("lbl5"), QStringLiteral("参数设置"), {78, 24}, 16, Qt::white, rzpnl2);

    auto *shopType = new QGroupBox(QStringLiteral("店铺类型"), rzpnl2);
    shopType->setObjectName(QStringLiteral("rzrdgrpleixing"));
    shopType->setGeometry(24, 72, 169, 55);
    m_shopTypes = new QButtonGroup(shopType);
    const QStringList shops{QStringLiteral("集市店     "), QStringLiteral("天猫店")};
    for (int i = 0; i < shops.size(); ++i) {
        auto *item = new QRadioButton(shops.at(i), shopType);
        item->setGeometry(10 + i * 80, 22, 78, 25);
        item->setAccessibleName(QStringLiteral("店铺类型 ") + shops.at(i).trimmed());
        m_shopTypes->addButton(item, i);
    }
    connect(m_shopTypes, &QButtonGroup::idClicked, this, &MainWindow::chooseShopType);

    m_lblleixing = new QLabel(m_workspace.pageWidth(), rzpnl2);
    m_lblleixing->setObjectName(QStringLiteral("lblleixing"));
    m_lblleixing->setTextFormat(Qt::PlainText);
    m_lblleixing->hide();

    label(QStringLiteral("lbl13"), QStringLiteral("— 功能列表 —"), {66, 152}, 14, {}, rzpnl2);

    for (const SectionInfo &info : sectionTable()) {
        auto *button = new FunctionButton(info.buttonCaption, rzpnl2);
        button->setObjectName(info.buttonName());
        button->setGeometry(QRect(info.buttonPos, QSize(80, 50)));
        const int number = info.number;
        connect(button, &FunctionButton::clicked, this, [this, number] { openSection(number); });
        m_buttons.push_back(button);
    }

    // On a screen lower than the window the column scrolls, so the lowest
    // function button stays within reach; where the window fits, the
    // column has room for all and looks as it always did.
    QRect used;
    for (const FunctionButton *button : m_buttons)
        used |= button->geometry();
    rzpnl2->setMinimumSize(used.right() + 1, used.bottom() + 1 + 10);
    auto *column = new QScrollArea;
    column->setObjectName(QStringLiteral("leftColumn"));
    column->setFrameShape(QFrame::NoFrame);
    column->setWidgetResizable(true);
    column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->setFocusPolicy(Qt::NoFocus);
    column->setMinimumWidth(40);
    column->setWidget(pane);
    return column;
}

QWidget *MainWindow::buildRightColumn()
{
    auto *pane = new QWidget;
    auto *row = new QHBoxLayout(pane);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    const QString scratch[] = {m_workspace.files().previewPath(), m_workspace.files().listPath()};
    m_wb1 = new PreviewView(QStringList(std::begin(scratch), std::end(scratch)), pane);
    m_wb1->setObjectName(QStringLiteral("wb1"));
    m_wb1->setMinimumWidth(100);
    row->addWidget(m_wb1, 1);

    auto *scrlbx2 = new QWidget(pane);
    scrlbx2->setObjectName(QStringLiteral("scrlbx2"));
    scrlbx2->setFixedWidth(272);
    fill(scrlbx2, RightColumnColour);
    auto *column = new QVBoxLayout(scrlbx2);
    column->setContentsMargins(10, 10, 10, 10);
    row->addWidget(scrlbx2);

    m_scrlbx1 = new QScrollArea(scrlbx2);
    m_scrlbx1->setObjectName(QStringLiteral("scrlbx1"));
    m_scrlbx1->setAccessibleName(QStringLiteral("工作区"));
    m_scrlbx1->setFrameShape(QFrame::NoFrame);
    m_scrlbx1->setWidgetResizable(true);
    m_scrlbx1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fill(m_scrlbx1, RightColumnColour);
    column->addWidget(m_scrlbx1);

    auto *work = new QWidget;
    fill(work, RightColumnColour);
    m_workLayout = new QVBoxLayout(work);
    m_workLayout->setContentsMargins(0, 0, 0, 0);
    m_workLayout->setSpacing(0);

    for (const SectionInfo &info : sectionTable()) {
        auto *panel = new SectionPanel(
            m_workspace.section(info.number), *m_prompts, [this] { return m_workspace.pageWidth(); }, work);
        connect(panel, &SectionPanel::previewWritten, m_wb1, &PreviewView::showFile);
        connect(panel, &SectionPanel::addRequested, this, &MainWindow::addItem);
        m_panels.push_back(panel);
        // Some panels stand in the work area from the start, hidden; the
        // others join them when first opened.
        if (info.startsInWorkArea)
            m_workLayout->addWidget(panel);
        else
            panel->hide();
    }

    m_img7 = new QWidget(work);
    m_img7->setObjectName(QStringLiteral("img7"));
    m_img7->setFixedHeight(10);
    m_workLayout->addWidget(m_img7);
    m_workLayout->addWidget(buildGeneratedItemsPanel(), 1);
    m_scrlbx1->setWidget(work);
    return pane;
}

QWidget *MainWindow::buildGeneratedItemsPanel()
{
    auto *rzpnl5 = new QWidget;
    rzpnl5->setObjectName(QStringLiteral("rzpnl5"));
    auto *layout = new QVBoxLayout(rzpnl5);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *img2 = new HeaderPicture(rzpnl5);
    img2->setObjectName(QStringLiteral("img2"));
    img2->setFixedHeight(50);
    label(QStringLiteral("lbl6"), QStringLiteral("生成项目"), {94, 16}, 16, Qt::white, img2);
    layout->addWidget(img2);

    auto *rzpnl14 = new QWidget(rzpnl5);
    rzpnl14->setObjectName(QStringLiteral("rzpnl14"));
    rzpnl14->setFixedHeight(10);
    layout->addWidget(rzpnl14);

    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    layout->addLayout(row, 1);

    m_lstlei = new QListView(rzpnl5);
    m_lstlei->setObjectName(QStringLiteral("lstlei"));
    m_lstlei->setAccessibleName(QStringLiteral("生成项目"));
    m_lstlei->setModel(m_model);
    m_lstlei->setItemDelegate(new RowDelegate(m_lstlei));
    m_lstlei->setUniformItemSizes(true);
    m_lstlei->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstlei->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstlei->setFrameShape(QFrame::NoFrame);
    m_lstlei->setFont(pixelFont(13));
    m_lstlei->setStyleSheet(QStringLiteral("QListView { background: white; } QListView::item { padding-left: 2px; }"));
    row->addWidget(m_lstlei, 1);
    connect(m_lstlei, &QListView::doubleClicked, this,
            [this](const QModelIndex &index) { m_content->editItem(index.row()); });
    auto *editKeys = new QAction(m_lstlei);
    editKeys->setShortcuts({Qt::Key_F2, Qt::Key_Return, Qt::Key_Enter});
    editKeys->setShortcutContext(Qt::WidgetShortcut);
    connect(editKeys, &QAction::triggered, this, &MainWindow::editItem);
    m_lstlei->addAction(editKeys);

    auto *rzpnl3 = new QWidget(rzpnl5);
    rzpnl3->setObjectName(QStringLiteral("rzpnl3"));
    rzpnl3->setFixedWidth(60);
    fill(rzpnl3, rzpnl3->palette().color(QPalette::Midlight));
    row->addWidget(rzpnl3);

    struct Button
    {
        const char *name;
        QString caption;
        QRect rect;
        void (MainWindow::*action)();
    };
    const Button buttons[] = {
        {"btnup", QStringLiteral("上移"), {8, 6, 46, 25}, &MainWindow::moveUp},
        {"btndown", QStringLiteral("下移"), {8, 35, 46, 25}, &MainWindow::moveDown},
        {"btndel", QStringLiteral("删除"), {8, 65, 46, 25}, &MainWindow::deleteItem},
        {"btnclear", QStringLiteral("清空"), {8, 94, 46, 25}, &MainWindow::clearItems},
        {"btn5", QStringLiteral("预览"), {8, 140, 46, 30}, &MainWindow::pagePreview},
        {"btntiqu", QStringLiteral("提取"), {8, 174, 46, 30}, &MainWindow::extract},
        {"editButton", QStringLiteral("编辑"), {8, 212, 46, 25}, &MainWindow::editItem},
        {"assetsButton", QStringLiteral("图片链接"), {8, 241, 46, 25}, &MainWindow::editPageAddresses},
        {"saveButton", QStringLiteral("保存"), {8, 281, 46, 25}, &MainWindow::saveLayout},
        {"openButton", QStringLiteral("打开"), {8, 310, 46, 25}, &MainWindow::openLayout},
    };
    int columnHeight = 0;
    for (const Button &b : buttons) {
        auto *button = new QPushButton(b.caption, rzpnl3);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(b.rect);
        connect(button, &QPushButton::clicked, this, b.action);
        columnHeight = qMax(columnHeight, b.rect.bottom() + 1 + 6);
    }
    // Four characters do not fit 46 pixels at the window's font: this
    // caption alone is drawn at 10 pixels rather than cut off.
    rzpnl3->findChild<QPushButton *>(QStringLiteral("assetsButton"))->setFont(pixelFont(10));

    rzpnl3->setMinimumHeight(columnHeight);

    // Room for five rows of the list beside the whole button column.
    rzpnl5->setMinimumHeight(50 + 10 + qMax(5 * 25, columnHeight));
    return rzpnl5;
}

void MainWindow::openSection(int number)
{
    SectionPanel *panel = this->panel(number);
    SectionFrame &frame = panel->frame();
    if (frame.panel() == PanelState::Stored) {
        // Newly opened panels join the open ones, above the spacer.
        m_workLayout->insertWidget(m_workLayout->indexOf(m_img7), panel);
    }
    frame.open();
    panel->sync();
    QMetaObject::invokeMethod(
        this, [this, panel] { m_scrlbx1->ensureWidgetVisible(panel, 0, 0); }, Qt::QueuedConnection);

    if (!frame.info().openNotice.isEmpty())
        m_prompts->notice(frame.info().openNotice);
}

void MainWindow::chooseShopType(int index)
{
    // A choice is a step of its own, undone like any change to the page;
    // the same type again, or no type, is none.
    if ((index == ShopType::Market || index == ShopType::Tmall) && index != m_workspace.shopType())
        m_undo->push(new ShopTypeCommand(m_workspace, index));
    showShopType();
}

void MainWindow::showShopType()
{
    m_lblleixing->setText(m_workspace.pageWidth());
    if (QAbstractButton *shop = m_shopTypes->button(m_workspace.shopType())) {
        shop->setChecked(true);
    } else if (QAbstractButton *checked = m_shopTypes->checkedButton()) {
        // No shop type, as at start: an exclusive group cannot uncheck its
        // last button, so it lets go for the moment.
        m_shopTypes->setExclusive(false);
        checked->setChecked(false);
        m_shopTypes->setExclusive(true);
    }
}

void MainWindow::buildListMenu()
{
    // The list's context menu, every entry in order.
    m_listMenu = new QMenu(m_lstlei);
    m_listMenu->setObjectName(QStringLiteral("lstleiMenu"));
    QAction *edit = m_listMenu->addAction(QStringLiteral("编辑内容…"), this, &MainWindow::editItem);
    QAction *assets = m_listMenu->addAction(QStringLiteral("图片链接…"), this, &MainWindow::editPageAddresses);
    connect(m_listMenu, &QMenu::aboutToShow, this, [this, edit, assets] {
        edit->setEnabled(selectedRow() >= 0);
        assets->setEnabled(m_workspace.items().count() > 0);
    });
    m_listMenu->addSeparator();
    const LayoutActions &layout = *m_layoutActions;
    m_listMenu->addActions({layout.saveAction(), layout.saveAsAction()});
    m_listMenu->addSeparator();
    m_listMenu->addActions({layout.openAction(), layout.insertAction()});
    m_listMenu->addMenu(layout.recentMenu());
    m_listMenu->addSeparator();
    m_listMenu->addAction(layout.exportAction());

    m_lstlei->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_lstlei, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        // A right click on a row chooses that row, as in any list.
        if (const QModelIndex index = m_lstlei->indexAt(pos); index.isValid())
            m_lstlei->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
        m_listMenu->popup(m_lstlei->viewport()->mapToGlobal(pos));
    });
}

int MainWindow::selectedRow() const
{
    const QModelIndexList selected = m_lstlei->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void MainWindow::moveSelected(MoveItemCommand::Direction direction)
{
    const int i = selectedRow();
    const int count = m_workspace.items().count();
    const bool possible = direction == MoveItemCommand::Up ? GeneratedItems::canMoveUp(i, count)
                                                           : GeneratedItems::canMoveDown(i, count);
    if (!possible)
        return;
    m_undo->push(new MoveItemCommand(m_workspace.items(), i, direction));
    // The selection does not follow the moved entry.
    m_lstlei->selectionModel()->clear();
    m_lstlei->setFocus();
}

void MainWindow::moveUp()
{
    moveSelected(MoveItemCommand::Up);
}

void MainWindow::moveDown()
{
    moveSelected(MoveItemCommand::Down);
}

void MainWindow::deleteItem()
{
    const int i = selectedRow();
    if (i < 0 || i >= m_workspace.items().count())
        return;
    m_undo->push(new RemoveItemCommand(m_workspace.items(), i));
    m_lstlei->selectionModel()->clear();
}

void MainWindow::clearItems()
{
    if (m_workspace.items().count() == 0)
        return;
    m_undo->push(new ClearItemsCommand(m_workspace.items()));
}

void MainWindow::addItem(const GeneratedItem &item)
{
    m_undo->push(new AddItemCommand(m_workspace.items(), item));
}

void MainWindow::pagePreview()
{
    const PreviewResult result = m_workspace.output().pagePreview(m_workspace.items().snippets());
    if (!result) {
        m_prompts->error(result.error());
        return;
    }
    m_wb1->showFile(*result);
}

void MainWindow::extract()
{
    const QString &memo = m_workspace.output().memo();
    // An empty memo would leave the clipboard as it was: say so rather than
    // claim the code was extracted.
    if (memo.isEmpty()) {
        m_prompts->notice(QStringLiteral("没有可提取的代码"));
        return;
    }
    QGuiApplication::clipboard()->setText(memo);
    m_prompts->notice(QStringLiteral("代码已经提取"));
}

void MainWindow::editItem()
{
    m_content->editItem(selectedRow());
}

void MainWindow::editPageAddresses()
{
    m_content->editPageAddresses();
}

void MainWindow::saveLayout()
{
    m_layoutActions->save();
}

void MainWindow::openLayout()
{
    m_layoutActions->open();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_layoutActions->confirmClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
