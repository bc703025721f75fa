// Page preview in the real window, in-process: builds the main window as the
// program does, fills the generated-items list with N items cycling through
// every style, and times clicks on 预览 (btn5). For each click it prints
//
//   page <items> <page bytes> <own ns> <total ns> <ok|failed>
//
// where "own" is the time until the click handler (MainWindow::pagePreview)
// returns, i.e. before the web view starts loading, and "total" runs to the
// web view's loadFinished. Arguments: <items>:<clicks> ... e.g. 1000:7.
//
// The argument paste:<clicks> times a seller's 5 MB paste into the custom
// section instead: Add (btn23) and then 预览 on a list holding only it, the
// two handlers together as "own":
//
//   paste 1 <page bytes> <own ns> <total ns> <ok|failed>
#include "MainWindow.h"
#include "PreviewView.h"
#include "SectionTable.h"
#include "StyleSnippets.h"
#include "Workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Workspace workspace;
    MainWindow window(workspace);
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
        const QStringList parts = QString::fromLocal8Bit(argv[a]).split(u':');
        if (parts.value(0) == u"paste") {
            if (!timePastes(window, workspace, btn5, parts.value(1, QStringLiteral("3")).toInt(), random))
                return 1;
            continue;
        }
        const int items = parts.value(0).toInt();
        const int clicks = parts.value(1, QStringLiteral("5")).toInt();
        if (items <= 0 || clicks <= 0) {
            std::fprintf(stderr, "bad argument %s: want <items>:<clicks>\n", argv[a]);
            return 2;
        }
        // The list as a seller's Add clicks leave it; filling is not timed.
        const QStringList snippets = cyclingSnippets(items);
        const QStringList names = cyclingNames(items);
        workspace.items().clear();
        for (int i = 0; i < items; ++i)
            workspace.items().append(snippets.at(i), names.at(i));

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
