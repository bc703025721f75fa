// Copies of the program side by side over one cache folder each preview
// their own pages, also when they show a page again as a recovery from a
// dead render process does; a killed copy's folder goes with the next copy.
// A copy is this executable started with --copy NAME: it previews a page
// saying NAME, prints what its view shows, and shows the page again for
// every line it reads.
#include "ItemListPanel.h"
#include "MainWindow.h"
#include "PreviewView.h"
#include "Workspace.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// Runs `show` and returns the text the view shows after its next load; with
// `text` given, once the view shows that.
template<typename Show>
QString shownAfter(PreviewView *view, Show show, const QString &text = {})
{
    QSignalSpy loads(view, &PreviewView::loadFinished);
    show();
    auto shown = std::make_shared<std::optional<QString>>();
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        if (!loads.isEmpty() && shown.use_count() == 1) {
            if (*shown && (text.isEmpty() || **shown == text))
                return **shown;
            view->view()->page()->toPlainText([shown](const QString &t) { *shown = t.trimmed(); });
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return QStringLiteral("<nothing shown>");
}

int runCopy(const QString &name)
{
    Workspace workspace;
    MainWindow window(workspace);
    PreviewView *view = window.preview();
    shownAfter(
        view, [&] { window.show(); }, MainWindow::StartPrompt);
    workspace.items().append(QStringLiteral("<p>%1</p>").arg(name), QStringLiteral("  自定义-") + name);
    const auto print = [](const QString &text) {
        std::printf("%s\n", qPrintable(text));
        std::fflush(stdout);
    };
    print(shownAfter(view, [&] { window.items()->pagePreview(); }));
    for (char line[8]; std::fgets(line, sizeof line, stdin);)
        print(shownAfter(view, [&] { view->showFile(workspace.files().previewPath()); }));
    return 0;
}

QString nextLine(QProcess &copy)
{
    while (!copy.canReadLine() && copy.waitForReadyRead(120000)) { }
    return QString::fromLocal8Bit(copy.readLine().trimmed());
}

} // namespace

class TestTwoCopies : public QObject
{
    Q_OBJECT

private slots:
    void eachCopyPreviewsItsOwnPages();
};

void TestTwoCopies::eachCopyPreviewsItsOwnPages()
{
    QTemporaryDir cache;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path());
    QProcess copies[3];
    const QStringList names{QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")};
    const auto start = [&](int i) {
        copies[i].setProcessEnvironment(environment);
        copies[i].setProcessChannelMode(QProcess::ForwardedErrorChannel);
        copies[i].start(QCoreApplication::applicationFilePath(), {QStringLiteral("--copy"), names.at(i)});
        return nextLine(copies[i]);
    };
    QCOMPARE(start(0), names.at(0));
    QCOMPARE(start(1), names.at(1));
    for (int i : {0, 1, 0}) {
        copies[i].write("again\n");
        QCOMPARE(nextLine(copies[i]), names.at(i));
    }

    // The second copy is killed, the first ends: the third takes the first
    // folder and removes the killed copy's.
    copies[1].kill();
    QVERIFY(copies[1].waitForFinished(60000));
    copies[0].closeWriteChannel();
    QVERIFY(copies[0].waitForFinished(60000));
    QCOMPARE(start(2), names.at(2));
    copies[2].closeWriteChannel();
    QVERIFY(copies[2].waitForFinished(60000));
    QCOMPARE(QDir(cache.path()).entryList({QStringLiteral("zanfor-layout*")}, QDir::Dirs),
             QStringList{QStringLiteral("zanfor-layout")});
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--copy") == 0)
        return runCopy(QString::fromLocal8Bit(argv[2]));
    TestTwoCopies test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_two_copies.moc"
