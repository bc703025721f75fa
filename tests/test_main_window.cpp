// Drives the real main window: widgets found by name, clicked and typed into
// as a user would, the web view's pages read back after they load.

#include "ColourEdit.h"
#include "FunctionButton.h"
#include "MainWindow.h"
#include "PreviewView.h"
#include "RecordingPrompts.h"
#include "ScratchPlatform.h"
#include "SectionPanel.h"
#include "StyleGroup.h"
#include "TestSupport.h"
#include "WindowFixture.h"
#include "Workspace.h"

#include <QBuffer>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QUndoStack>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

#include <signal.h>
#include <sys/stat.h>

namespace {

// Waits end as soon as what they wait for happens; the limit only stops a
// wait for something that never comes, on a machine however busy.
constexpr int LoadTimeout = 60000;

const QString CouponNotice = QStringLiteral("优惠券版式有些许错位，如果懂html代码可直接修改代码或者等待新版中修复！！");

// Records every message instead of showing it, and answers the colour
// dialog with `answer`.
class ColourPrompts : public RecordingPrompts
{
public:
    std::optional<QColor> askColour(const QColor &preselected) override
    {
        asked.append(preselected);
        return answer;
    }

    QList<QColor> asked;
    std::optional<QColor> answer;
};

// The page's text, read back through the view's asynchronous call.
QString pageText(QWebEnginePage *page, bool html = false)
{
    auto result = std::make_shared<std::optional<QString>>();
    const auto store = [result](const QString &text) { *result = text; };
    if (html)
        page->toHtml(store);
    else
        page->toPlainText(store);
    if (!waitUntil([&] { return result->has_value(); }))
        return QStringLiteral("<no answer>");
    return **result;
}

// Counts the drag events a widget receives.
class DragEvents : public QObject
{
public:
    int moves = 0;
    int drops = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        moves += event->type() == QEvent::DragMove;
        drops += event->type() == QEvent::Drop;
        return false;
    }
};

// One window over a workspace whose scratch files live in a fresh folder.
struct Fixture : TemporaryWorkspace
{
    // With `realPrompts` the window shows its own message boxes.
    explicit Fixture(bool realPrompts = false)
        : window(ws, realPrompts ? nullptr : &prompts)
        , loads(window.preview(), &PreviewView::loadFinished)
    {
    }

    // Shows and activates the window and waits for the start prompt.
    bool start()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window, LoadTimeout) && waitLoad(0);
    }

    // Waits until more than `before` loads have finished; all must succeed.
    bool waitLoad(qsizetype before)
    {
        if (!waitUntil([&] { return loads.size() > before; }))
            return false;
        for (const QList<QVariant> &load : std::as_const(loads)) {
            if (!load.at(0).toBool())
                return false;
        }
        return true;
    }

    template<typename T = QWidget>
    T *find(const QString &name) const
    {
        T *w = window.findChild<T *>(name);
        if (!w)
            qWarning() << "no widget" << name;
        return w;
    }

    QWebEnginePage *page() const { return window.preview()->view()->page(); }
    QListView *list() const { return window.itemList(); }

    void click(const QString &name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    void openSection(int number) { QTest::mouseClick(window.functionButton(number), Qt::LeftButton); }
    // Clicks style `index` of a section on its round mark.
    void clickStyle(int number, int index)
    {
        QRadioButton *item = window.panel(number)->styleGroup()->item(index);
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
    }
    void select(int row)
    {
        list()->selectionModel()->select(list()->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
    }
    int selectedCount() const { return int(list()->selectionModel()->selectedIndexes().size()); }

    // Sends a key sequence where a user's key press would go: the focused
    // widget, or the window when nothing in it has the focus.
    void press(const QKeySequence &keys)
    {
        QWidget *target = QApplication::focusWidget();
        QTest::keySequence(target ? target : &window, keys);
    }

    void fill(int count)
    {
        for (int i = 0; i < count; ++i)
            ws.items().append(QStringLiteral("<p>snippet %1</p>").arg(i), QStringLiteral("  name-%1").arg(i));
    }

    // Both lists as one text, to compare whole states.
    QString lists()
    {
        QStringList rows;
        for (int i = 0; i < ws.items().count(); ++i)
            rows.append(ws.items().name(i) + u'|' + ws.items().snippet(i));
        return rows.join(u'\n');
    }
    // The names the list view shows.
    QStringList shownNames() const
    {
        QStringList names;
        for (int i = 0; i < list()->model()->rowCount(); ++i)
            names.append(list()->model()->index(i, 0).data().toString());
        return names;
    }

    ColourPrompts prompts;
    MainWindow window;
    QSignalSpy loads;
};

QImage solidImage(const QColor &colour, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QString dataUrl(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

// Pixels of the image close to `colour`.
int countNear(const QImage &image, const QColor &colour)
{
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (qAbs(qRed(line[x]) - colour.red()) < 40 && qAbs(qGreen(line[x]) - colour.green()) < 40
                && qAbs(qBlue(line[x]) - colour.blue()) < 40)
                ++n;
        }
    }
    return n;
}

// Ends the process when a test step blocks the window for good, so a hang
// fails with its reason before the test runner's limit. The limit is far
// beyond any step's time on a busy machine: this catches hangs, not slowness.
class Watchdog
{
public:
    explicit Watchdog(std::chrono::seconds limit)
        : m_thread([this, limit] {
            std::unique_lock lock(m_mutex);
            if (!m_done.wait_for(lock, limit, [this] { return m_finished; })) {
                std::fprintf(stderr, "FAIL: the window was blocked for %lld s\n", (long long)limit.count());
                std::_Exit(1);
            }
        })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void window();
    void functionButtons_data();
    void functionButtons();
    void shopType();

    void openPanels();
    void openTwice_data();
    void openTwice();

    void moveDeleteClear_data();
    void moveDeleteClear();
    void undoRedo_data();
    void undoRedo();
    void undoKeyFollowsFocus_data();
    void undoKeyFollowsFocus();
    void severalEntries_data();
    void severalEntries();

    void pagePreview_data();
    void pagePreview();
    void extract_data();
    void extract();
    void scratchFileFault();

    void customSection();
    void colourChooser_data();
    void colourChooser();
    void colourSharedBetweenEdits();

    void previewIsUntrusted_data();
    void previewIsUntrusted();
    void typedMarkupStaysText();
    void linksOpenInTheBrowser_data();
    void linksOpenInTheBrowser();
    void rendererRecovery();
    void tenThousandItems();
};

void TestMainWindow::window()
{
    Fixture f;
    QVERIFY(f.start());

    QCOMPARE(f.window.objectName(), QStringLiteral("Frmmian"));
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Zanfor描述排版器"));
    QCOMPARE(f.window.size(), QSize(1345, 714));
    QCOMPARE(f.window.minimumSize(), QSize(1345, 714));
    QCOMPARE(f.window.maximumSize(), QSize(1345, 714));
    const Qt::WindowFlags flags = f.window.windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);

    auto *splitter = f.find<QSplitter>(QStringLiteral("rzspltr1"));
    QVERIFY(splitter);
    QCOMPARE(splitter->handleWidth(), 4);
    QCOMPARE(splitter->sizes().value(0), 219);
    QCOMPARE(splitter->geometry(), QRect(0, 0, 1345, 714));
    QCOMPARE(f.find(QStringLiteral("wb1"))->size(), QSize(850, 714));
    QCOMPARE(f.find(QStringLiteral("scrlbx2"))->width(), 272);

    // No panel is open at start; the custom one waits hidden in the work area.
    for (int n = 1; n <= 11; ++n)
        QVERIFY2(!f.window.panel(n)->isVisible(), qPrintable(QString::number(n)));
    QVERIFY(f.list()->isVisible());
    QCOMPARE(f.list()->model()->rowCount(), 0);
    QVERIFY(f.prompts.notices.isEmpty());

    // The view shows the start prompt, alone.
    QCOMPARE(pageText(f.page()), QStringLiteral("点击左边的标签，右侧选择样式即可预览"));

    // Dragging the splitter bar widens the left column and narrows the view;
    // the function-list buttons keep their places in the column.
    QList<QRect> buttons;
    for (int n = 1; n <= 11; ++n)
        buttons.append(f.window.functionButton(n)->geometry());
    splitter->setSizes({300, 1345 - 300 - 4});
    QCoreApplication::sendPostedEvents();
    QCOMPARE(splitter->sizes().value(0), 300);
    QCOMPARE(f.find(QStringLiteral("wb1"))->width(), 850 - 81);
    QCOMPARE(f.find(QStringLiteral("scrlbx2"))->width(), 272);
    for (int n = 1; n <= 11; ++n)
        QCOMPARE(f.window.functionButton(n)->geometry(), buttons.at(n - 1));
}

void TestMainWindow::functionButtons_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QPoint>("pos");

    const struct
    {
        const char *caption;
        QPoint pos;
    } buttons[] = {
        {"关联销售", {24, 193}}, {"分隔条", {112, 193}},   {"产品信息", {24, 252}}, {"尺码表", {112, 252}},
        {"图片列表", {24, 310}}, {"产品细节", {112, 310}}, {"搭配销售", {24, 369}}, {"交流版块", {112, 369}},
        {"优惠券", {24, 428}},   {"自定义", {112, 428}},   {"分割线", {24, 518}},
    };
    int number = 0;
    for (const auto &b : buttons) {
        ++number;
        QTest::addRow("rzpnllei%d", number) << number << QString::fromUtf8(b.caption) << b.pos;
    }
}

void TestMainWindow::functionButtons()
{
    QFETCH(int, number);
    QFETCH(QString, caption);
    QFETCH(QPoint, pos);

    Fixture f;
    QVERIFY(f.start());
    FunctionButton *button = f.find<FunctionButton>(QStringLiteral("rzpnllei%1").arg(number));
    QVERIFY(button);
    QCOMPARE(button, f.window.functionButton(number));
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->parentWidget()->objectName(), QStringLiteral("rzpnl2"));
    QCOMPARE(button->geometry(), QRect(pos, QSize(80, 50)));

    // The real pointer: over the button, then away from it.
    const QColor white(255, 255, 255);
    const QColor green(192, 220, 192);
    QCOMPARE(button->colour(), white);
    QTest::mouseMove(button, QPoint(40, 25));
    QTRY_COMPARE(button->colour(), green);
    QTest::mouseMove(&f.window, QPoint(700, 300));
    QTRY_COMPARE(button->colour(), white);
}

void TestMainWindow::shopType()
{
    Fixture f;
    QVERIFY(f.start());
    auto *group = f.find<QGroupBox>(QStringLiteral("rzrdgrpleixing"));
    auto *width = f.find<QLabel>(QStringLiteral("lblleixing"));
    QVERIFY(group && width);
    QCOMPARE(group->title(), QStringLiteral("店铺类型"));
    QVERIFY(!width->isVisible());

    const QList<QRadioButton *> items = group->findChildren<QRadioButton *>();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(0)->text(), QStringLiteral("集市店     "));
    QCOMPARE(items.at(1)->text(), QStringLiteral("天猫店"));
    QVERIFY(!items.at(0)->isChecked());
    QVERIFY(!items.at(1)->isChecked());
    QCOMPARE(width->text(), QStringLiteral("750"));

    QTest::mouseClick(items.at(1), Qt::LeftButton, {}, QPoint(6, items.at(1)->height() / 2));
    QVERIFY(items.at(1)->isChecked());
    QCOMPARE(width->text(), QStringLiteral("790"));
    QCOMPARE(f.ws.pageWidth(), QStringLiteral("790"));
    QTest::mouseClick(items.at(0), Qt::LeftButton, {}, QPoint(6, items.at(0)->height() / 2));
    QVERIFY(items.at(0)->isChecked());
    QCOMPARE(width->text(), QStringLiteral("750"));
    QCOMPARE(f.ws.pageWidth(), QStringLiteral("750"));
}

void TestMainWindow::openPanels()
{
    Fixture f;
    QVERIFY(f.start());
    SectionPanel *spacer = f.window.panel(SpacerLineSection);
    SectionPanel *custom = f.window.panel(CustomSection);
    SectionPanel *info = f.window.panel(3);
    const int listHeight = f.list()->height();

    f.openSection(SpacerLineSection);
    f.openSection(CustomSection);
    f.openSection(3);
    QVERIFY(spacer->isVisible() && custom->isVisible() && info->isVisible());
    QVERIFY(f.prompts.notices.isEmpty());
    QCoreApplication::sendPostedEvents(); // the work area's layout
    // The three stand one below the other, above a list that got shorter.
    QCOMPARE(spacer->parentWidget(), f.find(QStringLiteral("rzpnl5"))->parentWidget());
    QCOMPARE(info->parentWidget(), spacer->parentWidget());
    QVERIFY(!spacer->geometry().intersects(custom->geometry()));
    QVERIFY(!custom->geometry().intersects(info->geometry()));
    QVERIFY(!info->geometry().intersects(spacer->geometry()));
    const int panelsBottom = qMax(qMax(spacer->geometry().bottom(), custom->geometry().bottom()),
                                  info->geometry().bottom());
    QVERIFY(f.find(QStringLiteral("rzpnl5"))->y() > panelsBottom);
    QVERIFY(f.list()->height() < listHeight);
    QCOMPARE(spacer->width(), f.find(QStringLiteral("rzpnl5"))->width());

    // Product info: a style click previews; Add appends and closes.
    const qsizetype before = f.loads.size();
    f.clickStyle(3, 1);
    QVERIFY(f.waitLoad(before));
    QCOMPARE(info->styleGroup()->choice(), 1);
    f.click(QStringLiteral("btn9"));
    // Spacer line: no preview, Add appends and closes.
    f.clickStyle(SpacerLineSection, 1);
    QCOMPARE(spacer->styleGroup()->choice(), 1);
    f.click(QStringLiteral("btn25"));

    QCOMPARE(f.ws.items().names(),
             QStringList({QStringLiteral("  右图左文-产品信息"), QStringLiteral("  20px-分割线")}));
    QCOMPARE(f.ws.items().snippet(1),
             QStringLiteral("<table width=\"100%\" height=\"20\" border=\"0\" cellpadding=\"0\" "
                            "cellspacing=\"0\"><tr><td></td></tr></table>"));
    QVERIFY(f.ws.items().snippet(0).contains(u'<'));
    QCOMPARE(f.shownNames(), f.ws.items().names());
    QVERIFY(!info->isVisible());
    QVERIFY(!spacer->isVisible());
    QVERIFY(custom->isVisible());
    QCOMPARE(info->styleGroup()->choice(), -1);
    QCOMPARE(spacer->styleGroup()->choice(), -1);
    QVERIFY(f.prompts.notices.isEmpty());
    QVERIFY(f.prompts.errors.isEmpty());

    // Reopened, the panel is back with no style chosen; Add is refused.
    f.openSection(3);
    QVERIFY(info->isVisible());
    f.click(QStringLiteral("btn9"));
    QCOMPARE(f.prompts.notices, QStringList{QStringLiteral("请至少选择一项！")});
    QVERIFY(info->isVisible());
    QCOMPARE(f.ws.items().count(), 2);
}

void TestMainWindow::openTwice_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("style"); // chosen before the second click; -1: none

    QTest::newRow("product info with a style") << 3 << 0;
    QTest::newRow("spacer line with a style") << int(SpacerLineSection) << 2;
    QTest::newRow("custom") << int(CustomSection) << -1;
    QTest::newRow("coupon") << int(CouponSection) << -1;
}

void TestMainWindow::openTwice()
{
    QFETCH(int, number);
    QFETCH(int, style);

    Fixture f;
    QVERIFY(f.start());
    f.openSection(1);
    f.openSection(number);
    SectionPanel *panel = f.window.panel(number);
    // Only the coupon has a notice, and shows it on every click.
    const QStringList notice = number == CouponSection ? QStringList{CouponNotice} : QStringList{};
    QCOMPARE(f.prompts.notices, notice);
    if (style >= 0) {
        const qsizetype before = f.loads.size();
        f.clickStyle(number, style);
        if (number != SpacerLineSection)
            QVERIFY(f.waitLoad(before));
    }
    QCoreApplication::sendPostedEvents(); // the work area's layout
    const QString memo = f.ws.output().memo();
    const QUrl shown = f.page()->url();
    const QRect where = panel->geometry();
    const qsizetype loads = f.loads.size();

    f.openSection(number);
    QCoreApplication::sendPostedEvents();
    QVERIFY(panel->isVisible());
    QVERIFY(f.window.panel(1)->isVisible());
    QCOMPARE(panel->geometry(), where);
    if (panel->styleGroup())
        QCOMPARE(panel->styleGroup()->choice(), style);
    QCOMPARE(f.ws.output().memo(), memo);
    QCOMPARE(f.page()->url(), shown);
    QCOMPARE(f.loads.size(), loads);
    QCOMPARE(f.ws.items().count(), 0);
    QCOMPARE(f.prompts.notices, notice + notice);
}

void TestMainWindow::moveDeleteClear_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("selected");     // -1: nothing selected
    QTest::addColumn<QList<int>>("order"); // of the three entries afterwards
    QTest::addColumn<bool>("listFocus");
    QTest::addColumn<int>("entries"); // in the list before the click

    QTest::newRow("up third") << "btnup" << 2 << QList<int>{0, 2, 1} << true << 3;
    QTest::newRow("up second") << "btnup" << 1 << QList<int>{1, 0, 2} << true << 3;
    QTest::newRow("up first") << "btnup" << 0 << QList<int>{0, 1, 2} << false << 3;
    QTest::newRow("up nothing") << "btnup" << -1 << QList<int>{0, 1, 2} << false << 3;
    QTest::newRow("down first") << "btndown" << 0 << QList<int>{1, 0, 2} << true << 3;
    QTest::newRow("down second") << "btndown" << 1 << QList<int>{0, 2, 1} << true << 3;
    QTest::newRow("down last") << "btndown" << 2 << QList<int>{0, 1, 2} << false << 3;
    QTest::newRow("down nothing") << "btndown" << -1 << QList<int>{0, 1, 2} << false << 3;
    QTest::newRow("delete middle") << "btndel" << 1 << QList<int>{0, 2} << false << 3;
    QTest::newRow("delete last") << "btndel" << 2 << QList<int>{0, 1} << false << 3;
    QTest::newRow("delete nothing") << "btndel" << -1 << QList<int>{0, 1, 2} << false << 3;
    QTest::newRow("clear") << "btnclear" << 1 << QList<int>{} << false << 3;
    QTest::newRow("clear unselected") << "btnclear" << -1 << QList<int>{} << false << 3;
    QTest::newRow("clear an empty list") << "btnclear" << -1 << QList<int>{} << false << 0;
}

void TestMainWindow::moveDeleteClear()
{
    QFETCH(QString, button);
    QFETCH(int, selected);
    QFETCH(QList<int>, order);
    QFETCH(bool, listFocus);
    QFETCH(int, entries);

    Fixture f;
    QVERIFY(f.start());
    f.fill(entries);
    const QStringList names = f.ws.items().names();
    const QStringList snippets = f.ws.items().snippets();
    if (selected >= 0)
        f.select(selected);
    const QString memo = f.ws.output().memo();
    const qsizetype loads = f.loads.size();

    QTest::mouseClick(f.find<QPushButton>(button), Qt::LeftButton);

    QStringList expectedNames;
    QStringList expectedSnippets;
    for (int i : std::as_const(order)) {
        expectedNames.append(names.at(i));
        expectedSnippets.append(snippets.at(i));
    }
    QCOMPARE(f.ws.items().names(), expectedNames);
    QCOMPARE(f.ws.items().snippets(), expectedSnippets);
    QCOMPARE(f.shownNames(), expectedNames);
    // A change leaves nothing selected; a refused one leaves the selection.
    const bool changed = expectedNames != names;
    QCOMPARE(f.selectedCount(), changed || selected < 0 ? 0 : 1);
    if (listFocus)
        QVERIFY(f.list()->hasFocus());
    else
        QVERIFY(!f.list()->hasFocus());
    QCOMPARE(f.window.undoStack()->count(), changed ? 1 : 0);
    QVERIFY(f.prompts.notices.isEmpty());
    QVERIFY(f.prompts.errors.isEmpty());
    // The list buttons leave the memo, the files and the view alone.
    QCOMPARE(f.ws.output().memo(), memo);
    QVERIFY(!QFile::exists(f.path(QStringLiteral("files.html"))));
    QCOMPARE(f.loads.size(), loads);
}

void TestMainWindow::undoRedo_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("add") << "add";
    QTest::newRow("custom add") << "custom add";
    QTest::newRow("delete") << "delete";
    QTest::newRow("move up") << "move up";
    QTest::newRow("move down") << "move down";
    QTest::newRow("clear") << "clear";
}

void TestMainWindow::undoRedo()
{
    QFETCH(QString, operation);

    Fixture f;
    QVERIFY(f.start());
    f.fill(3);
    const QString before = f.lists();

    if (operation == u"add") {
        f.openSection(SpacerLineSection);
        f.clickStyle(SpacerLineSection, 0);
        f.click(QStringLiteral("btn25"));
    } else if (operation == u"custom add") {
        f.openSection(CustomSection);
        f.find<QPlainTextEdit>(QStringLiteral("mmo10"))->setPlainText(QStringLiteral("<b>own</b>"));
        f.click(QStringLiteral("btn23"));
    } else if (operation == u"delete") {
        f.select(1);
        f.click(QStringLiteral("btndel"));
    } else if (operation == u"move up") {
        f.select(2);
        f.click(QStringLiteral("btnup"));
    } else if (operation == u"move down") {
        f.select(0);
        f.click(QStringLiteral("btndown"));
    } else {
        f.click(QStringLiteral("btnclear"));
    }
    const QString after = f.lists();
    QVERIFY(after != before);
    QCOMPARE(f.window.undoStack()->count(), 1);
    QVERIFY(QApplication::focusWidget() && QApplication::focusWidget()->window() == &f.window);

    // Every key the platform binds to undo and redo, Ctrl+Y and
    // Ctrl+Shift+Z for redo on every platform, then the stack itself.
    const QList<QKeySequence> undoKeys = QKeySequence::keyBindings(QKeySequence::Undo);
    const QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo)
        + QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    for (const QKeySequence &undo : undoKeys) {
        for (const QKeySequence &redo : redoKeys) {
            f.press(undo);
            QVERIFY2(f.lists() == before, qPrintable(undo.toString()));
            QCOMPARE(f.shownNames(), f.ws.items().names());
            f.press(redo);
            QVERIFY2(f.lists() == after, qPrintable(redo.toString()));
            QCOMPARE(f.shownNames(), f.ws.items().names());
        }
    }
    f.window.undoStack()->undo();
    QCOMPARE(f.lists(), before);
    f.window.undoStack()->redo();
    QCOMPARE(f.lists(), after);
    QCOMPARE(f.shownNames(), f.ws.items().names());
    QVERIFY(f.prompts.notices.isEmpty());
}

void TestMainWindow::undoKeyFollowsFocus_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("listUndone");

    QTest::newRow("custom memo") << "mmo10" << false;
    QTest::newRow("custom name") << "edt10" << false;
    QTest::newRow("preview") << "wb1" << true;
}

void TestMainWindow::undoKeyFollowsFocus()
{
    QFETCH(QString, focus);
    QFETCH(bool, listUndone);

    Fixture f;
    QVERIFY(f.start());
    f.fill(3);
    const QString before = f.lists();
    f.select(0);
    f.click(QStringLiteral("btndel"));
    const QString after = f.lists();

    f.openSection(CustomSection);
    QWidget *target = f.find(focus);
    // The view's render widget sits in the engine's embedded window, whose
    // focus a synthetic click cannot move: the keys go to it straight.
    const bool inPreview = focus == u"wb1";
    if (inPreview)
        target = f.window.preview()->view()->focusProxy();
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(inPreview || target->hasFocus());
    const auto press = [&](QKeySequence::StandardKey key) {
        if (inPreview)
            QTest::keySequence(target, key);
        else
            f.press(key);
    };
    auto *memo = qobject_cast<QPlainTextEdit *>(target);
    auto *name = qobject_cast<QLineEdit *>(target);
    if (memo)
        memo->clear();
    if (name)
        name->clear();
    if (memo || name)
        QTest::keyClicks(target, QStringLiteral("typed"));
    const auto typed = [&] { return memo ? memo->toPlainText() : name ? name->text() : QString(); };

    press(QKeySequence::Undo);
    QCOMPARE(f.lists(), listUndone ? before : after);
    QCOMPARE(f.window.undoStack()->index(), listUndone ? 0 : 1);
    if (!listUndone)
        QVERIFY(typed() != u"typed"); // the field undid its own typing
    press(QKeySequence::Redo);
    QCOMPARE(f.lists(), after);
    QCOMPARE(typed(), listUndone ? QString() : QStringLiteral("typed"));
}

// Several entries through the list's keys and by drag and drop, each
// change one undo step; the selection as the seller makes it, with Ctrl.
void TestMainWindow::severalEntries_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QList<int>>("order"); // of the six entries afterwards
    QTest::addColumn<QList<int>>("selectedAfter");
    QTest::addColumn<QString>("copied"); // the clipboard afterwards

    const QList<int> unchanged{0, 1, 2, 3, 4, 5};
    QTest::newRow("Delete") << "Delete" << QList<int>{1, 3} << QList<int>{0, 2, 4, 5} << QList<int>{} << "";
    QTest::newRow("Ctrl+A, Delete") << "Ctrl+A Delete" << QList<int>{2} << QList<int>{} << QList<int>{} << "";
    QTest::newRow("Ctrl+Up") << "Ctrl+Up" << QList<int>{2, 4} << QList<int>{0, 2, 1, 4, 3, 5} << QList<int>{1, 3} << "";
    QTest::newRow("Ctrl+Down") << "Ctrl+Down" << QList<int>{0, 1} << QList<int>{2, 0, 1, 3, 4, 5} << QList<int>{1, 2}
                               << "";
    QTest::newRow("Ctrl+Up, first at the top") << "Ctrl+Up" << QList<int>{0, 3} << unchanged << QList<int>{0, 3} << "";
    QTest::newRow("Ctrl+D") << "Ctrl+D" << QList<int>{1, 4} << QList<int>{0, 1, 2, 3, 4, 1, 4, 5} << QList<int>{5, 6}
                            << "";
    QTest::newRow("Ctrl+C") << "Ctrl+C" << QList<int>{1, 3} << unchanged << QList<int>{1, 3}
                            << "<p>1</p>\r\n<i>1</i>\r\n<b>1</b>\r\n<p>3</p>\r\n<i>3</i>\r\n<b>3</b>\r\n";
    QTest::newRow("Ctrl+C in a text field") << "field Ctrl+C" << QList<int>{1} << unchanged << QList<int>{1} << "typed";
    QTest::newRow("drag to the top") << "drag 4 above 0" << QList<int>{2, 4, 5} << QList<int>{2, 4, 5, 0, 1, 3}
                                     << QList<int>{0, 1, 2} << "";
    QTest::newRow("drag to the end") << "drag 0 below 5" << QList<int>{0, 2} << QList<int>{1, 3, 4, 5, 0, 2}
                                     << QList<int>{4, 5} << "";
    QTest::newRow("drag onto the selection")
        << "drag 1 onto 2" << QList<int>{1, 2} << unchanged << QList<int>{1, 2} << "";
    QTest::newRow("drag out of the list") << "drag 1 out" << QList<int>{1} << unchanged << QList<int>{1} << "";
}

void TestMainWindow::severalEntries()
{
    QFETCH(QString, action);
    QFETCH(QList<int>, selected);
    QFETCH(QList<int>, order);
    QFETCH(QList<int>, selectedAfter);
    QFETCH(QString, copied);

    Fixture f;
    QVERIFY(f.start());
    // Snippets with a line feed and a lone carriage return, as pasted code may have.
    for (int i = 0; i < 6; ++i)
        f.ws.items().append(QStringLiteral("<p>%1</p>\n<i>%1</i>\r<b>%1</b>").arg(i),
                            QStringLiteral("  name-%1").arg(i));
    const QString before = f.lists();
    const QStringList names = f.ws.items().names();
    const QStringList snippets = f.ws.items().snippets();
    QWidget *rows = f.list()->viewport();
    const auto rowAt = [&](int row) { return f.list()->visualRect(f.list()->model()->index(row, 0)); };
    for (qsizetype k = 0; k < selected.size(); ++k)
        QTest::mouseClick(rows, Qt::LeftButton, k ? Qt::ControlModifier : Qt::NoModifier, rowAt(selected[k]).center());
    QCOMPARE(f.selectedCount(), selected.size());
    const QString memo = f.ws.output().memo();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    if (action.startsWith(u"drag")) {
        // A press on a selected entry and two moves past the drag distance
        // start the drag; the rest comes while it runs.
        const QStringList words = action.split(u' ');
        const QRect onto = rowAt(words.value(3).toInt());
        const QPoint from = rowAt(words.at(1).toInt()).center();
        const bool out = words.at(2) == u"out";
        // Out of the list, the drag passes over an entry first.
        const QPoint over = out       ? rowAt(5).center()
            : words.at(2) == u"above" ? onto.topLeft() + QPoint(10, 2)
            : words.at(2) == u"below" ? onto.bottomLeft() + QPoint(10, -2)
                                      : onto.center();
        QWidget *target = out ? f.find(QStringLiteral("btn5")) : rows;
        const QPoint to = out ? target->rect().center() : over;
        DragEvents events;
        rows->installEventFilter(&events);
        QTest::mousePress(rows, Qt::LeftButton, {}, from);
        QTimer::singleShot(50, rows, [&] {
            QTest::mouseMove(rows, over + QPoint(0, 1));
            QTest::mouseMove(target, to);
            QTest::mouseRelease(target, Qt::LeftButton, {}, to);
        });
        const QPoint away = from + QPoint(0, 3 * QApplication::startDragDistance());
        QTest::mouseMove(rows, away);
        QTest::mouseMove(rows, away);
        rows->removeEventFilter(&events);
        QVERIFY(events.moves > 0); // the drag ran
        if (out)
            QCOMPARE(events.drops, 0);
    } else if (action == u"field Ctrl+C") {
        f.openSection(CustomSection);
        auto *field = f.find<QLineEdit>(QStringLiteral("edt10"));
        field->setText(QStringLiteral("typed"));
        field->setFocus();
        field->selectAll();
        f.press(QKeySequence(Qt::CTRL | Qt::Key_C));
    } else {
        f.list()->setFocus();
        for (const QString &keys : action.split(u' '))
            f.press(QKeySequence(keys));
    }

    QStringList expected;
    QStringList expectedSnippets;
    for (const int i : std::as_const(order)) {
        expected.append(names.at(i));
        expectedSnippets.append(snippets.at(i));
    }
    QCOMPARE(f.ws.items().names(), expected);
    QCOMPARE(f.ws.items().snippets(), expectedSnippets);
    QCOMPARE(f.shownNames(), expected);
    QList<int> nowSelected;
    for (const QModelIndex &index : f.list()->selectionModel()->selectedIndexes())
        nowSelected.append(index.row());
    std::sort(nowSelected.begin(), nowSelected.end());
    QCOMPARE(nowSelected, selectedAfter);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied.isEmpty() ? QStringLiteral("before") : copied);
    QCOMPARE(f.ws.output().memo(), memo);
    const bool changed = expected != names;
    QCOMPARE(f.window.undoStack()->count(), changed ? 1 : 0);
    if (changed) {
        const QString after = f.lists();
        f.window.undoStack()->undo();
        QCOMPARE(f.lists(), before);
        QCOMPARE(f.shownNames(), names);
        f.window.undoStack()->redo();
        QCOMPARE(f.lists(), after);
    }
    QVERIFY(f.prompts.notices.isEmpty() && f.prompts.errors.isEmpty());
}

void TestMainWindow::pagePreview_data()
{
    QTest::addColumn<QStringList>("snippets");
    QTest::addColumn<QString>("listFile");
    QTest::addColumn<QString>("page"); // the preview file and the memo
    QTest::addColumn<QString>("shownText");

    QTest::newRow("empty list") << QStringList{} << QString() << QString() << QString();
    QTest::newRow("one snippet") << QStringList{QStringLiteral("<p>甲乙</p>")} << QStringLiteral("<p>甲乙</p>\r\n")
                                 << QStringLiteral("<p>甲乙</p>\r\n") << QStringLiteral("甲乙");
    QTest::newRow("line feeds become CR LF")
        << QStringList{QStringLiteral("<p>one</p>\n<p>two</p>"), QStringLiteral("<p>three</p>\r")}
        << QStringLiteral("<p>one</p>\n<p>two</p>\r\n<p>three</p>\r\r\n")
        << QStringLiteral("<p>one</p>\r\n<p>two</p>\r\n<p>three</p>\r\n\r\n") << QStringLiteral("three");
}

void TestMainWindow::pagePreview()
{
    QFETCH(QStringList, snippets);
    QFETCH(QString, listFile);
    QFETCH(QString, page);
    QFETCH(QString, shownText);

    Fixture f;
    QVERIFY(f.start());
    for (const QString &s : std::as_const(snippets))
        f.ws.items().append(s, QStringLiteral("  x-y"));

    const qsizetype before = f.loads.size();
    f.click(QStringLiteral("btn5"));
    QVERIFY(f.prompts.errors.isEmpty());
    QCOMPARE(readBytes(f.path(QStringLiteral("files.txt"))), ScratchPlatform::encode(listFile));
    QCOMPARE(readBytes(f.path(QStringLiteral("files.html"))), ScratchPlatform::encode(page));
    QCOMPARE(f.ws.output().memo(), page);

    QVERIFY(f.waitLoad(before));
    QCOMPARE(f.page()->url(), QUrl::fromLocalFile(f.path(QStringLiteral("files.html"))));
    const QString text = pageText(f.page());
    QVERIFY2(text.contains(shownText), qPrintable(text));
    QVERIFY(!text.contains(MainWindow::StartPrompt));
    QCOMPARE(f.ws.items().count(), snippets.size());
}

void TestMainWindow::extract_data()
{
    QTest::addColumn<QString>("before"); // what the user did first
    QTest::addColumn<QString>("copied"); // empty: the clipboard keeps its text
    QTest::addColumn<QString>("notice");

    const QString done = QStringLiteral("代码已经提取");
    QTest::newRow("at start") << ""
                              << "mmo1" << done;
    QTest::newRow("after page preview") << "preview"
                                        << "<i>a</i>\r\n<i>b</i>\r\n"
                                        << done;
    QTest::newRow("after style click") << "preview, style"
                                       << "style" << done;
    QTest::newRow("empty memo") << "clear, preview"
                                << "" << QStringLiteral("没有可提取的代码");
}

void TestMainWindow::extract()
{
    QFETCH(QString, before);
    QFETCH(QString, copied);
    QFETCH(QString, notice);

    Fixture f;
    QVERIFY(f.start());
    f.ws.items().append(QStringLiteral("<i>a</i>"), QStringLiteral("  a"));
    f.ws.items().append(QStringLiteral("<i>b</i>"), QStringLiteral("  b"));
    QString style;
    for (const QString &step : before.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        const qsizetype loads = f.loads.size();
        if (step == u"clear") {
            f.click(QStringLiteral("btnclear"));
            continue;
        }
        if (step == u"preview") {
            f.click(QStringLiteral("btn5"));
        } else {
            f.openSection(4);
            f.clickStyle(4, 0);
            style = f.ws.section(4).code();
        }
        QVERIFY(f.waitLoad(loads));
    }
    if (copied == u"style")
        copied = style;
    QVERIFY(!copied.isEmpty() || f.ws.output().memo().isEmpty());

    QClipboard *clipboard = QGuiApplication::clipboard();
    const QString earlier = QStringLiteral("earlier clipboard text %1").arg(QDateTime::currentMSecsSinceEpoch());
    clipboard->setText(earlier);
    QTRY_COMPARE(clipboard->text(), earlier);

    f.click(QStringLiteral("btntiqu"));
    QCOMPARE(f.prompts.notices, QStringList{notice});
    QTRY_COMPARE(clipboard->text(), copied.isEmpty() ? earlier : copied);
    QCOMPARE(f.ws.output().memo(), copied);
}

void TestMainWindow::scratchFileFault()
{
    Fixture f;
    QVERIFY(f.start());
    f.fill(2);
    const QString previewPath = f.path(QStringLiteral("files.html"));
    QVERIFY(QDir().mkpath(previewPath));
    const QUrl shown = f.page()->url();
    const qsizetype loads = f.loads.size();
    QSignalSpy started(f.page(), &QWebEnginePage::loadStarted);

    f.click(QStringLiteral("btn5"));
    QCOMPARE(f.prompts.errors.size(), 1);
    const QString prefix = QStringLiteral("Cannot create file \"") + QDir::toNativeSeparators(previewPath)
        + QStringLiteral("\". ");
    QVERIFY2(f.prompts.errors.first().startsWith(prefix), qPrintable(f.prompts.errors.first()));
    QVERIFY(f.prompts.errors.first().size() > prefix.size());
    QVERIFY(f.prompts.notices.isEmpty());

    // The list file and the memo already hold the page; the view does not move.
    QCOMPARE(readBytes(f.path(QStringLiteral("files.txt"))), QByteArray("<p>snippet 0</p>\r\n<p>snippet 1</p>\r\n"));
    QCOMPARE(f.ws.output().memo(), QStringLiteral("<p>snippet 0</p>\r\n<p>snippet 1</p>\r\n"));
    QVERIFY(f.window.preview()->lastFile().isEmpty());
    QApplication::processEvents();
    QCOMPARE(started.size(), 0);
    QCOMPARE(f.loads.size(), loads);
    QCOMPARE(f.page()->url(), shown);
    QCOMPARE(pageText(f.page()), MainWindow::StartPrompt);

    // The window stays usable: once the file can be written, previews work.
    QVERIFY(QDir(previewPath).removeRecursively());
    f.click(QStringLiteral("btn5"));
    QVERIFY(f.waitLoad(loads));
    QCOMPARE(f.page()->url(), QUrl::fromLocalFile(previewPath));
    QCOMPARE(f.prompts.errors.size(), 1);
}

void TestMainWindow::customSection()
{
    Fixture f;
    QVERIFY(f.start());
    f.openSection(CustomSection);
    auto *name = f.find<QLineEdit>(QStringLiteral("edt10"));
    auto *memo = f.find<QPlainTextEdit>(QStringLiteral("mmo10"));
    QVERIFY(name && memo);
    QCOMPARE(name->text(), QStringLiteral("自定义名"));
    QVERIFY(memo->toPlainText().isEmpty());

    // Typed text arrives as input; keyClicks takes Latin-1 only.
    name->selectAll();
    name->insert(QStringLiteral("页脚 x"));
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    memo->insertPlainText(QStringLiteral("<p>a\u00A0b</p>\n<p>c</p>\n"));
    const qsizetype loads = f.loads.size();
    f.click(QStringLiteral("btn23"));

    QCOMPARE(f.ws.items().names(), QStringList{QStringLiteral("  自定义-页脚 x")});
    QCOMPARE(f.ws.items().snippet(0), QStringLiteral("<p>a\u00A0b</p>\r\n<p>c</p>\r\n"));
    QCOMPARE(f.shownNames(), f.ws.items().names());
    QVERIFY(!f.window.panel(CustomSection)->isVisible());
    QVERIFY(f.prompts.notices.isEmpty());
    QCOMPARE(f.ws.output().memo(), QStringLiteral("mmo1"));
    QCOMPARE(f.loads.size(), loads);

    // Reopened, the panel offers the same text; a second Add repeats it.
    f.openSection(CustomSection);
    QCOMPARE(name->text(), QStringLiteral("页脚 x"));
    f.click(QStringLiteral("btn23"));
    QCOMPARE(f.ws.items().count(), 2);
    QCOMPARE(f.ws.items().snippet(1), f.ws.items().snippet(0));
    QCOMPARE(f.ws.items().name(1), f.ws.items().name(0));
}

void TestMainWindow::colourChooser_data()
{
    QTest::addColumn<std::optional<QColor>>("answer");
    QTest::addColumn<QString>("text");

    QTest::newRow("confirmed") << std::optional<QColor>(QColor(0x12, 0xab, 0xef)) << "#12ABEF";
    QTest::newRow("pure red") << std::optional<QColor>(QColor(255, 0, 0)) << "#FF0000";
    QTest::newRow("dismissed") << std::optional<QColor>() << "#000000";
}

void TestMainWindow::colourChooser()
{
    QFETCH(std::optional<QColor>, answer);
    QFETCH(QString, text);

    Fixture f;
    QVERIFY(f.start());
    f.openSection(DividerBarSection);
    auto *edit = f.find<ColourEdit>(QStringLiteral("edt2"));
    QVERIFY(edit);
    QCOMPARE(edit->text(), QStringLiteral("#000"));
    const qsizetype loads = f.loads.size();
    f.clickStyle(DividerBarSection, 2);
    QVERIFY(f.waitLoad(loads));
    QCOMPARE(f.window.panel(DividerBarSection)->styleGroup()->choice(), 2);
    const QString code = f.ws.section(DividerBarSection).code();

    f.prompts.answer = answer;
    QTest::mouseDClick(edit, Qt::LeftButton);
    QCOMPARE(f.prompts.asked, QList<QColor>{QColor(Qt::black)});
    QCOMPARE(edit->text(), text);
    QCOMPARE(edit->background(), answer.value_or(QColor(Qt::black)));
    QCOMPARE(f.window.panel(DividerBarSection)->styleGroup()->choice(), -1);
    // Nothing is rebuilt, and Add is refused until a style is chosen again.
    QCOMPARE(f.ws.section(DividerBarSection).code(), code);
    f.click(QStringLiteral("btn1"));
    QCOMPARE(f.prompts.notices, QStringList{QStringLiteral("请至少选择一项！")});
    QCOMPARE(f.ws.items().count(), 0);
}

void TestMainWindow::colourSharedBetweenEdits()
{
    Fixture f;
    QVERIFY(f.start());
    f.openSection(DividerBarSection);
    f.openSection(CouponSection);
    auto *divider = f.find<ColourEdit>(QStringLiteral("edt2"));
    auto *coupon = f.find<ColourEdit>(QStringLiteral("edtyouhuiquancolor"));
    QVERIFY(divider && coupon);
    QCOMPARE(coupon->text(), QStringLiteral("#000"));

    const QColor teal(0, 128, 128);
    f.prompts.answer = teal;
    QTest::mouseDClick(divider, Qt::LeftButton);
    QCOMPARE(divider->text(), QStringLiteral("#008080"));

    // The coupon's chooser opens on that colour; dismissing it writes it.
    f.prompts.answer.reset();
    QTest::mouseDClick(coupon, Qt::LeftButton);
    QCOMPARE(f.prompts.asked, QList<QColor>({QColor(Qt::black), teal}));
    QCOMPARE(coupon->text(), QStringLiteral("#008080"));
    QCOMPARE(coupon->background(), teal);
    QCOMPARE(divider->text(), QStringLiteral("#008080"));
}

void TestMainWindow::previewIsUntrusted_data()
{
    // Local files are kept out twice: the page's settings and the request
    // guard. Each is also tested with the other one switched off. Frames
    // meet a third defence, the page's navigation check: with the other two
    // off, the local picture shows but the frames stay empty.
    QTest::addColumn<bool>("fileUrlsAllowed");
    QTest::addColumn<bool>("requestGuard");
    QTest::addColumn<bool>("pictureShown");
    QTest::newRow("both") << false << true << false;
    QTest::newRow("the request guard alone") << true << true << false;
    QTest::newRow("the file setting alone") << false << false << false;
    QTest::newRow("frames: the navigation check alone") << true << false << true;
}

void TestMainWindow::previewIsUntrusted()
{
    QFETCH(bool, fileUrlsAllowed);
    QFETCH(bool, requestGuard);
    QFETCH(bool, pictureShown);
    Fixture f;
    QVERIFY(f.start());
    if (fileUrlsAllowed)
        f.page()->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    if (!requestGuard)
        f.page()->setUrlRequestInterceptor(nullptr);

    // A local picture and a local page, both loud enough to see if shown.
    const QString redPicture = f.path(QStringLiteral("red.png"));
    QVERIFY(solidImage(Qt::red, 200).save(redPicture));
    const QString blackPage = f.path(QStringLiteral("black.html"));
    {
        QFile page(blackPage);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<body style=\"margin:0;background:#000000\">secret</body>");
    }
    const QString frame = QStringLiteral(" width=\"300\" height=\"100\" style=\"border:0;display:block\"></iframe>");
    const QString html = QStringLiteral("<style>body{margin:0;background:#ffffff}</style>\n")
        + QStringLiteral("<script>document.title='ran'</script>\n")
        // A picture from a data address: the control that the grab sees pictures.
        + QStringLiteral("<img style=\"display:block\" width=\"100\" height=\"100\" src=\"")
        + dataUrl(solidImage(Qt::green, 10)) + QStringLiteral("\">\n")
        + QStringLiteral("<img style=\"display:block\" width=\"200\" height=\"200\" src=\"")
        + QUrl::fromLocalFile(redPicture).toString() + QStringLiteral("\">\n") + QStringLiteral("<iframe src=\"")
        + QUrl::fromLocalFile(blackPage).toString() + u'"' + frame
        + QStringLiteral("\n<iframe src=\"file:///etc/hostname\"") + frame + u'\n';

    f.openSection(CustomSection);
    f.find<QPlainTextEdit>(QStringLiteral("mmo10"))->setPlainText(html);
    f.click(QStringLiteral("btn23"));
    const qsizetype loads = f.loads.size();
    f.click(QStringLiteral("btn5"));
    QVERIFY(f.waitLoad(loads));
    QCOMPARE(f.page()->url(), QUrl::fromLocalFile(f.path(QStringLiteral("files.html"))));

    QVERIFY(f.page()->title() != u"ran");
    const QString dom = pageText(f.page(), true);
    QVERIFY2(dom.contains(QStringLiteral("document.title")), qPrintable(dom));

    // Wait until the control pictures are painted, then look for the others.
    QWidget *view = f.window.preview()->view();
    QImage shot;
    QVERIFY(waitUntil([&] {
        shot = view->grab().toImage();
        return countNear(shot, Qt::green) > 5000 && (!pictureShown || countNear(shot, Qt::red) > 5000);
    }));
    const int red = countNear(shot, Qt::red);
    const int black = countNear(shot, Qt::black);
    QVERIFY2((red > 0) == pictureShown && black == 0,
             qPrintable(QStringLiteral("red %1, black %2").arg(red).arg(black)));
    QVERIFY(f.prompts.errors.isEmpty());
}

void TestMainWindow::typedMarkupStaysText()
{
    // A picture from a pipe nobody writes to would block a box that reads
    // its text as markup for good.
    Fixture f(true);
    QVERIFY(f.start());
    const QByteArray fifo = QFile::encodeName(f.path(QStringLiteral("pipe")));
    QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
    const QString typed = QStringLiteral("<img src=\"%1\"><b>X</b>").arg(QString::fromLocal8Bit(fifo));

    f.openSection(RelatedSalesSection);
    f.find<QLineEdit>(QStringLiteral("edt6"))->setText(typed);
    QString shown;
    Qt::TextFormat format = Qt::RichText;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            shown = label->text();
            format = label->textFormat();
            box->accept();
        }
    });
    poll.start(20);
    {
        Watchdog watchdog(std::chrono::seconds(120));
        f.clickStyle(RelatedSalesSection, 0);
    }
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(shown, u'\'' + typed + QStringLiteral("' is not a valid integer value"));
}

void TestMainWindow::linksOpenInTheBrowser_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QStringList>("opened");
    const QString shop = QStringLiteral("http://shop.test/item?id=1");
    QTest::newRow("new window") << QStringLiteral("href=\"%1\" target=\"_blank\"").arg(shop) << QStringList{shop};
    QTest::newRow("same window") << QStringLiteral("href=\"https://shop.test/\"")
                                 << QStringList{QStringLiteral("https://shop.test/")};
    QTest::newRow("placeholder") << QStringLiteral("href=\"#\"") << QStringList();
    QTest::newRow("placeholder, new window") << QStringLiteral("href=\"#top\" target=\"_blank\"") << QStringList();
    QTest::newRow("local file") << QStringLiteral("href=\"file:///etc/hostname\" target=\"_blank\"") << QStringList();
}

void TestMainWindow::linksOpenInTheBrowser()
{
    QFETCH(QString, link);
    QFETCH(QStringList, opened);
    Fixture f;
    QStringList asked;
    f.window.preview()->setLinkOpener([&](const QUrl &url) { asked.append(url.toString()); });
    QVERIFY(f.start());

    // The link under test on top, a control link below it: once the
    // control's click arrives, the first click has had its effect.
    const QString block = QStringLiteral(" style=\"display:block;height:100px;background:#00ff00\">link</a>\n");
    f.ws.items().append(QStringLiteral("<body style=\"margin:0\"><a ") + link + block
                            + QStringLiteral("<a href=\"http://control.test/\"") + block,
                        QStringLiteral("  自定义-links"));
    const qsizetype loads = f.loads.size();
    f.click(QStringLiteral("btn5"));
    QVERIFY(f.waitLoad(loads));
    const QUrl page = f.page()->url();
    QWidget *surface = f.window.preview()->view()->focusProxy();
    QVERIFY(waitUntil([&] { return countNear(f.window.preview()->view()->grab().toImage(), Qt::green) > 1000; }));

    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(50, 150));
    QVERIFY2(waitUntil([&] { return asked.contains(QStringLiteral("http://control.test/")); }),
             qPrintable(asked.join(u' ')));
    QCOMPARE(asked, opened + QStringList{QStringLiteral("http://control.test/")});
    // A placeholder link may scroll the page; it never leaves it.
    QCOMPARE(f.page()->url().adjusted(QUrl::RemoveFragment), page);
}

void TestMainWindow::rendererRecovery()
{
    Fixture f;
    QVERIFY(f.start());
    f.ws.items().append(QStringLiteral("<p>first page</p>"), QStringLiteral("  自定义-a"));
    qsizetype loads = f.loads.size();
    f.click(QStringLiteral("btn5"));
    QVERIFY(f.waitLoad(loads));

    // The renderer dies twice on the first page, and the seller previews a
    // new page before the view has recovered: the new page is what stays.
    QSignalSpy recovered(f.window.preview(), &PreviewView::recovered);
    for (int i = 0; i < 2; ++i)
        emit f.page()->renderProcessTerminated(QWebEnginePage::CrashedTerminationStatus, 11);
    f.ws.items().assign({QStringLiteral("<p>second page</p>")}, {QStringLiteral("  自定义-b")});
    loads = f.loads.size();
    f.click(QStringLiteral("btn5"));
    QVERIFY(f.waitLoad(loads));
    QTest::qWait(200);
    QCOMPARE(recovered.size(), 0);
    QCOMPARE(pageText(f.page()).trimmed(), QStringLiteral("second page"));

    // The renderer dies each time the second page is shown, after it has
    // loaded: shown again once, then the reason instead of the page.
    for (int i = 0; i < 2; ++i) {
        const qint64 pid = f.page()->renderProcessPid();
        QVERIFY(pid > 0);
        loads = f.loads.size();
        QCOMPARE(kill(pid_t(pid), SIGKILL), 0);
        QVERIFY(f.waitLoad(loads));
    }
    QTest::qWait(200);
    QCOMPARE(recovered, (QList<QList<QVariant>>{{true}, {false}}));
    const QString reason = QStringLiteral("预览页面无法显示：浏览器进程意外退出。");
    QVERIFY(waitUntil([&] { return pageText(f.page()).trimmed() == reason; }));
}

void TestMainWindow::tenThousandItems()
{
    Fixture f;
    QVERIFY(f.start());
    f.fill(10000);
    QCOMPARE(f.list()->model()->rowCount(), 10000);
    QCOMPARE(f.list()->model()->index(9999, 0).data().toString(), QStringLiteral("  name-9999"));

    const qsizetype loads = f.loads.size();
    f.click(QStringLiteral("btn5"));
    QVERIFY(f.waitLoad(loads));
    const QString text = pageText(f.page());
    QVERIFY(text.contains(QStringLiteral("snippet 0")));
    QVERIFY(text.contains(QStringLiteral("snippet 9999")));
    QCOMPARE(f.ws.output().memo().count(QStringLiteral("\r\n")), 10000);

    f.select(9999);
    f.click(QStringLiteral("btnup"));
    QCOMPARE(f.ws.items().name(9998), QStringLiteral("  name-9999"));
    QCOMPARE(f.list()->model()->index(9998, 0).data().toString(), QStringLiteral("  name-9999"));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
