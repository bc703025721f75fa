#include "LayoutDocument.h"
#include "LayoutFile.h"
#include "PageOutput.h"
#include "RecentLayouts.h"
#include "ScratchFiles.h"
#include "StyleSnippets.h"
#include "TestSupport.h"
#include "Workspace.h"

#include <QtTest>

#include <algorithm>
#include <cstdio>

#ifdef Q_OS_UNIX
#  include <cerrno>
#  include <csignal>
#  include <cstring>
#  include <sys/resource.h>
#  include <sys/stat.h>
#endif
#ifdef Q_OS_LINUX
#  include <fcntl.h>
#  include <linux/fs.h>
#  include <sys/ioctl.h>
#  include <unistd.h>
#endif

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Layout)

namespace {

QStringList entries(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// A layout file's text with the given JSON for each field; nullptr leaves
// the field out.
QByteArray fileText(const char *format, const char *version, const char *shopType, const char *pageWidth,
                    const char *items)
{
    QByteArray text = "{";
    const std::pair<const char *, const char *> fields[] = {
        {"format", format}, {"version", version}, {"shopType", shopType}, {"pageWidth", pageWidth}, {"items", items}};
    for (const auto &[key, value] : fields) {
        if (value)
            text += (text.size() > 1 ? ", \"" : "\"") + QByteArray(key) + "\": " + value;
    }
    return text + "}";
}

QByteArray withShop(const char *shopType, const char *pageWidth)
{
    return fileText("\"zanfor-layout\"", "1", shopType, pageWidth, "[]");
}

QByteArray withItems(const char *items)
{
    return fileText("\"zanfor-layout\"", "1", "0", "\"750\"", items);
}

// A text with NULs in it.
template<std::size_t N>
QString utf16(const char16_t (&text)[N])
{
    return QString::fromUtf16(text, N - 1);
}

enum class Kind { Text, Missing, Folder, NotRegular, TooLarge, Unreadable, LinkLoop };

#ifdef Q_OS_LINUX
// Sets or clears a folder's append-only attribute: files can be made in it,
// but none of its entries replaced or removed, also by root. Needs root (or
// the capability for it) and a file system that has the attribute.
bool setAppendOnly(const QString &folder, bool on)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL;
        done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}
#endif

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestLayoutFile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void roundTrip_data();
    void roundTrip();
    void otherWriters_data();
    void otherWriters();
    void badFile_data();
    void badFile();
    void saveRefuses_data();
    void saveRefuses();
    void failedWrite_data();
    void failedWrite();
    void exportPage();
    void nameNotText();
    void changedElsewhere_data();
    void changedElsewhere();

    void document();
    void recent_data();
    void recent();
    void workspaceShopType_data();
    void workspaceShopType();
};

void TestLayoutFile::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestLayoutFile::roundTrip_data()
{
    QTest::addColumn<Layout>("layout");

    const int styles = int(everyStyle().size());
    QTest::newRow("every style of every section")
        << Layout{ShopType::Tmall, cyclingNames(styles), cyclingSnippets(styles)};
    QTest::newRow("empty list") << Layout{ShopType::None, {}, {}};
    QTest::newRow("10,000 items, about 13 MB") << Layout{ShopType::Market, cyclingNames(10000), cyclingSnippets(10000)};

    const QString awkward[] = {
        QStringLiteral("a\r\nb\nc\rd\r\r\n\n\r"),      // every kind of break, kept as it is
        QStringLiteral("  trailing blanks \t \r\n  "), // blanks and tabs at the ends
        QString(),                                     // nothing at all
        QStringLiteral("\"quoted\" \\ back\\slash \\u0041 \\n / </script>"),
        utf16(u"nul\0 bell\a esc\x1b del\x7f \b\f\v"),
        QString::fromUtf16(u"\uFEFFbom \u2028ls \u2029ps \u0085nel \uFFFF \uFFFD"),
        QString::fromUtf16(u"emoji 😀 CJK ext B 𠀀 中文 ￥满200元"),
        QStringLiteral("{\"format\": \"zanfor-layout\", \"items\": [}"),
    };
    QStringList snippets(std::begin(awkward), std::end(awkward));
    QStringList itemNames;
    for (int i = 0; i < snippets.size(); ++i)
        itemNames.append(i % 2 ? QString::fromUtf16(u" \"名\\称\" \t😀 ") : QString());
    QTest::newRow("awkward custom HTML and names") << Layout{ShopType::Market, itemNames, snippets};
}

void TestLayoutFile::roundTrip()
{
    QFETCH(Layout, layout);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("页面.zlayout"));

    const Result<> saved = LayoutFile::save(path, layout);
    QVERIFY2(saved.ok(), qPrintable(saved.error()));
    const Result<Layout> opened = LayoutFile::open(path);
    QVERIFY2(opened.ok(), qPrintable(opened.error()));
    QCOMPARE(opened->snippets, layout.snippets);
    QVERIFY(*opened == layout);
    QCOMPARE(entries(dir), QStringList{QStringLiteral("页面.zlayout")});

    // Control characters appear only escaped: the one left is the line feed
    // between fields, and taking every line feed out changes no text.
    QByteArray bytes = readBytes(path);
    bytes.removeIf([](char c) { return c == '\n'; });
    QVERIFY(std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) >= 0x20; }));
    QVERIFY(LayoutFile::fromJson(bytes).value() == layout);

    // Any JSON reader sees the fields the format names.
    const QJsonObject top = QJsonDocument::fromJson(readBytes(path)).object();
    QCOMPARE(top.value(QLatin1String("format")).toString(), QStringLiteral("zanfor-layout"));
    QCOMPARE(top.value(QLatin1String("version")).toInt(), 1);
    QCOMPARE(top.value(QLatin1String("shopType")).toInt(-2), layout.shopType);
    QCOMPARE(top.value(QLatin1String("pageWidth")).toString(), layout.shopType == 1 ? u"790"_s : u"750"_s);
    QCOMPARE(top.value(QLatin1String("items")).toArray().size(), layout.names.size());
}

// Files as another JSON writer may have written them open as any reader
// reads them.
void TestLayoutFile::otherWriters_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Layout>("layout");

    QTest::newRow("\\u escapes in both cases, a surrogate pair")
        << withItems(R"([{"name": "\u00e9\u4E2D\ud83d\uDE00\u0041\/", "html": "\u003cp\u003E\u000d\u000A"}])")
        << Layout{0, {QString::fromUtf16(u"é中😀A/")}, {u"<p>\r\n"_s}};
    QTest::newRow("a repeated key: the last one")
        << QByteArray(R"({"format": "zanfor-layout", "version": 1, "shopType": 1, "pageWidth": "750",)"
                      R"( "items": [{"name": "a", "html": "x", "html": "y"}], "shopType": 0})")
        << Layout{0, {u"a"_s}, {u"y"_s}};
}

void TestLayoutFile::otherWriters()
{
    QFETCH(QByteArray, text);
    QFETCH(Layout, layout);
    const Result<Layout> opened = LayoutFile::fromJson(text);
    QVERIFY2(opened.ok(), qPrintable(opened.error()));
    QCOMPARE(opened->names, layout.names);
    QCOMPARE(opened->snippets, layout.snippets);
    QVERIFY(*opened == layout);
}

void TestLayoutFile::badFile_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("problem"); // a part of the message saying what is wrong

    Layout sample{0, {QStringLiteral("  默认样式-关联促销")}, {QStringLiteral("<p>\r\n</p>")}};
    const QByteArray whole = *LayoutFile::toJson(sample);
    const auto text = [](const char *name, const QByteArray &bytes, const char *problem) {
        QTest::newRow(name) << Kind::Text << bytes << QString::fromUtf8(problem);
    };
    text("not JSON", "zanfor", "不是有效的 JSON");
    text("not UTF-8", withItems("[{\"name\": \"\xff\", \"html\": \"\"}]"), "不是 UTF-8 编码的文本");
    text("overlong UTF-8, two bytes", withItems("[{\"name\": \"\xc0\xaf\", \"html\": \"\"}]"), "不是 UTF-8 编码的文本");
    text("overlong UTF-8, three bytes", withItems("[{\"name\": \"\xe0\x80\xaf\", \"html\": \"\"}]"),
         "不是 UTF-8 编码的文本");
    text("overlong UTF-8, four bytes", withItems("[{\"name\": \"\xf0\x80\x80\xaf\", \"html\": \"\"}]"),
         "不是 UTF-8 编码的文本");
    QTest::newRow("a second value after the object")
        << Kind::Text << whole + "\n{}" << u"内容不是有效的 JSON（第 %1 个字节处出错）"_s.arg(whole.size() + 2);
    text("empty", "", "文件是空的");
    text("blank", " \r\n", "文件是空的");
    text("cut in a snippet", whole.left(whole.indexOf("</p>")), "截断");
    text("cut before the last brace", whole.left(whole.lastIndexOf('}')), "截断");
    text("an array", "[]", "不是布局文件");
    text("another format", fileText("\"zanfor-page\"", "1", "0", "\"750\"", "[]"),
         "格式为 \"zanfor-page\"，不是布局文件");
    text("no format", fileText(nullptr, "1", "0", "\"750\"", "[]"), "缺少 \"format\" 字段");
    text("newer version", fileText("\"zanfor-layout\"", "2", "0", "\"750\"", "[]"), "更新版本");
    text("no version", fileText("\"zanfor-layout\"", nullptr, "0", "\"750\"", "[]"), "缺少 \"version\"");
    text("version as text", fileText("\"zanfor-layout\"", "\"1\"", "0", "\"750\"", "[]"), "\"version\" 应为正整数");
    text("version 0", fileText("\"zanfor-layout\"", "0", "0", "\"750\"", "[]"), "\"version\" 应为正整数");
    text("no shop type", withShop(nullptr, "\"750\""), "缺少 \"shopType\"");
    text("shop type 2", withShop("2", "\"750\""), "\"shopType\" 应为 -1、0 或 1，文件中为 2");
    text("shop type 2^32", withShop("4294967296", "\"750\""), "\"shopType\" 应为");
    text("shop type as text", withShop("\"1\"", "\"790\""), "\"shopType\" 应为");
    text("shop type 0.5", withShop("0.5", "\"750\""), "\"shopType\" 应为");
    // Beyond a double's range, where a conversion that fails gives 0.
    text("shop type 1e400", withShop("1e400", "\"750\""), "\"shopType\" 应为 -1、0 或 1，文件中为 1e400");
    text("shop type -1e400", withShop("-1e400", "\"750\""), "\"shopType\" 应为 -1、0 或 1，文件中为 -1e400");
    text("shop type 1e-400", withShop("1e-400", "\"750\""), "\"shopType\" 应为 -1、0 或 1，文件中为 1e-400");
    text("shop type of 401 digits", withShop(QByteArray(400, '0').prepend('1').constData(), "\"750\""),
         "\"shopType\" 应为 -1、0 或 1，文件中为 1000000000000000000000000000000000000000…");
    text("version 1e400", fileText("\"zanfor-layout\"", "1e400", "0", "\"750\"", "[]"),
         "\"version\" 应为正整数，文件中为 1e400");
    text("no page width", withShop("0", nullptr), "缺少 \"pageWidth\"");
    text("page width 800", withShop("0", "\"800\""), "\"pageWidth\" 应为 \"750\" 或 \"790\"");
    text("page width as number", withShop("0", "750"), "\"pageWidth\" 应为");
    text("Tmall at 750", withShop("1", "\"750\""), "与 \"shopType\" 1 不符");
    text("no shop type at 790", withShop("-1", "\"790\""), "与 \"shopType\" -1 不符");
    text("no items", fileText("\"zanfor-layout\"", "1", "0", "\"750\"", nullptr), "缺少 \"items\"");
    text("items an object", withItems("{}"), "\"items\" 应为数组");
    text("item not an object", withItems("[{\"name\": \"a\", \"html\": \"\"}, 3]"), "第 2 项应为 JSON 对象");
    text("item without html", withItems("[{\"name\": \"a\"}]"), "第 1 项缺少 \"html\"");
    text("name a number", withItems("[{\"name\": 7, \"html\": \"\"}]"), "第 1 项的\"name\" 应为文本");
    text("name with LF", withItems("[{\"name\": \"a\\nb\", \"html\": \"\"}]"), "名称含有换行");
    text("name with CR", withItems("[{\"name\": \"a\\r\", \"html\": \"\"}]"), "名称含有换行");

    QTest::newRow("missing") << Kind::Missing << QByteArray() << QStringLiteral("文件不存在");
    QTest::newRow("folder") << Kind::Folder << QByteArray() << QStringLiteral("文件夹");
    QTest::newRow("pipe") << Kind::NotRegular << QByteArray() << QStringLiteral("不是普通文件");
    QTest::newRow("over 200 MB") << Kind::TooLarge << QByteArray() << QStringLiteral("超过布局文件 200 MB 的上限");
    QTest::newRow("unreadable") << Kind::Unreadable << whole << QStringLiteral("无法读取：");
#ifdef Q_OS_UNIX
    QTest::newRow("link loop") << Kind::LinkLoop << QByteArray() << QString::fromLocal8Bit(std::strerror(ELOOP));
#endif
}

void TestLayoutFile::badFile()
{
    QFETCH(Kind, kind);
    QFETCH(QByteArray, text);
    QFETCH(QString, problem);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("坏.zlayout"));
    switch (kind) {
    case Kind::Text:
    case Kind::Unreadable:
        QVERIFY(writeBytes(path, text));
        break;
    case Kind::Missing:
        break;
    case Kind::Folder:
        QVERIFY(QDir().mkpath(path));
        break;
    case Kind::NotRegular:
#ifdef Q_OS_UNIX
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0); // opening it would wait for a writer
#else
        QSKIP("needs a named pipe");
#endif
        break;
    case Kind::TooLarge: {
        QFile f(path); // sparse: takes no room on disk
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(LayoutFile::MaxBytes + 1));
        break;
    }
    case Kind::LinkLoop:
        QVERIFY(QFile::link(path, path));
        break;
    }
    if (kind == Kind::Unreadable) {
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        if (QFile(path).open(QIODevice::ReadOnly))
            QSKIP("the file stays readable (run as root)");
    }

    const Result<Layout> opened = LayoutFile::open(path);
    QVERIFY(!opened.ok());
    const QString prefix = u"无法打开布局文件 \"" % QDir::toNativeSeparators(path) % u"\"：";
    QVERIFY2(opened.error().startsWith(prefix) && opened.error().contains(problem), qPrintable(opened.error()));
    if (kind == Kind::Unreadable)
        QVERIFY(opened.error().size() > prefix.size() + problem.size()); // the system's reason follows
}

void TestLayoutFile::saveRefuses_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<QString>("problem");

    const QString ok = QStringLiteral("<p>好</p>");
    const QString name = QStringLiteral("  自定义");
    const auto second = [&](const QString &n, const QString &s) { return Layout{0, {name, n}, {ok, s}}; };
    QTest::newRow("lone high surrogate") << second(name, u"a" % QChar(0xD83D) % u"b")
                                         << u"第 2 项（\"  自定义\"）的代码中第 2 个字符是不成对的"_s;
    QTest::newRow("high surrogate at the end") << second(name, u"ab" % QChar(0xD83D)) << u"的代码中第 3 个字符"_s;
    QTest::newRow("lone low surrogate") << second(name, QString(QChar(0xDE00))) << u"的代码中第 1 个字符"_s;
    QTest::newRow("surrogates the wrong way round")
        << second(name, QString(QChar(0xDE00)) + QChar(0xD83D)) << u"的代码中第 1 个字符"_s;
    QTest::newRow("surrogate in the name") << second(u"x" % QChar(0xDC00), ok) << u"的名称中第 2 个字符"_s;
    QTest::newRow("name with LF") << second(QStringLiteral("a\nb"), ok) << u"第 2 项（\"a↵b\"）的名称含有换行"_s;
    QTest::newRow("name with CR") << second(QStringLiteral("a\r"), ok) << u"的名称含有换行"_s;
    QTest::newRow("name with U+2028") << second(QString(QChar(0x2028)), ok) << u"的名称含有换行"_s;
    QTest::newRow("unknown shop type") << Layout{3, {}, {}} << u"店铺类型 3 无效"_s;
}

void TestLayoutFile::saveRefuses()
{
    QFETCH(Layout, layout);
    QFETCH(QString, problem);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.zlayout"));
    QVERIFY(writeBytes(path, "earlier"));
    const Result<> saved = LayoutFile::save(path, layout);
    QVERIFY(!saved.ok());
    const QString prefix = u"无法保存布局文件 \"" % QDir::toNativeSeparators(path) % u"\"：";
    QVERIFY2(saved.error().startsWith(prefix) && saved.error().contains(problem), qPrintable(saved.error()));
    QCOMPARE(readBytes(path), QByteArray("earlier"));
    QCOMPARE(entries(dir), QStringList{QStringLiteral("a.zlayout")});
}

void TestLayoutFile::failedWrite_data()
{
    QTest::addColumn<bool>("exporting"); // else saving
    QTest::addColumn<QString>("fault");

    for (const bool exporting : {false, true}) {
        const char *what = exporting ? "export" : "save";
        QTest::addRow("%s: folder in the way", what) << exporting << QStringLiteral("folder");
        QTest::addRow("%s: no such folder", what) << exporting << QStringLiteral("no folder");
        QTest::addRow("%s: file too large", what) << exporting << QStringLiteral("size limit");
        QTest::addRow("%s: rename refused", what) << exporting << QStringLiteral("append only");
    }
}

void TestLayoutFile::failedWrite()
{
    QFETCH(bool, exporting);
    QFETCH(QString, fault);

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("a.zlayout"));
    QVERIFY(writeBytes(path, "earlier"));
    if (fault == QLatin1String("folder")) {
        path = dir.filePath(QStringLiteral("b.zlayout"));
        QVERIFY(QDir().mkpath(path));
    } else if (fault == QLatin1String("no folder"))
        path = dir.filePath(QStringLiteral("gone/a.zlayout"));
    const QStringList before = entries(dir);

    const Layout big{0, {QStringLiteral("x")}, {QString(100000, u'x')}};
    Result<> written;
    const auto write = [&] {
        written = exporting ? LayoutFile::exportPage(path, big.snippets) : LayoutFile::save(path, big);
    };
    if (fault == QLatin1String("size limit")) {
#ifdef Q_OS_UNIX
        // The system refuses the write part-way, also for root.
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limited = saved;
        limited.rlim_cur = 4096;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        write();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
#else
        QSKIP("needs a file-size limit");
#endif
    } else if (fault == QLatin1String("append only")) {
#ifdef Q_OS_LINUX
        // The temporary file is made and written; renaming it over the
        // earlier file, the last step, fails.
        if (!setAppendOnly(dir.path(), true))
            QSKIP("the folder cannot be made append-only (needs root and a file system that has it)");
        write();
        QVERIFY(setAppendOnly(dir.path(), false));
#else
        QSKIP("needs an append-only folder");
#endif
    } else {
        write();
    }

    QVERIFY(!written.ok());
    const QString prefix = (exporting ? u"无法导出页面 \""_s : u"无法保存布局文件 \""_s)
        % QDir::toNativeSeparators(path) % u"\"：";
    QVERIFY2(written.error().startsWith(prefix) && written.error().size() > prefix.size(), qPrintable(written.error()));
#ifdef Q_OS_UNIX
    if (fault == QLatin1String("size limit")) // the system's own reason
        QCOMPARE(written.error(), prefix + QString::fromLocal8Bit(std::strerror(EFBIG)));
    if (fault == QLatin1String("append only"))
        QCOMPARE(written.error(), prefix + QString::fromLocal8Bit(std::strerror(EPERM)));
#endif
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("a.zlayout"))), QByteArray("earlier"));
    // A folder that keeps every entry keeps the temporary file too.
    if (fault != QLatin1String("append only"))
        QCOMPARE(entries(dir), before);
}

void TestLayoutFile::exportPage()
{
    // The file holds the page a page preview writes for the web view.
    const QStringList snippets = cyclingSnippets(30)
        << QStringLiteral("lf\nonly\r") << QString() << QString::fromUtf16(u"中文 ￥");
    QTemporaryDir dir;
    ScratchFiles scratch(dir.filePath(QStringLiteral("scratch")), std::make_unique<SaveFileWriter>());
    PageOutput output(scratch);
    QVERIFY(output.pagePreview(snippets).ok());
    const QByteArray page = readBytes(scratch.previewPath());
    QVERIFY(output.stylePreview(QStringLiteral("memo")).ok());

    const QString path = dir.filePath(QStringLiteral("page.html"));
    QVERIFY(writeBytes(path, "earlier"));
    const Result<> exported = LayoutFile::exportPage(path, snippets);
    QVERIFY2(exported.ok(), qPrintable(exported.error()));
    QCOMPARE(readBytes(path), page);
    QCOMPARE(output.memo(), QStringLiteral("memo"));
}

void TestLayoutFile::nameNotText()
{
#ifdef Q_OS_UNIX
    // The desktop shows the bytes that are not UTF-8 as U+FFFD, and that
    // is the path its dialogs and Qt's command line hand over.
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray real = folder + "/bad\xff\xfename.zlayout";
    const QByteArray twin = folder + "/bad\xfe\xffname.zlayout"; // looks the same
    const Layout layout{ShopType::Tmall, {QStringLiteral("n")}, {QStringLiteral("<p>a</p>")}};
    const QByteArray bytes = *LayoutFile::toJson(layout);
    const auto writeRaw = [](const QByteArray &path, const QByteArray &content) {
        FILE *f = std::fopen(path.constData(), "wb");
        return f && std::fwrite(content.constData(), 1, size_t(content.size()), f) == size_t(content.size())
            && std::fclose(f) == 0;
    };
    QVERIFY(writeRaw(real, bytes));
    const QString shown = dir.path() + QString::fromUtf16(u"/bad\uFFFD\uFFFDname.zlayout");

    const Result<QString> found = LayoutFile::locate(shown);
    QVERIFY2(found.ok(), qPrintable(found.error()));
    const Result<Layout> opened = LayoutFile::open(*found);
    QVERIFY2(opened.ok(), qPrintable(opened.error()));
    QVERIFY(*opened == layout);
    LayoutDocument doc;
    doc.setFile(*found, *opened);
    QCOMPARE(doc.fileName(), QString::fromUtf16(u"bad\uFFFD\uFFFDname.zlayout"));

    // Saving writes that same file, not a new one named with U+FFFD.
    Layout edited = layout;
    edited.names.append(QStringLiteral("m"));
    edited.snippets.append(QString());
    QVERIFY(LayoutFile::save(*found, edited).ok());
    QVERIFY(!QFile::exists(shown));
    QVERIFY(*LayoutFile::open(*found) == edited);

    // Two files that look alike: neither is guessed at.
    QVERIFY(writeRaw(twin, bytes));
    const Result<QString> ambiguous = LayoutFile::locate(shown);
    QVERIFY(!ambiguous.ok());
    QVERIFY2(ambiguous.error().contains(u"无法分辨"), qPrintable(ambiguous.error()));
#else
    QSKIP("file names are text here");
#endif
}

void TestLayoutFile::changedElsewhere_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("unchanged");

    QTest::newRow("untouched") << "" << true;
    QTest::newRow("touched, same bytes") << "touch" << true;
    QTest::newRow("same size, other bytes") << "rewrite" << false;
    QTest::newRow("longer") << "append" << false;
    QTest::newRow("deleted") << "delete" << true;
}

void TestLayoutFile::changedElsewhere()
{
    QFETCH(QString, change);
    QFETCH(bool, unchanged);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.zlayout"));
    const Layout layout{ShopType::Market, {QStringLiteral("n")}, {QStringLiteral("<p>a</p>")}};
    for (const bool fromSave : {true, false}) {
        LayoutFile::FileStamp stamp;
        QVERIFY(LayoutFile::save(path, layout, &stamp).ok());
        if (!fromSave)
            QVERIFY(LayoutFile::open(path, LayoutFile::MaxBytes, &stamp).ok());
        QVERIFY(stamp.isKnown());
        QByteArray bytes = readBytes(path);
        QFile file(path);
        if (change == u"touch") {
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
        } else if (change == u"rewrite") {
            QVERIFY(writeBytes(path, bytes.replace("<p>a</p>", "<p>b</p>")));
        } else if (change == u"append") {
            QVERIFY(writeBytes(path, bytes + ' '));
        } else if (change == u"delete") {
            QVERIFY(file.remove());
        }
        file.close();
        QCOMPARE(LayoutFile::isUnchanged(path, stamp), unchanged);
    }
}

void TestLayoutFile::document()
{
    const Layout start{ShopType::None, {}, {}};
    const Layout file{ShopType::Tmall, {QStringLiteral("  样式一-关联促销")}, {QStringLiteral("<p>a</p>")}};
    Layout edited = file;
    edited.names.append(QStringLiteral("  间隔线"));
    edited.snippets.append(QStringLiteral("<br>"));
    Layout otherShop = file;
    otherShop.shopType = ShopType::Market;

    // The list after each step, the file it was opened from or saved to.
    const struct
    {
        const Layout &current;
        const char *savedTo;
        const char16_t *caption;
    } steps[] = {
        {file, "/d/a.zlayout", u"a.zlayout - Zanfor描述排版器"}, // open
        {edited, nullptr, u"*a.zlayout - Zanfor描述排版器"},
        {file, nullptr, u"a.zlayout - Zanfor描述排版器"}, // undo back to what was opened
        {otherShop, nullptr, u"*a.zlayout - Zanfor描述排版器"},
        {start, nullptr, u"*a.zlayout - Zanfor描述排版器"},        // Open undone
        {file, nullptr, u"a.zlayout - Zanfor描述排版器"},          // and redone
        {edited, "/d/b.zlayout", u"b.zlayout - Zanfor描述排版器"}, // save as
        {file, nullptr, u"*b.zlayout - Zanfor描述排版器"},
    };
    LayoutDocument doc;
    QCOMPARE(doc.caption(start), QStringLiteral("Zanfor描述排版器"));
    QVERIFY(!doc.isModified(start));
    // Without a file a page is unsaved work once it differs from the empty
    // page, the caption still the program's name.
    QVERIFY(doc.isModified(file));
    QCOMPARE(doc.caption(file), QStringLiteral("Zanfor描述排版器"));
    QCOMPARE(doc.closeQuestion(), QStringLiteral("页面尚未保存，是否保存？"));
    for (const auto &step : steps) {
        if (step.savedTo)
            doc.setFile(QString::fromLatin1(step.savedTo), step.current);
        QCOMPARE(doc.caption(step.current), QString::fromUtf16(step.caption));
        QCOMPARE(doc.isModified(step.current), step.caption[0] == u'*');
    }
    QCOMPARE(doc.closeQuestion(), QStringLiteral("布局已修改，是否保存到 b.zlayout？"));

    // A recovered page counts as unsaved until it is saved, with a file or
    // without.
    doc.setRecovered(QStringLiteral("/d/c.zlayout"), {});
    QCOMPARE(doc.caption(start), QStringLiteral("*c.zlayout - Zanfor描述排版器"));
    doc.setRecovered(QString(), {});
    QVERIFY(doc.isModified(start));
    QCOMPARE(doc.caption(start), QStringLiteral("*未命名 - Zanfor描述排版器"));
    doc.setFile(QStringLiteral("/d/c.zlayout"), file);
    QCOMPARE(doc.caption(file), QStringLiteral("c.zlayout - Zanfor描述排版器"));

    // A name is shown on one line, whatever it holds.
    doc.setFile(QString::fromUtf16(u"/d/a\nb\rc\td\u2028e\x7f.zlayout"), file);
    QCOMPARE(doc.caption(file), QStringLiteral("a b c d e .zlayout - Zanfor描述排版器"));
}

void TestLayoutFile::recent_data()
{
    QTest::addColumn<QStringList>("steps"); // "+name" adds, "-name" removes
    QTest::addColumn<QStringList>("expected");

    const auto list = [](const char *items) { return QString::fromLatin1(items).split(u' ', Qt::SkipEmptyParts); };
    QTest::newRow("most recent first") << list("+a +b +c") << list("c b a");
    QTest::newRow("five at most") << list("+a +b +c +d +e +f +g") << list("g f e d c");
    QTest::newRow("again moves to the front") << list("+a +b +c +a") << list("a c b");
    QTest::newRow("same file, other spelling") << list("+a +b +sub/../a +./b") << list("b a");
    QTest::newRow("through a link") << list("+a +link +b") << list("b a");
    QTest::newRow("removed") << list("+a +b +c -b") << list("c a");
    QTest::newRow("removed by another spelling") << list("+a +b -sub/../a") << list("b");
    QTest::newRow("removing what is not there") << list("+a -z") << list("a");
}

void TestLayoutFile::recent()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);

    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zanfor-layout"),
              QStringLiteral("zanfor-layout"))
        .clear();
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("sub"))));
    for (const char *name : {"a", "b", "c"})
        QVERIFY(writeBytes(dir.filePath(QLatin1String(name)), {}));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("b")), dir.filePath(QStringLiteral("link"))));

    RecentLayouts recent;
    for (const QString &step : steps) {
        const QString path = dir.filePath(step.mid(1));
        step.startsWith(u'+') ? recent.add(path) : recent.remove(path);
    }
    QStringList names;
    for (const QString &path : recent.paths())
        names.append(QDir(dir.path()).relativeFilePath(path));
    QCOMPARE(names, expected);
    QVERIFY(RecentLayouts().paths() == recent.paths()); // kept, not held in memory
}

void TestLayoutFile::workspaceShopType_data()
{
    QTest::addColumn<bool>("fromFile"); // else chosen in the shop-type group
    QTest::addColumn<int>("shopType");
    QTest::addColumn<int>("expectedType"); // 天猫店 was chosen before
    QTest::addColumn<QString>("expectedWidth");

    QTest::newRow("choose market") << false << 0 << 0 << QStringLiteral("750");
    QTest::newRow("choose Tmall") << false << 1 << 1 << QStringLiteral("790");
    QTest::newRow("choose none: no change") << false << -1 << 1 << QStringLiteral("790");
    QTest::newRow("choose 2: no change") << false << 2 << 1 << QStringLiteral("790");
    QTest::newRow("file: none") << true << -1 << -1 << QStringLiteral("750");
    QTest::newRow("file: market") << true << 0 << 0 << QStringLiteral("750");
    QTest::newRow("file: 2, no change") << true << 2 << 1 << QStringLiteral("790");
}

void TestLayoutFile::workspaceShopType()
{
    QFETCH(bool, fromFile);
    QFETCH(int, shopType);
    QFETCH(int, expectedType);
    QFETCH(QString, expectedWidth);

    QTemporaryDir dir;
    Workspace ws(std::make_unique<ScratchFiles>(dir.path(), std::make_unique<SaveFileWriter>()));
    QVERIFY(ws.layout() == Layout{});
    QCOMPARE(ws.pageWidth(), QStringLiteral("750"));
    ws.chooseShopType(1);
    ws.items().append(QStringLiteral("<p>old</p>"), QStringLiteral("old"));
    const Layout file{shopType, {QStringLiteral("n")}, {QStringLiteral("<p>s</p>")}};
    fromFile ? ws.setLayout(file) : ws.chooseShopType(shopType);
    QCOMPARE(ws.shopType(), expectedType);
    QCOMPARE(ws.pageWidth(), expectedWidth);
    QCOMPARE(ws.items().snippets(), fromFile ? file.snippets : QStringList{QStringLiteral("<p>old</p>")});
    QCOMPARE(ws.layout().names, ws.items().names());
}

QTEST_GUILESS_MAIN(TestLayoutFile)
#include "test_layout_file.moc"
