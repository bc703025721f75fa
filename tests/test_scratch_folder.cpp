// Each running copy takes a scratch folder of its own; copies are
// ScratchFolder objects here (test_two_copies runs real processes).
#include "ScratchFiles.h"
#include "ScratchFolder.h"
#include "ScratchPlatform.h"

#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

namespace {

Result<std::shared_ptr<ScratchFolder>> take()
{
    return ScratchFolder::take(&ScratchPlatform::directory);
}

QString folder(int copy)
{
    return ScratchPlatform::directory(copy);
}

} // namespace

class TestScratchFolder : public QObject
{
    Q_OBJECT

private slots:
    void copiesTakeFoldersOfTheirOwn();
};

void TestScratchFolder::copiesTakeFoldersOfTheirOwn()
{
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    auto first = take();
    auto second = take();
    QCOMPARE((*first)->path(), folder(1));
    QCOMPARE((*second)->path(), folder(2));
    // What a writer killed before its rename leaves, and a page.
    QTemporaryFile debris(folder(1) + ScratchFiles::ListName + QStringLiteral(".XXXXXX"));
    debris.setAutoRemove(false);
    QVERIFY(debris.open());
    QFile page(folder(1) + ScratchFiles::PreviewName);
    QVERIFY(page.open(QIODevice::WriteOnly));

    // A third copy leaves the folders it does not hold alone.
    QCOMPARE((*take())->path(), folder(3));
    QVERIFY(QFileInfo::exists(debris.fileName()));

    // A numbered folder goes with its owner; the first keeps its pages, and
    // loses its debris to the next copy that holds it.
    second = Failure{};
    first = Failure{};
    QVERIFY(!QFileInfo::exists(folder(2)));
    first = take();
    QCOMPARE((*first)->path(), folder(1));
    QCOMPARE(QDir(folder(1)).entryList(QDir::Files),
             QStringList({QStringLiteral("files.html"), QStringLiteral("files.lock")}));
}

QTEST_GUILESS_MAIN(TestScratchFolder)
#include "test_scratch_folder.moc"
