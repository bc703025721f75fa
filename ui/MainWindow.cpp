#include "MainWindow.h"

#include "FunctionButton.h"
#include "InputHabits.h"
#include "ItemListPanel.h"
#include "LayoutActions.h"
#include "LayoutCommands.h"
#include "PreviewView.h"
#include "RecoveryActions.h"
#include "ScreenFit.h"
#include "SectionPanel.h"
#include "UserPrompts.h"
#include "WindowLook.h"
#include "Workspace.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>
#include <QUndoStack>
#include <QVBoxLayout>

const QString MainWindow::StartPrompt = QStringLiteral("点击左边的标签，右侧选择样式即可预览");

namespace {

// The function list's hover colour is the right column's colour.
const QColor &RightColumnColour = FunctionButton::HoverColour;

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

} // namespace

MainWindow::MainWindow(Workspace &workspace, UserPrompts *prompts, QWidget *parent)
    : QMainWindow(parent)
    , m_workspace(workspace)
    , m_ownPrompts(prompts ? nullptr : std::make_unique<UserPrompts>())
    , m_prompts(prompts ? prompts : m_ownPrompts.get())
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
    // The layout-file actions take their keys window-wide and keep the
    // caption; the list's menu offers them.
    m_layoutActions = new LayoutActions(m_workspace, *m_undo, *m_prompts, this);
    splitter->addWidget(buildLeftColumn());
    splitter->addWidget(buildRightColumn());
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({219, ClientWidth - 219 - 4});
    setCentralWidget(splitter);

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

    // Opening a layout, and undoing that, set the shop type as well.
    connect(m_undo, &QUndoStack::indexChanged, this, &MainWindow::showShopType);

    // The start prompt: what the view shows until the first preview.
    m_preview->showPrompt(StartPrompt);

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

    WindowLook::label(QStringLiteral("lbl5"), QStringLiteral("参数设置"), {78, 24}, 16, Qt::white, rzpnl2);

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

    m_pageWidthLabel = new QLabel(m_workspace.pageWidth(), rzpnl2);
    m_pageWidthLabel->setObjectName(QStringLiteral("lblleixing"));
    m_pageWidthLabel->setTextFormat(Qt::PlainText);
    m_pageWidthLabel->hide();

    WindowLook::label(QStringLiteral("lbl13"), QStringLiteral("— 功能列表 —"), {66, 152}, 14, {}, rzpnl2);

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
    m_preview = new PreviewView(QStringList(std::begin(scratch), std::end(scratch)), pane);
    m_preview->setObjectName(QStringLiteral("wb1"));
    m_preview->setMinimumWidth(100);
    m_preview->setPageWidthSource([this] { return m_workspace.pageWidth().toInt(); });
    row->addWidget(m_preview, 1);

    auto *scrlbx2 = new QWidget(pane);
    scrlbx2->setObjectName(QStringLiteral("scrlbx2"));
    scrlbx2->setFixedWidth(272);
    WindowLook::fill(scrlbx2, RightColumnColour);
    auto *column = new QVBoxLayout(scrlbx2);
    column->setContentsMargins(10, 10, 10, 10);
    row->addWidget(scrlbx2);

    m_workArea = new QScrollArea(scrlbx2);
    m_workArea->setObjectName(QStringLiteral("scrlbx1"));
    m_workArea->setAccessibleName(QStringLiteral("工作区"));
    m_workArea->setFrameShape(QFrame::NoFrame);
    m_workArea->setWidgetResizable(true);
    m_workArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    WindowLook::fill(m_workArea, RightColumnColour);
    column->addWidget(m_workArea);

    auto *work = new QWidget;
    WindowLook::fill(work, RightColumnColour);
    m_workLayout = new QVBoxLayout(work);
    m_workLayout->setContentsMargins(0, 0, 0, 0);
    m_workLayout->setSpacing(0);

    for (const SectionInfo &info : sectionTable()) {
        auto *panel = new SectionPanel(
            m_workspace.section(info.number), *m_prompts, [this] { return m_workspace.pageWidth(); }, work);
        connect(panel, &SectionPanel::previewWritten, m_preview, &PreviewView::showFile);
        connect(panel, &SectionPanel::addRequested, this,
                [this](const GeneratedItem &item) { m_items->addItem(item); });
        m_panels.push_back(panel);
        // Some panels stand in the work area from the start, hidden; the
        // others join them when first opened.
        if (info.startsInWorkArea)
            m_workLayout->addWidget(panel);
        else
            panel->hide();
    }

    m_spacer = new QWidget(work);
    m_spacer->setObjectName(QStringLiteral("img7"));
    m_spacer->setFixedHeight(10);
    m_workLayout->addWidget(m_spacer);
    m_items = new ItemListPanel(m_workspace, *m_undo, *m_prompts, *m_preview, *m_layoutActions, this);
    m_workLayout->addWidget(m_items, 1);
    m_workArea->setWidget(work);
    return pane;
}

void MainWindow::openSection(int number)
{
    SectionPanel *panel = this->panel(number);
    SectionFrame &frame = panel->frame();
    if (frame.panel() == PanelState::Stored) {
        // Newly opened panels join the open ones, above the spacer.
        m_workLayout->insertWidget(m_workLayout->indexOf(m_spacer), panel);
    }
    frame.open();
    panel->sync();
    QMetaObject::invokeMethod(
        this, [this, panel] { m_workArea->ensureWidgetVisible(panel, 0, 0); }, Qt::QueuedConnection);

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
    m_pageWidthLabel->setText(m_workspace.pageWidth());
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

void MainWindow::keepRecoveryCopies(std::shared_ptr<RecoveryStore> store)
{
    m_recovery = new RecoveryActions(std::move(store), m_workspace, *m_layoutActions, *m_prompts, this);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_layoutActions->confirmClose()) {
        event->ignore();
        return;
    }
    // Saved, or given up on purpose: nothing is left to recover.
    if (m_recovery)
        m_recovery->finish();
    QMainWindow::closeEvent(event);
}

QListView *MainWindow::itemList() const
{
    return m_items->list();
}
