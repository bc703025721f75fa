#include "LineBreaks.h"
#include "PageOutput.h"
#include "ScratchFiles.h"
#include "ScratchPlatform.h"
#include "TestSupport.h"

#include <QtTest>

#ifdef Q_OS_UNIX
#  include <cerrno>
#  include <csignal>
#  include <cstring>
#  include <sys/resource.h>
#endif

namespace {

QString cannotCreate(const QString &path)
{
    return QLatin1String("Cannot create file \"") % QDir::toNativeSeparators(path) % QLatin1String("\". ");
}

// Writes real files, except that the chosen path fails as on a full disk.
class FullDiskWriter : public FileWriter
{
public:
    explicit FullDiskWriter(const QString &failingPath)
        : m_failingPath(failingPath)
    {
    }
    Result<> write(const QString &path, const QByteArray &bytes) override
    {
        if (path == m_failingPath)
            return Failure{QStringLiteral("No space left on device")};
        return m_real.write(path, bytes);
    }

private:
    QString m_failingPath;
    SaveFileWriter m_real;
};

// A scratch folder in a temporary directory with its own ScratchFiles and
// PageOutput.
struct Scratch
{
    explicit Scratch(const QString &failingName = QString(), const QString &subfolder = QStringLiteral("scratch"))
        : folder(tmp.path() + u'/' + subfolder)
        , files(folder,
                failingName.isEmpty() ? std::unique_ptr<FileWriter>(std::make_unique<SaveFileWriter>())
                                      : std::make_unique<FullDiskWriter>(folder + u'/' + failingName))
        , output(files)
    {
    }
    QByteArray list() const { return readBytes(files.listPath()); }
    QByteArray preview() const { return readBytes(files.previewPath()); }
    QStringList entries() const { return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

    QTemporaryDir tmp;
    QString folder;
    ScratchFiles files;
    PageOutput output;
};

} // namespace

class TestPageOutput : public QObject
{
    Q_OBJECT
private slots:
    void normalizeLineBreaks_data();
    void normalizeLineBreaks();
    void asTerminatedLines_data();
    void asTerminatedLines();

    void pagePreview_data();
    void pagePreview();
    void pagePreview_tenThousandItems();
    void stylePreview_data();
    void stylePreview();
    void couponPreview();
    void memoFollowsLastPreview();

    void fileWhereFolderShouldBe();
    void pagePreviewFault_data();
    void pagePreviewFault();
    void failedWriteKeepsOldFile();

    void directory_data();
    void directory();
};

void TestPageOutput::normalizeLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("no breaks") << QStringLiteral("<b>中文</b>") << QStringLiteral("<b>中文</b>");
    QTest::newRow("CR LF only") << QStringLiteral("a\r\nb\r\n") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("LF only") << QStringLiteral("a\nb\nc") << QStringLiteral("a\r\nb\r\nc");
    QTest::newRow("lone CR") << QStringLiteral("a\rb") << QStringLiteral("a\r\nb");
    QTest::newRow("mixed") << QStringLiteral("a\nb\rc\r\nd") << QStringLiteral("a\r\nb\r\nc\r\nd");
    QTest::newRow("CR CR LF is two breaks") << QStringLiteral("a\r\r\nb") << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("LF CR is two breaks") << QStringLiteral("a\n\rb") << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("trailing LF") << QStringLiteral("a\n") << QStringLiteral("a\r\n");
    QTest::newRow("trailing CR") << QStringLiteral("a\r") << QStringLiteral("a\r\n");
    QTest::newRow("only breaks") << QStringLiteral("\n\r\n\r") << QStringLiteral("\r\n\r\n\r\n");
    QTest::newRow("leading breaks") << QStringLiteral("\n\nx") << QStringLiteral("\r\n\r\nx");
}

void TestPageOutput::normalizeLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    // A heap copy, since a literal's static data is never reported as shared.
    const QString input(text.constData(), text.size());
    const QString result = ::normalizeLineBreaks(input);
    QCOMPARE(result, expected);
    // A text that needs nothing comes back as the same data, not a copy.
    if (text == expected && !text.isEmpty())
        QVERIFY(result.isSharedWith(input));
    // The page preview normalises the encoded bytes instead: same result.
    QCOMPARE(QString::fromUtf8(normalizeLineBreakBytes(input.toUtf8())), expected);
}

void TestPageOutput::asTerminatedLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one line") << QStringLiteral("a") << QStringLiteral("a\r\n");
    QTest::newRow("already terminated") << QStringLiteral("a\r\n") << QStringLiteral("a\r\n");
    QTest::newRow("LF at end") << QStringLiteral("a\n") << QStringLiteral("a\r\n");
    QTest::newRow("CR at end") << QStringLiteral("a\r") << QStringLiteral("a\r\n");
    QTest::newRow("two lines") << QStringLiteral("a\nb") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("empty last line kept") << QStringLiteral("a\n\n") << QStringLiteral("a\r\n\r\n");
    QTest::newRow("a lone break") << QStringLiteral("\n") << QStringLiteral("\r\n");
}

void TestPageOutput::asTerminatedLines()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(::asTerminatedLines(text), expected);
}

void TestPageOutput::pagePreview_data()
{
    QTest::addColumn<QStringList>("snippets");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QByteArray>("page");

    QTest::newRow("empty list") << QStringList() << QByteArray() << QByteArray();
    QTest::newRow("one snippet") << QStringList{QStringLiteral("<p>a</p>")} << QByteArray("<p>a</p>\r\n")
                                 << QByteArray("<p>a</p>\r\n");
    QTest::newRow("in list order") << QStringList{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("b")}
                                   << QByteArray("b\r\na\r\nb\r\n") << QByteArray("b\r\na\r\nb\r\n");
    QTest::newRow("LF-only snippet reaches the list unchanged")
        << QStringList{QStringLiteral("<p>\n</p>\n"), QStringLiteral("x")} << QByteArray("<p>\n</p>\n\r\nx\r\n")
        << QByteArray("<p>\r\n</p>\r\n\r\nx\r\n");
    QTest::newRow("lone CR") << QStringList{QStringLiteral("a\rb")} << QByteArray("a\rb\r\n")
                             << QByteArray("a\r\nb\r\n");
    QTest::newRow("empty snippets") << QStringList{QString(), QString()} << QByteArray("\r\n\r\n")
                                    << QByteArray("\r\n\r\n");
    QTest::newRow("snippet ending in CR LF")
        << QStringList{QStringLiteral("x\r\n")} << QByteArray("x\r\n\r\n") << QByteArray("x\r\n\r\n");
    QTest::newRow("Chinese as UTF-8, no BOM")
        << QStringList{QStringLiteral("<td>优惠券</td>"), QStringLiteral("满200元使用\n￥")}
        << QByteArray("<td>\xE4\xBC\x98\xE6\x83\xA0\xE5\x88\xB8</td>\r\n"
                      "\xE6\xBB\xA1"
                      "200\xE5\x85\x83\xE4\xBD\xBF\xE7\x94\xA8\n\xEF\xBF\xA5\r\n")
        << QByteArray("<td>\xE4\xBC\x98\xE6\x83\xA0\xE5\x88\xB8</td>\r\n"
                      "\xE6\xBB\xA1"
                      "200\xE5\x85\x83\xE4\xBD\xBF\xE7\x94\xA8\r\n\xEF\xBF\xA5\r\n");
}

void TestPageOutput::pagePreview()
{
    QFETCH(QStringList, snippets);
    QFETCH(QByteArray, list);
    QFETCH(QByteArray, page);

    Scratch s;
    const PreviewResult r = s.output.pagePreview(snippets);
    QVERIFY(r.ok());
    QVERIFY(r.error().isEmpty());
    QCOMPARE(r.value(), s.files.previewPath());
    QCOMPARE(s.list(), list);
    QCOMPARE(s.preview(), page);
    QCOMPARE(s.output.memo(), QString::fromUtf8(page));
    QVERIFY(!s.preview().startsWith("\xEF\xBB\xBF"));
}

void TestPageOutput::pagePreview_tenThousandItems()
{
    QStringList snippets;
    QByteArray list;
    QByteArray page;
    for (int i = 0; i < 10000; ++i) {
        // Every third snippet has LF-only breaks.
        const QString s = i % 3 ? QStringLiteral("<div>项目%1</div>").arg(i) : QStringLiteral("<p>\n%1\n</p>").arg(i);
        snippets.append(s);
        list += s.toUtf8() + "\r\n";
        page += QString(s).replace(u'\n', QLatin1String("\r\n")).toUtf8() + "\r\n";
    }
    Scratch s;
    QVERIFY(s.output.pagePreview(snippets).ok());
    QCOMPARE(s.list(), list);
    QCOMPARE(s.preview(), page);
    QCOMPARE(s.output.memo(), QString::fromUtf8(page));
}

void TestPageOutput::stylePreview_data()
{
    QTest::addColumn<QString>("snippet");

    QTest::newRow("one line") << QStringLiteral("<table></table>");
    QTest::newRow("LF kept, nothing added") << QStringLiteral("a\nb");
    QTest::newRow("lone CR kept") << QStringLiteral("a\rb");
    QTest::newRow("trailing CR LF kept") << QStringLiteral("x\r\n");
    QTest::newRow("empty") << QString();
    QTest::newRow("Chinese") << QStringLiteral("默认样式 ￥10");
}

void TestPageOutput::stylePreview()
{
    QFETCH(QString, snippet);
    Scratch s;
    const PreviewResult r = s.output.stylePreview(snippet);
    QVERIFY(r.ok());
    QCOMPARE(r.value(), s.files.previewPath());
    QCOMPARE(s.output.memo(), snippet);
    QCOMPARE(s.preview(), snippet.toUtf8());
    QVERIFY(!QFile::exists(s.files.listPath()));
}

void TestPageOutput::couponPreview()
{
    Scratch s;
    const QString block = QStringLiteral("<a href=\"#优惠券链接\">B</a>");
    const PreviewResult r = s.output.couponPreview(block);
    QVERIFY(r.ok());
    QCOMPARE(r.value(), s.files.previewPath());
    QCOMPARE(s.preview(),
             QStringLiteral("<table width=\"100%\" border=\"0\"><tr><td><a href=\"#优惠券链接\">B</a></td>"
                            "<td><a href=\"#优惠券链接\">B</a></td><td><a href=\"#优惠券链接\">B</a></td>"
                            "</tr></table>\r\n")
                 .toUtf8());
    QCOMPARE(s.output.memo(), QStringLiteral("mmo1"));
}

void TestPageOutput::memoFollowsLastPreview()
{
    Scratch s;
    // Nothing is written before the first preview.
    QCOMPARE(s.output.memo(), QStringLiteral("mmo1"));
    QVERIFY(s.entries().isEmpty());

    QVERIFY(s.output.stylePreview(QStringLiteral("one")));
    QCOMPARE(s.output.memo(), QStringLiteral("one"));
    QVERIFY(s.output.pagePreview({QStringLiteral("a"), QStringLiteral("b")}));
    QCOMPARE(s.output.memo(), QStringLiteral("a\r\nb\r\n"));
    QVERIFY(s.output.couponPreview(QStringLiteral("c")));
    QCOMPARE(s.output.memo(), QStringLiteral("a\r\nb\r\n"));
    // An item under edit is previewed as it is, line breaks and all.
    QVERIFY(s.output.itemPreview(QStringLiteral("<p>编辑\n</p>")));
    QCOMPARE(s.preview(), QStringLiteral("<p>编辑\n</p>").toUtf8());
    QCOMPARE(s.output.memo(), QStringLiteral("a\r\nb\r\n"));
    QVERIFY(s.output.stylePreview(QStringLiteral("two")));
    QCOMPARE(s.output.memo(), QStringLiteral("two"));
    QCOMPARE(s.preview(), QByteArray("two"));
    // The list file keeps the last page's list.
    QCOMPARE(s.list(), QByteArray("a\r\nb\r\n"));
    QCOMPARE(s.entries(), QStringList({QStringLiteral("files.html"), QStringLiteral("files.txt")}));
}

void TestPageOutput::fileWhereFolderShouldBe()
{
    Scratch s;
    QVERIFY(writeBytes(s.folder, "not a folder"));

    PreviewResult r = s.output.pagePreview({QStringLiteral("a")});
    QVERIFY(!r.ok());
    QVERIFY2(r.error().startsWith(cannotCreate(s.files.listPath())), qPrintable(r.error()));
    QVERIFY(r.error().size() > cannotCreate(s.files.listPath()).size()); // a reason follows
    QCOMPARE(s.output.memo(), QStringLiteral("mmo1"));

    // A failed style preview still leaves the snippet in the memo.
    r = s.output.stylePreview(QStringLiteral("snippet"));
    QVERIFY(!r.ok());
    QVERIFY2(r.error().startsWith(cannotCreate(s.files.previewPath())), qPrintable(r.error()));
    QCOMPARE(s.output.memo(), QStringLiteral("snippet"));

    QVERIFY(!s.output.couponPreview(QStringLiteral("c")).ok());
    QVERIFY(!s.output.itemPreview(QStringLiteral("i")).ok());
    QCOMPARE(s.output.memo(), QStringLiteral("snippet"));
    QCOMPARE(readBytes(s.folder), QByteArray("not a folder"));
}

void TestPageOutput::pagePreviewFault_data()
{
    QTest::addColumn<QString>("failing"); // the file that cannot be written
    QTest::addColumn<bool>("diskFull");   // through the writer, else a folder stands there
    QTest::newRow("files.txt is a folder") << QStringLiteral("files.txt") << false;
    QTest::newRow("files.html is a folder") << QStringLiteral("files.html") << false;
    QTest::newRow("disk full at files.txt") << QStringLiteral("files.txt") << true;
    QTest::newRow("disk full at files.html") << QStringLiteral("files.html") << true;
}

void TestPageOutput::pagePreviewFault()
{
    QFETCH(QString, failing);
    QFETCH(bool, diskFull);
    Scratch s(diskFull ? failing : QString());
    const QString failingPath = s.folder + u'/' + failing;
    const bool step1 = failing == QLatin1String("files.txt");

    // An earlier page in the files, and in the memo where a style preview
    // can still put it there.
    QVERIFY(QDir().mkpath(s.folder));
    QVERIFY(writeBytes(s.files.listPath(), "old list\r\n"));
    QVERIFY(writeBytes(s.files.previewPath(), "old page\r\n"));
    if (step1)
        QVERIFY(s.output.stylePreview(QStringLiteral("old page\r\n")).ok());
    if (!diskFull) {
        QVERIFY(QFile::remove(failingPath));
        QVERIFY(QDir().mkpath(failingPath + QStringLiteral("/inner")));
    }

    const PreviewResult r = s.output.pagePreview({QStringLiteral("新的\n页")});
    QVERIFY(!r.ok());
    if (diskFull)
        QCOMPARE(r.error(), cannotCreate(failingPath) + QStringLiteral("No space left on device"));
    else
        QVERIFY2(r.error().startsWith(cannotCreate(failingPath)) && !r.error().endsWith(u' '), qPrintable(r.error()));
    if (step1) {
        // Nothing moved on.
        QCOMPARE(s.output.memo(), QStringLiteral("old page\r\n"));
        QCOMPARE(s.preview(), QByteArray("old page\r\n"));
    } else {
        // The memo already holds the new page; the preview file is untouched.
        QCOMPARE(s.list(), QStringLiteral("新的\n页\r\n").toUtf8());
        QCOMPARE(s.output.memo(), QStringLiteral("新的\r\n页\r\n"));
        QCOMPARE(s.preview(), diskFull ? QByteArray("old page\r\n") : QByteArray("<missing>"));
    }
    if (!diskFull)
        QVERIFY(QFileInfo::exists(failingPath + QStringLiteral("/inner")));
    // A failed rename leaves no temporary file behind.
    QCOMPARE(s.entries(), QStringList({QStringLiteral("files.html"), QStringLiteral("files.txt")}));
}

void TestPageOutput::failedWriteKeepsOldFile()
{
#ifdef Q_OS_UNIX
    // A file-size limit makes the system refuse a write part-way, also for
    // root. An existing preview file must come through whole.
    Scratch s;
    QVERIFY(s.output.stylePreview(QStringLiteral("old page")).ok());

    const QString big(8000, u'x');
    QStringList lfLines{QString(3000, u'\n')}; // 3002 bytes listed, 6002 as a page

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const PreviewResult style = s.output.stylePreview(big);
    const PreviewResult page = s.output.pagePreview(lfLines);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    // The system's own reason is reported, not a generic one.
    const QString tooLarge = cannotCreate(s.files.previewPath()) + QString::fromLocal8Bit(std::strerror(EFBIG));
    QVERIFY(!style.ok());
    QCOMPARE(style.error(), tooLarge);
    QVERIFY(!page.ok());
    QCOMPARE(page.error(), tooLarge);
    QCOMPARE(s.output.memo(), QString(3000, u'\n').replace(u'\n', QLatin1String("\r\n")) + QLatin1String("\r\n"));
    QCOMPARE(s.list().size(), 3002);
    QCOMPARE(s.preview(), QByteArray("old page"));
    // No temporary file is left behind.
    QCOMPARE(s.entries(), QStringList({QStringLiteral("files.html"), QStringLiteral("files.txt")}));
#else
    QSKIP("needs a file-size limit");
#endif
}

void TestPageOutput::directory_data()
{
    QTest::addColumn<bool>("set");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    const QString home = QDir::cleanPath(QDir::homePath() + QStringLiteral("/.cache/zanfor-layout")) + u'/';
    QTest::newRow("absolute") << true << QStringLiteral("/tmp/xdg-cache")
                              << QStringLiteral("/tmp/xdg-cache/zanfor-layout/");
    QTest::newRow("absolute, trailing slash")
        << true << QStringLiteral("/tmp/xdg-cache/") << QStringLiteral("/tmp/xdg-cache/zanfor-layout/");
    QTest::newRow("unset") << false << QString() << home;
    QTest::newRow("empty") << true << QString() << home;
    QTest::newRow("relative") << true << QStringLiteral("cache") << home;
    QTest::newRow("dot-relative") << true << QStringLiteral("./cache") << home;
}

void TestPageOutput::directory()
{
    QFETCH(bool, set);
    QFETCH(QString, value);
    QFETCH(QString, expected);

    const bool wasSet = qEnvironmentVariableIsSet("XDG_CACHE_HOME");
    const QByteArray saved = qgetenv("XDG_CACHE_HOME");
    if (set)
        qputenv("XDG_CACHE_HOME", value.toUtf8());
    else
        qunsetenv("XDG_CACHE_HOME");

    const QString dir = ScratchPlatform::directory();
    const ScratchFiles files;
    const QString listPath = files.listPath();
    const QString previewPath = files.previewPath();

    if (wasSet)
        qputenv("XDG_CACHE_HOME", saved);
    else
        qunsetenv("XDG_CACHE_HOME");

    QCOMPARE(dir, expected);
    QCOMPARE(listPath, expected + QStringLiteral("files.txt"));
    QCOMPARE(previewPath, expected + QStringLiteral("files.html"));
}

QTEST_APPLESS_MAIN(TestPageOutput)
#include "test_page_output.moc"
