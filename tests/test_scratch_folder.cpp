// Each running copy gets a scratch folder of its own, and what a copy that
// died left behind is cleared away. Copies are real processes: this
// executable started with --hold takes a folder, leaves a half-written
// temporary file in it, prints the folder and waits to be killed.
#include "ScratchFiles.h"
#include "ScratchFolder.h"
#include "ScratchPlatform.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// A temporary copy as a writer killed before its rename leaves it.
QString leaveTemporary(const QString &folder, QLatin1String scratch)
{
    QTemporaryFile file(folder + scratch + QStringLiteral(".XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        return {};
    file.write("half");
    return QFileInfo(file.fileName()).fileName();
}

void touch(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("page");
}

int hold()
{
    const auto folder = ScratchFolder::take(&ScratchPlatform::directory);
    if (!folder)
        return 1;
    touch((*folder)->path() + ScratchFiles::ListName);
    leaveTemporary((*folder)->path(), ScratchFiles::PreviewName);
    std::printf("%s\n", qPrintable((*folder)->path()));
    std::fflush(stdout);
    std::getchar();
    return 0;
}

} // namespace

class TestScratchFolder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void copiesTakeFoldersOfTheirOwn();
    void whatDeadCopiesLeftIsCleared();

private:
    // A copy in a process of its own; its folder once it holds it.
    QString startCopy(QProcess &process);
    static QString folder(int copy) { return ScratchPlatform::directory(copy); }

    std::unique_ptr<QTemporaryDir> m_cache;
};

void TestScratchFolder::init()
{
    m_cache = std::make_unique<QTemporaryDir>();
    QVERIFY(m_cache->isValid());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache->path()));
}

QString TestScratchFolder::startCopy(QProcess &process)
{
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold")});
    if (!process.waitForReadyRead(60000))
        return {};
    return QString::fromLocal8Bit(process.readLine().trimmed());
}

void TestScratchFolder::copiesTakeFoldersOfTheirOwn()
{
    auto first = ScratchFolder::take(&ScratchPlatform::directory);
    auto second = ScratchFolder::take(&ScratchPlatform::directory);
    auto third = ScratchFolder::take(&ScratchPlatform::directory);
    QVERIFY(first && second && third);
    QCOMPARE((*first)->path(), folder(1));
    QCOMPARE((*second)->path(), folder(2));
    QCOMPARE((*third)->path(), folder(3));
    touch(folder(1) + ScratchFiles::ListName);
    touch(folder(2) + ScratchFiles::ListName);

    // A numbered folder goes with its owner, and the next copy takes the
    // lowest free number again; the first folder keeps its files.
    second = Failure{};
    QVERIFY(!QFileInfo::exists(folder(2)));
    auto fourth = ScratchFolder::take(&ScratchPlatform::directory);
    QCOMPARE((*fourth)->path(), folder(2));
    first = Failure{};
    QVERIFY(QFileInfo::exists(folder(1) + ScratchFiles::ListName));
}

void TestScratchFolder::whatDeadCopiesLeftIsCleared()
{
    QProcess one, two, alive;
    QCOMPARE(startCopy(one), folder(1));
    QCOMPARE(startCopy(two), folder(2));
    const QString debris = leaveTemporary(folder(1), ScratchFiles::ListName);
    QVERIFY(!debris.isEmpty());
    touch(folder(1) + QStringLiteral("notes.txt"));
    for (QProcess *p : {&one, &two}) {
        p->kill();
        QVERIFY(p->waitForFinished(60000));
    }

    // The dead first copy's folder is taken again: its temporary copies go,
    // its scratch files and anything else stay. The dead second copy's
    // folder goes altogether.
    auto mine = ScratchFolder::take(&ScratchPlatform::directory);
    QCOMPARE((*mine)->path(), folder(1));
    QCOMPARE(QDir(folder(1)).entryList(QDir::Files),
             QStringList({QStringLiteral("files.lock"), ScratchFiles::ListName, QStringLiteral("notes.txt")}));
    QVERIFY(!QFileInfo::exists(folder(2)));

    // A living copy's debris is its own business.
    QCOMPARE(startCopy(alive), folder(2));
    const QStringList living = QDir(folder(2)).entryList(QDir::Files);
    auto another = ScratchFolder::take(&ScratchPlatform::directory);
    QCOMPARE((*another)->path(), folder(3));
    QCOMPARE(QDir(folder(2)).entryList(QDir::Files), living);
    alive.kill();
    alive.waitForFinished(60000);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--hold") == 0)
        return hold();
    TestScratchFolder test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_scratch_folder.moc"
