// Page preview in the real window, in-process: builds the main window as the
// program does, fills the generated-items list with N items cycling through
// every style, and times clicks on 预览 (btn5). For each click it prints
//
//   page <items> <page bytes> <own ns> <total ns> <ok|failed>
//
// where "own" is the time until the click handler (ItemListPanel::pagePreview)
// returns, i.e. before the web view starts loading, and "total" runs to the
// web view's loadFinished. Arguments: <items>:<clicks> ... e.g. 1000:7.
//
// The argument paste:<clicks> times a seller's 5 MB paste into the custom
// section instead: Add (btn23) and then 预览 on a list holding only it, the
// two handlers together as "own":
//
//   paste 1 <page bytes> <own ns> <total ns> <ok|failed>
// An argument layout:<items>:<runs> times 保存 (saveButton) and 打开
// (openButton) on a layout file of that list instead, the file dialog
// answered at once. For each run it prints
//
//   layout save|open <items> <file bytes> <own ns> <settled ns> <file ns> <ok|failed>
//
// where "own" runs until the click handler returns and "settled" until the
// events it left behind (the list redrawn, the caption) are handled too;
// "file" is LayoutFile::save or ::open alone on the same list and file,
// timed right before, so the window's share shows through the machine's
// changing load.
//
// An argument selection:<items>:<runs> times 上移, 下移, 删除 and 复制一份 on
// every second entry of a list of that many instead (the odd rows; the even
// ones for 下移, whose last odd row is the list's last), and Ctrl+Z after
// each. For each run and operation it prints
//
//   selection up|down|delete|duplicate <items> <selected> <own ns> <settled ns> <undo ns> <ok|failed>
//
// where "own" runs until the handler returns, "settled" until the events
// it left behind (the list redrawn) are handled too, and "undo" is the
// undo step, settled as well.
#include "ItemListPanel.h"
//
// An argument phone:<items>:<runs> times 手机 (phoneButton) on the page of
// that list, previewed once: for each run the same page shown anew as a
// style click shows its file (reference), then the click to the phone look
// and the click back, each until the view is shown again (the engine has
// the page laid out at the width the view now gives it, and the view has
// drawn a frame since). It prints
//
//   laidout <items> <ns> <ok|failed>      the page read as laid out, after
//                                         the first preview has loaded
//   phone <items> <reference ns> <to phone ns> <to desktop ns> <ok|failed>
//
// An argument check:<items>:<runs> times the page check `pageCheck`: the
// list replaced by one of that many items, each a snippet no earlier count
// has read, until the label shows the count:
//
//   check <items> <ns> <ok|failed>
#include "LayoutActions.h"
#include "LayoutFile.h"
#include "MainWindow.h"
#include "PageCheckLabel.h"
#include "PreviewView.h"
#include "SectionTable.h"
#include "StyleSnippets.h"
#include "UserPrompts.h"
#include "Workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <cstdio>
#include <random>

namespace {

// Waits for the view's next loadFinished; false on timeout.
bool waitForLoad(PreviewView *view, const std::function<void()> &start, bool *ok, int timeoutMs)
{
    QEventLoop loop;
    bool finished = false;
    const auto connection = QObject::connect(view, &PreviewView::loadFinished, &loop, [&](bool result) {
        finished = true;
        *ok = result;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    start();
    if (!finished)
        loop.exec();
    QObject::disconnect(connection);
    return finished;
}

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Prints one line per click; false when a page did not load.
bool timePastes(MainWindow &window, Workspace &workspace, QPushButton *btn5, int clicks, std::mt19937 &random)
{
    auto *memo = window.findChild<QPlainTextEdit *>(QStringLiteral("mmo10"));
    auto *add = window.findChild<QPushButton *>(QStringLiteral("btn23"));
    if (!memo || !add || clicks <= 0) {
        std::fprintf(stderr, "no custom section, or bad paste clicks\n");
        return false;
    }
    const QString line = QStringLiteral("<div style=\"color:#333\">五兆字节的自定义代码&nbsp;</div>\n");
    const QString paste = line.repeated(int(5 * 1024 * 1024 / line.toUtf8().size()));
    std::uniform_int_distribution<int> pauseMs(20, 60);
    for (int c = 0; c < clicks; ++c) {
        workspace.items().clear();
        window.openSection(CustomSection);
        memo->setPlainText(paste);
        pause(pauseMs(random));
        qint64 own = 0;
        bool ok = false;
        QElapsedTimer timer;
        const bool finished = waitForLoad(
            window.preview(),
            [&] {
                timer.start();
                add->click();
                btn5->click();
                own = timer.nsecsElapsed();
            },
            &ok, 300000);
        const qint64 total = timer.nsecsElapsed();
        if (!finished || workspace.items().count() != 1) {
            std::fprintf(stderr, "the pasted page did not load\n");
            return false;
        }
        const qint64 bytes = QFileInfo(workspace.files().previewPath()).size();
        std::printf("paste 1 %lld %lld %lld %s\n", static_cast<long long>(bytes), static_cast<long long>(own),
                    static_cast<long long>(total), ok ? "ok" : "failed");
        std::fflush(stdout);
    }
    return true;
}

// Answers every file dialog with `file` and reports what would be shown.
class BenchPrompts : public UserPrompts
{
public:
    void notice(const QString &text) override { failed(text); }
    void error(const QString &text) override { failed(text); }
    QString askOpenFile(const QString &, const QString &, const QString &) override { return file; }
    QString askSaveFile(const QString &, const QString &, const QString &, const QString &) override { return file; }
    // Each timed Open replaces a changed list: its changes are given up.
    SaveAnswer askSaveChanges(const QString &) override { return SaveAnswer::Discard; }

    QString file;
    bool ok = true;

private:
    void failed(const QString &text)
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        ok = false;
    }
};

void fill(Workspace &workspace, int items)
{
    const QStringList snippets = cyclingSnippets(items);
    const QStringList names = cyclingNames(items);
    workspace.items().clear();
    for (int i = 0; i < items; ++i)
        workspace.items().append(snippets.at(i), names.at(i));
}

// Times one click on `button`: until its handler returns, and until the
// events it posted are handled as well; `alone` first, as the file part.
void timeClick(QPushButton *button, const char *what, int items, const QString &file, BenchPrompts &prompts,
               const std::function<bool()> &alone)
{
    prompts.ok = true;
    QElapsedTimer timer;
    timer.start();
    prompts.ok = alone();
    const qint64 fileOnly = timer.nsecsElapsed();
    pause(50);
    timer.restart();
    button->click();
    const qint64 own = timer.nsecsElapsed();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    const qint64 settled = timer.nsecsElapsed();
    std::printf("layout %s %d %lld %lld %lld %lld %s\n", what, items, static_cast<long long>(QFileInfo(file).size()),
                static_cast<long long>(own), static_cast<long long>(settled), static_cast<long long>(fileOnly),
                prompts.ok ? "ok" : "failed");
    std::fflush(stdout);
}

// Saves the list to a layout file and opens it again, `runs` times each.
bool layoutRuns(MainWindow &window, Workspace &workspace, BenchPrompts &prompts, int items, int runs)
{
    auto *save = window.findChild<QPushButton *>(QStringLiteral("saveButton"));
    auto *open = window.findChild<QPushButton *>(QStringLiteral("openButton"));
    QTemporaryDir dir;
    if (!save || !open || !dir.isValid())
        return false;
    // Keeps the bench's files out of the user's recent layouts.
    QStandardPaths::setTestModeEnabled(true);
    prompts.file = dir.filePath(QStringLiteral("page.zlayout"));
    fill(workspace, items);
    // The file becomes the document, so each timed 保存 writes it as Ctrl+S
    // does, without a dialog.
    if (!window.layoutActions()->saveAs())
        return false;
    const QString copy = dir.filePath(QStringLiteral("copy.zlayout"));
    for (int r = 0; r < runs; ++r) {
        pause(50);
        timeClick(save, "save", items, prompts.file, prompts,
                  [&] { return LayoutFile::save(copy, workspace.layout()).ok(); });
    }
    for (int r = 0; r < runs; ++r) {
        // A changed list, so each Open replaces something; not timed.
        workspace.items().remove(0);
        pause(50);
        timeClick(open, "open", items, prompts.file, prompts, [&] { return LayoutFile::open(prompts.file).ok(); });
        if (workspace.items().count() != items)
            return false;
    }
    return true;
}

// The operations on a selection of every second entry, `runs` times each.
bool selectionRuns(MainWindow &window, Workspace &workspace, int items, int runs)
{
    QListView *list = window.itemList();
    ItemListPanel *panel = window.items();
    struct Operation
    {
        const char *name;
        int firstRow; // of every second entry selected
        void (ItemListPanel::*run)();
    };
    const Operation operations[] = {{"up", 1, &ItemListPanel::moveUp},
                                    {"down", 0, &ItemListPanel::moveDown},
                                    {"delete", 1, &ItemListPanel::deleteItem},
                                    {"duplicate", 1, &ItemListPanel::duplicateItems}};
    for (int r = 0; r < runs; ++r) {
        for (const Operation &operation : operations) {
            fill(workspace, items);
            window.undoStack()->clear();
            QItemSelection selection;
            int selected = 0;
            for (int row = operation.firstRow; row < items; row += 2, ++selected)
                selection.select(list->model()->index(row, 0), list->model()->index(row, 0));
            list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
            const QStringList before = workspace.items().names();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            pause(50);

            QElapsedTimer timer;
            timer.start();
            (panel->*operation.run)();
            const qint64 own = timer.nsecsElapsed();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            const qint64 settled = timer.nsecsElapsed();
            const bool changed = workspace.items().names() != before && window.undoStack()->count() == 1;
            pause(50);
            timer.restart();
            window.undoStack()->undo();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            const qint64 undone = timer.nsecsElapsed();
            const bool ok = changed && workspace.items().names() == before;
            std::printf("selection %s %d %d %lld %lld %lld %s\n", operation.name, items, selected,
                        static_cast<long long>(own), static_cast<long long>(settled), static_cast<long long>(undone),
                        ok ? "ok" : "failed");
            std::fflush(stdout);
            if (!ok)
                return false;
        }
    }
    return true;
}

// Runs `start`, then waits until the engine has the page laid out at
// `width` CSS pixels (asked in the program's own world, which forces the
// layout) and the view has drawn a frame after that; false on timeout.
bool timeShown(QWebEngineView *view, int width, const std::function<void()> &start, qint64 *ns)
{
    struct State
    {
        bool laidOut = false;
        bool drawn = false;
        bool waiting = true;
    };
    auto state = std::make_shared<State>();
    QEventLoop loop;
    QMetaObject::Connection frames;
    // The view draws into a Qt Quick widget of its own, made anew when a
    // page comes with a renderer of its own: the one shown now.
    const auto drawFrame = [&] {
        for (QQuickWidget *surface : view->findChildren<QQuickWidget *>()) {
            if (!surface->isVisible())
                continue;
            frames = QObject::connect(
                surface->quickWindow(), &QQuickWindow::afterRendering, &loop,
                [&] {
                    state->drawn = true;
                    loop.quit();
                },
                Qt::QueuedConnection);
            // A frame, even when the page's last one came before the answer.
            surface->quickWindow()->update();
            return;
        }
        loop.quit();
    };
    std::function<void()> ask;
    ask = [&, state] {
        view->page()->runJavaScript(QStringLiteral("document.documentElement.scrollHeight, innerWidth"),
                                    QWebEngineScript::ApplicationWorld, [&, state](const QVariant &answer) {
                                        if (!state->waiting)
                                            return;
                                        if (answer.toInt() != width) {
                                            ask();
                                            return;
                                        }
                                        state->laidOut = true;
                                        drawFrame();
                                    });
    };
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    start();
    ask();
    loop.exec();
    *ns = timer.nsecsElapsed();
    state->waiting = false;
    QObject::disconnect(frames);
    return state->laidOut && state->drawn;
}

// The page previewed once, then shown anew and switched to the phone look
// and back, `runs` times.
bool phoneRuns(MainWindow &window, Workspace &workspace, QPushButton *btn5, int items, int runs, std::mt19937 &random)
{
    auto *phone = window.findChild<QPushButton *>(QStringLiteral("phoneButton"));
    PreviewView *preview = window.preview();
    QWebEngineView *view = preview->view();
    if (!phone || !view || phone->isChecked())
        return false;
    fill(workspace, items);
    // The page read as laid out after the preview has loaded: the engine's
    // time, the window's only to take the answer.
    QElapsedTimer sinceLoad;
    qint64 read = -1;
    const auto reading = QObject::connect(preview, &PreviewView::pageLaidOut, preview,
                                          [&] { read = sinceLoad.nsecsElapsed(); });
    bool ok = false;
    if (!waitForLoad(
            preview, [&] { btn5->click(); }, &ok, 300000)
        || !ok)
        return false;
    sinceLoad.start();
    while (read < 0 && sinceLoad.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QObject::disconnect(reading);
    std::printf("laidout %d %lld %s\n", items, static_cast<long long>(read), read >= 0 ? "ok" : "failed");
    const QString page = workspace.files().previewPath();
    const int phoneWidth = workspace.pageWidth().toInt();
    std::uniform_int_distribution<int> pauseMs(20, 60);
    for (int r = 0; r < runs; ++r) {
        qint64 reference = 0, toPhone = 0, toDesktop = 0;
        pause(pauseMs(random));
        bool loaded = false;
        ok = timeShown(
                 view, preview->width(),
                 [&] {
                     waitForLoad(
                         preview, [&] { preview->showFile(page); }, &loaded, 300000);
                 },
                 &reference)
            && loaded;
        pause(pauseMs(random));
        ok = timeShown(
                 view, phoneWidth, [&] { phone->click(); }, &toPhone)
            && ok;
        pause(pauseMs(random));
        ok = timeShown(
                 view, preview->width(), [&] { phone->click(); }, &toDesktop)
            && ok;
        std::printf("phone %d %lld %lld %lld %s\n", items, static_cast<long long>(reference),
                    static_cast<long long>(toPhone), static_cast<long long>(toDesktop), ok ? "ok" : "failed");
        std::fflush(stdout);
    }
    return !phone->isChecked();
}

// The list replaced, `runs` times, by snippets no count has read yet.
bool checkRuns(MainWindow &window, Workspace &workspace, int items, int runs)
{
    auto *check = window.findChild<PageCheckLabel *>(QStringLiteral("pageCheck"));
    if (!check)
        return false;
    const QStringList snippets = cyclingSnippets(items);
    const QStringList names = cyclingNames(items);
    for (int r = 0; r < runs; ++r) {
        QStringList distinct = snippets;
        for (qsizetype i = 0; i < distinct.size(); ++i)
            distinct[i] += QStringLiteral("<!-- %1.%2 -->").arg(r).arg(i);
        pause(50);
        QElapsedTimer timer;
        timer.start();
        workspace.items().assign(distinct, names);
        while (check->isCounting())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const qint64 ns = timer.nsecsElapsed();
        const bool counted = check->text().startsWith(QStringLiteral("示例图片 "))
            && !check->text().startsWith(QStringLiteral("示例图片 0"));
        std::printf("check %d %lld %s\n", items, static_cast<long long>(ns), counted ? "ok" : "failed");
        std::fflush(stdout);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The user's settings stay out of it (the phone look, recent layouts).
    QStandardPaths::setTestModeEnabled(true);
    Workspace workspace;
    BenchPrompts prompts;
    MainWindow window(workspace, &prompts);
    bool ok = false;
    if (!waitForLoad(
            window.preview(), [&] { window.show(); }, &ok, 60000)) {
        std::fprintf(stderr, "the start prompt did not load\n");
        return 1;
    }
    auto *btn5 = window.findChild<QPushButton *>(QStringLiteral("btn5"));
    if (!btn5) {
        std::fprintf(stderr, "no page preview button\n");
        return 1;
    }

    std::mt19937 random(7);
    std::uniform_int_distribution<int> pauseMs(20, 60);
    for (int a = 1; a < argc; ++a) {
        QStringList parts = QString::fromLocal8Bit(argv[a]).split(u':');
        if (parts.value(0) == u"phone" || parts.value(0) == u"check") {
            const int items = parts.value(1).toInt(), runs = parts.value(2, QStringLiteral("5")).toInt();
            if (items <= 0 || runs <= 0) {
                std::fprintf(stderr, "bad argument %s: want phone|check:<items>:<runs>\n", argv[a]);
                return 2;
            }
            const bool done = parts.value(0) == u"phone" ? phoneRuns(window, workspace, btn5, items, runs, random)
                                                         : checkRuns(window, workspace, items, runs);
            if (!done) {
                std::fprintf(stderr, "%s failed\n", argv[a]);
                return 1;
            }
            continue;
        }
        if (parts.value(0) == u"paste") {
            if (!timePastes(window, workspace, btn5, parts.value(1, QStringLiteral("3")).toInt(), random))
                return 1;
            continue;
        }
        const bool layout = parts.constFirst() == u"layout";
        const bool selection = parts.constFirst() == u"selection";
        if (layout || selection)
            parts.removeFirst();
        const int items = parts.value(0).toInt();
        const int clicks = parts.value(1, QStringLiteral("5")).toInt();
        if (items <= 0 || clicks <= 0) {
            std::fprintf(stderr, "bad argument %s: want [layout:|selection:]<items>:<clicks>\n", argv[a]);
            return 2;
        }
        if (selection) {
            if (!selectionRuns(window, workspace, items, clicks)) {
                std::fprintf(stderr, "an operation on a selection of %d items failed\n", items);
                return 1;
            }
            continue;
        }
        if (layout) {
            if (!layoutRuns(window, workspace, prompts, items, clicks)) {
                std::fprintf(stderr, "the layout of %d items was not saved and opened\n", items);
                return 1;
            }
            continue;
        }
        // The list as a seller's Add clicks leave it; filling is not timed.
        fill(workspace, items);

        for (int c = 0; c < clicks; ++c) {
            pause(pauseMs(random));
            qint64 own = 0;
            QElapsedTimer timer;
            const bool finished = waitForLoad(
                window.preview(),
                [&] {
                    timer.start();
                    btn5->click();
                    own = timer.nsecsElapsed();
                },
                &ok, 300000);
            const qint64 total = timer.nsecsElapsed();
            if (!finished) {
                std::fprintf(stderr, "the page of %d items did not load\n", items);
                return 1;
            }
            const qint64 bytes = QFileInfo(workspace.files().previewPath()).size();
            std::printf("page %d %lld %lld %lld %s\n", items, static_cast<long long>(bytes),
                        static_cast<long long>(own), static_cast<long long>(total), ok ? "ok" : "failed");
            std::fflush(stdout);
        }
    }
    return 0;
}
