// Two copies of the program running side by side over one cache folder:
// each previews its own pages, also when it shows its page again as a
// recovery from a dead render process does. The copies are real processes:
// this executable started with --copy NAME runs the window, previews a page
// saying NAME, prints what its view shows, and shows the page again for
// every line it reads.
#include "MainWindow.h"
#include "PreviewView.h"
#include "UserPrompts.h"
#include "Workspace.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

class SilentPrompts : public UserPrompts
{
public:
    void notice(const QString &) override { }
    void error(const QString &text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
};

template<typename Predicate>
bool waitUntil(Predicate done)
{
    QDeadlineTimer deadline(60000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// Shows the page `show` asks for and returns what the view then shows.
template<typename Show>
QString shownAfter(PreviewView *view, Show show)
{
    QSignalSpy loads(view, &PreviewView::loadFinished);
    show();
    if (!waitUntil([&] { return !loads.isEmpty(); }))
        return QStringLiteral("<no load>");
    std::optional<QString> text;
    view->view()->page()->toPlainText([&](const QString &t) { text = t; });
    return waitUntil([&] { return text.has_value(); }) ? text->trimmed() : QStringLiteral("<no text>");
}

int runCopy(const QString &name)
{
    Workspace workspace;
    SilentPrompts prompts;
    MainWindow window(workspace, &prompts);
    PreviewView *view = window.preview();
    shownAfter(view, [&] { window.show(); });
    workspace.items().append(QStringLiteral("<p>%1</p>").arg(name), QStringLiteral("  自定义-") + name);
    std::printf("%s\n", qPrintable(shownAfter(view, [&] { window.pagePreview(); })));
    std::fflush(stdout);
    char line[16];
    while (std::fgets(line, sizeof line, stdin)) {
        std::printf("%s\n", qPrintable(shownAfter(view, [&] { view->showFile(view->lastFile().toLocalFile()); })));
        std::fflush(stdout);
    }
    return 0;
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
    QVERIFY(cache.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path());

    const QStringList names{QStringLiteral("first"), QStringLiteral("second")};
    std::vector<std::unique_ptr<QProcess>> copies;
    const auto nextLine = [](QProcess &copy) {
        while (!copy.canReadLine() && copy.waitForReadyRead(120000)) { }
        return QString::fromLocal8Bit(copy.readLine().trimmed());
    };
    for (const QString &name : names) {
        copies.push_back(std::make_unique<QProcess>());
        copies.back()->setProcessEnvironment(environment);
        copies.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        copies.back()->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--copy"), name});
        QCOMPARE(nextLine(*copies.back()), name);
    }
    // Each shows its page again after the other has written its own.
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 0; i < copies.size(); ++i) {
            copies[i]->write("again\n");
            QCOMPARE(nextLine(*copies[i]), names.at(int(i)));
        }
    }
    for (const auto &copy : copies) {
        copy->closeWriteChannel();
        QVERIFY(copy->waitForFinished(120000));
        QCOMPARE(copy->exitCode(), 0);
    }
    // The first copy's folder stays where a copy running alone keeps it; the
    // second copy's own folder went with it.
    QVERIFY(QFileInfo::exists(cache.filePath(QStringLiteral("zanfor-layout/files.html"))));
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
