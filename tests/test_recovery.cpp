// The recovery copies of the page: the store (written, read back, set
// aside when damaged, a running copy's left alone), the writer that keeps
// one up to date, and a program killed after a few changes whose page the
// next start offers back. A killed program is this executable started with
// --child FOLDER: it makes its changes, says so, and waits to be killed.
#include "ItemListPanel.h"
#include "LayoutActions.h"
#include "MainWindow.h"
#include "PageRecovery.h"
#include "RecoveryActions.h"
#include "TestSupport.h"
#include "UserPrompts.h"

#include <QApplication>
#include <QProcess>
#include <QUndoStack>
#include <QtTest>

#include <cstdio>
#include <cstring>

namespace {

// Answers the start question from the test and records what was asked.
class Answers : public UserPrompts
{
public:
    void notice(const QString &text) override { shown.append(text); }
    void error(const QString &text) override { shown.append(text); }
    bool askYesNo(const QString &question, const QString &yes, const QString &no, bool) override
    {
        asked.append(question % u" [" % yes % u'/' % no % u']');
        return recover;
    }
    SaveAnswer askSaveChanges(const QString &question) override
    {
        asked.append(question);
        return SaveAnswer::Discard;
    }

    QStringList shown, asked;
    bool recover = true;
};

// The changes a killed program made.
const Layout Killed = sampleLayout(ShopType::Tmall, 3);

int runChild(const QString &folder)
{
    Workspace workspace;
    Answers answers;
    MainWindow window(workspace, &answers);
    window.keepRecoveryCopies(
        std::make_shared<RecoveryStore>(folder, workspace.files().copy(), &RecoveryStore::isCopyRunning));
    window.chooseShopType(Killed.shopType);
    for (qsizetype i = 0; i < Killed.names.size(); ++i)
        window.items()->addItem({Killed.names.at(i), Killed.snippets.at(i)});
    RecoveryWriter *writer = window.recovery()->writer();
    QDeadlineTimer deadline(30000);
    while (writer->writes() == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::printf("%s\n", writer->writes() ? "written" : "nothing written");
    std::fflush(stdout);
    return QApplication::exec(); // until killed
}

} // namespace

Q_DECLARE_METATYPE(Layout)

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void store_data();
    void store();
    void writer();
    void killedProgram_data();
    void killedProgram();

private:
    QTemporaryDir m_home;
};

void TestRecovery::initTestCase()
{
    // This test's own folders, also for the programs it starts.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("cache"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
}

void TestRecovery::store_data()
{
    QTest::addColumn<QString>("left");  // what copy 1 left: "page", "damaged"
    QTest::addColumn<bool>("running");  // copy 1 still runs
    QTest::addColumn<bool>("sameCopy"); // the next start has copy 1's number
    QTest::addColumn<bool>("offered");

    QTest::newRow("another copy's page") << "page" << false << false << true;
    QTest::newRow("a page of this copy's number") << "page" << false << true << true;
    QTest::newRow("a running copy's page") << "page" << true << false << false;
    QTest::newRow("damaged: set aside") << "damaged" << false << false << false;
}

void TestRecovery::store()
{
    QFETCH(QString, left);
    QFETCH(bool, running);
    QFETCH(bool, sameCopy);
    QFETCH(bool, offered);

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    const RecoveryStore first(folder, 1, [](int) { return false; });
    const LayoutFile::Origin origin{QStringLiteral("/d/a.zlayout"), true, {12, 34, QByteArray(32, 'h')}};
    QVERIFY(first.write(sampleLayout(ShopType::Market, 2), origin).ok());
    if (left == u"damaged")
        QVERIFY(writeBytes(first.ownPath(), "{\"format\": \"zanfor-layout\", \"version\": 1"));

    const RecoveryStore next(folder, sameCopy ? 1 : 2, [running](int copy) { return running && copy == 1; });
    next.keepEarlier();
    QVERIFY(next.write(sampleLayout(ShopType::Tmall, 1), {}).ok()); // its own, at once
    const QStringList leftOvers = next.leftOvers();
    QCOMPARE(leftOvers.size(), running ? 0 : 1);
    if (running)
        return;
    const Result<RecoveredPage> claimed = next.claim(leftOvers.constFirst());
    QCOMPARE(claimed.ok(), offered);
    if (offered) {
        QVERIFY(claimed->layout == sampleLayout(ShopType::Market, 2));
        QCOMPARE(claimed->origin.file, origin.file);
        QCOMPARE(claimed->origin.modified, true);
        QVERIFY(claimed->origin.stamp == origin.stamp);
        next.adopt(*claimed); // 恢复: the page is this copy's now
        QVERIFY(LayoutFile::fromJson(readBytes(next.ownPath())).value() == sampleLayout(ShopType::Market, 2));
    } else {
        QVERIFY2(claimed.error().contains(leftOvers.constFirst() + QStringLiteral(".damaged")),
                 qPrintable(claimed.error()));
        QVERIFY(QFile::exists(leftOvers.constFirst() + QStringLiteral(".damaged"))); // never deleted
    }
    QCOMPARE(next.leftOvers(), QStringList()); // offered once
}

void TestRecovery::writer()
{
    QTemporaryDir dir;
    auto store = std::make_shared<RecoveryStore>(dir.path(), 1, [](int) { return false; });
    RecoveryWriter::Snapshot now{true, sampleLayout(ShopType::None, 0), {}};
    RecoveryWriter writer(store, [&] { return now; });

    // A burst of changes: one write, of the page as it stood last.
    for (int i = 1; i <= 20; ++i) {
        now.page = sampleLayout(ShopType::Market, i);
        writer.changed();
    }
    QTRY_COMPARE_WITH_TIMEOUT(writer.writes(), 1, 5000);
    QVERIFY(LayoutFile::fromJson(readBytes(store->ownPath())).value() == sampleLayout(ShopType::Market, 20));
    QTest::qWait(2 * RecoveryWriter::Delay);
    QCOMPARE(writer.writes(), 1);

    // Saved: nothing to recover, and the copy goes.
    now.needed = false;
    writer.changed();
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(store->ownPath()), 5000);

    // A clean end removes it too, and nothing queued writes it again.
    now.needed = true;
    writer.flush();
    writer.finish();
    QVERIFY(!QFile::exists(store->ownPath()));
    writer.changed();
    QTest::qWait(2 * RecoveryWriter::Delay);
    QVERIFY(!QFile::exists(store->ownPath()));
}

void TestRecovery::killedProgram_data()
{
    QTest::addColumn<bool>("recover");

    QTest::newRow("恢复") << true;
    QTest::newRow("放弃") << false;
}

void TestRecovery::killedProgram()
{
    QFETCH(bool, recover);

    const QString folder = m_home.filePath(QStringLiteral("recovery"));
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), folder});
    QVERIFY(child.waitForReadyRead(60000));
    QCOMPARE(child.readLine().trimmed(), QByteArray("written"));

    {
        // While it runs, its page is its own.
        Workspace workspace;
        Answers answers;
        MainWindow window(workspace, &answers);
        window.keepRecoveryCopies(
            std::make_shared<RecoveryStore>(folder, workspace.files().copy(), &RecoveryStore::isCopyRunning));
        window.recovery()->offer();
        QCOMPARE(answers.asked, QStringList());
    }

    child.kill(); // SIGKILL: nothing of its own runs
    QVERIFY(child.waitForFinished(60000));

    Workspace workspace;
    Answers answers;
    answers.recover = recover;
    MainWindow window(workspace, &answers);
    window.keepRecoveryCopies(
        std::make_shared<RecoveryStore>(folder, workspace.files().copy(), &RecoveryStore::isCopyRunning));
    window.recovery()->offer();
    QCOMPARE(answers.asked, QStringList{QStringLiteral("上次的页面没有正常关闭。要恢复它吗？ [恢复/放弃]")});
    QCOMPARE(answers.shown, QStringList());
    QVERIFY(workspace.layout() == (recover ? Killed : Layout{}));
    QCOMPARE(window.undoStack()->count(), recover ? 1 : 0);
    QCOMPARE(window.windowTitle(),
             recover ? QStringLiteral("*未命名 - Zanfor描述排版器") : QStringLiteral("Zanfor描述排版器"));

    // Asked once: nothing is left for the next start, and closing (after
    // 不保存) leaves no copy behind.
    window.recovery()->offer();
    QCOMPARE(answers.asked.size(), 1);
    window.show();
    QVERIFY(window.close());
    QCOMPARE(answers.asked.size(), recover ? 2 : 1); // "页面尚未保存，是否保存？"
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--child") == 0)
        return runChild(QString::fromLocal8Bit(argv[2]));
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_recovery.moc"
