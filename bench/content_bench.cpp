// The content dialogs in the real window, in-process: builds the main window
// as the program does and times, `runs` times each,
//
//   editor <ns>   the item editor opening on the built-in item with the most
//                 editable pieces, until it is shown and painted;
//   assets <ns>   the page-wide dialog opening on a page of <items> items
//                 cycling through every style, shown and painted;
//   apply <ns>    its OK with a sample picture and the "#" links replaced,
//                 until the undo command is on the stack.
//
// Arguments: <items> <runs>, e.g. 1000 9. Prints one line per timing and
// "pieces <n> <bytes>" for the item the editor opens on.
#include "ContentPieces.h"
#include "ItemListPanel.h"
#include "MainWindow.h"
#include "SampleAddresses.h"
#include "StyleSnippets.h"
#include "Workspace.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>

#include <cstdio>
#include <functional>

namespace {

// Runs `open`, which opens a modal dialog, and `act` on that dialog as soon
// as its event loop runs; the dialog is closed afterwards if `act` did not.
void withDialog(const std::function<void()> &open, const std::function<void(QDialog *)> &act)
{
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            std::fprintf(stderr, "no dialog opened\n");
            std::exit(1);
        }
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    open();
}

[[noreturn]] void fail(const char *why)
{
    std::fprintf(stderr, "zanfor-content-bench: %s\n", why);
    std::exit(1);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int items = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 9;
    if (items <= 0 || runs <= 0)
        fail("want <items> <runs>");

    Workspace workspace;
    MainWindow window(workspace);
    window.show();

    // The editor's cost grows with its fields: the item with the most.
    QString richest;
    std::size_t mostPieces = 0;
    for (const StyleRef &ref : everyStyle()) {
        const QString snippet = snippetFor(ref);
        if (const std::size_t n = ContentPieces(snippet).pieces().size(); n > mostPieces) {
            mostPieces = n;
            richest = snippet;
        }
    }
    std::printf("pieces %zu %lld\n", mostPieces, static_cast<long long>(richest.toUtf8().size()));
    workspace.items().append(richest, QStringLiteral("  richest"));
    window.itemList()->setCurrentIndex(window.itemList()->model()->index(0, 0));

    QElapsedTimer timer;
    const auto painted = [&](QDialog *dialog) {
        dialog->repaint();
        return timer.nsecsElapsed();
    };
    for (int r = 0; r < runs; ++r) {
        qint64 opened = 0;
        withDialog(
            [&] {
                timer.start();
                window.items()->editItem();
            },
            [&](QDialog *dialog) { opened = painted(dialog); });
        std::printf("editor %lld\n", static_cast<long long>(opened));
    }

    const QStringList snippets = cyclingSnippets(items);
    const QStringList names = cyclingNames(items);
    workspace.items().clear();
    for (int i = 0; i < items; ++i)
        workspace.items().append(snippets.at(i), names.at(i));
    const QString samplePicture = QString::fromUtf16(SampleAddresses::SamplePic01);
    for (int r = 0; r < runs; ++r) {
        qint64 opened = 0, okAt = 0;
        withDialog(
            [&] {
                timer.start();
                window.items()->editPageAddresses();
            },
            [&](QDialog *dialog) {
                opened = painted(dialog);
                for (QLineEdit *field : dialog->findChildren<QLineEdit *>()) {
                    if (field->text() == samplePicture)
                        field->setText(QStringLiteral("https://img.shop.cn/main.png"));
                    else if (field->text() == u"#")
                        field->setText(QStringLiteral("https://shop.cn/"));
                }
                okAt = timer.nsecsElapsed();
                dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
            });
        const qint64 applied = timer.nsecsElapsed() - okAt;
        if (window.undoStack()->count() != 1 || workspace.items().snippets() == snippets)
            fail("the page-wide replacement changed nothing");
        window.undoStack()->undo();
        window.undoStack()->clear();
        if (workspace.items().snippets() != snippets)
            fail("undo did not restore the page");
        std::printf("assets %lld\napply %lld\n", static_cast<long long>(opened), static_cast<long long>(applied));
        std::fflush(stdout);
    }
    return 0;
}
