// Layout files through the window: its buttons, keys and list menu, undo of
// Open and Insert, what a damaged file leaves behind, the caption and the
// question on closing. The web view plays no part.

#include "LayoutActions.h"
#include "LayoutFile.h"
#include "MainWindow.h"
#include "RecentLayouts.h"
#include "TestSupport.h"
#include "UserPrompts.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QUndoStack>
#include <QtTest>

Q_DECLARE_METATYPE(UserPrompts::SaveAnswer)

namespace {

// Answers every dialog from the test and records what was asked.
class ScriptedPrompts : public UserPrompts
{
public:
    void notice(const QString &text) override { notices.append(text); }
    void error(const QString &text) override { errors.append(text); }
    QString askOpenFile(const QString &caption, const QString &, const QString &) override
    {
        asked.append(caption);
        return file;
    }
    QString askSaveFile(const QString &caption, const QString &, const QString &, const QString &) override
    {
        asked.append(caption);
        return file;
    }
    SaveAnswer askSaveChanges(const QString &question) override
    {
        asked.append(question);
        return answer;
    }

    QStringList notices, errors, asked;
    QString file; // the file every file dialog picks; empty: dismissed
    SaveAnswer answer = SaveAnswer::Cancel;
};

// A text field that claims every key for itself, as the platform's editing
// keys make a real one claim some (X11's Ctrl+E, "end of line").
class GreedyField : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        return QLineEdit::event(e);
    }
};

Layout sample(int shopType, const QString &tag, int count)
{
    Layout layout{shopType, {}, {}};
    for (int i = 0; i < count; ++i) {
        layout.names.append(QStringLiteral("  %1-%2").arg(tag).arg(i));
        layout.snippets.append(QStringLiteral("<p>%1 %2</p>\r\n").arg(tag).arg(i));
    }
    return layout;
}

struct Fixture : TemporaryWorkspace
{
    Fixture()
        : window(ws, &prompts)
    {
    }

    LayoutActions &layout() { return *window.layoutActions(); }
    QString write(const QString &name, const Layout &content)
    {
        const QString file = path(name);
        return LayoutFile::save(file, content) ? file : QString();
    }
    // A list change as the window makes it: one undo step.
    void add(const QString &name) { window.addItem({name, u"<p>" % name % u"</p>"}); }
    void menu(const QString &text)
    {
        for (QAction *action : window.listMenu()->actions()) {
            if (action->text() == text)
                return action->trigger();
        }
        qWarning() << "no menu entry" << text;
    }

    // The shop type as the group and the hidden width label show it.
    QString shownShop() const
    {
        const auto *group = window.findChild<QWidget *>(QStringLiteral("rzrdgrpleixing"))->findChild<QButtonGroup *>();
        return QString::number(group->checkedId()) % u' '
            % window.findChild<QLabel *>(QStringLiteral("lblleixing"))->text();
    }
    // Everything a user can see of the list and the shop type, in one text.
    QString state() const
    {
        QStringList shown;
        const QAbstractItemModel *model = window.itemList()->model();
        for (int i = 0; i < model->rowCount(); ++i)
            shown.append(model->index(i, 0).data().toString());
        const QUndoStack *undo = window.undoStack(); // a step pushed moves the index on
        return QStringLiteral("shop %1 (%2) | undo step %3 | %4 | %5 | %6")
            .arg(ws.shopType())
            .arg(shownShop())
            .arg(undo->index())
            .arg(window.windowTitle(), shown.join(u','), ws.layout().snippets.join(u','));
    }

    ScriptedPrompts prompts;
    MainWindow window;
};

QString caption(const char *file = nullptr, bool modified = false)
{
    const QString program = QStringLiteral("Zanfor描述排版器");
    if (!file)
        return program;
    return (modified ? QStringLiteral("*") : QString()) % QLatin1String(file) % u" - " % program;
}

} // namespace

class TestLayoutWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void buttonsAndMenu();
    void openAndInsertUndo_data();
    void openAndInsertUndo();
    void badFileChangesNothing_data();
    void badFileChangesNothing();
    void openAtStart_data();
    void openAtStart();
    void closeQuestion_data();
    void closeQuestion();
    void keysFromATextField_data();
    void keysFromATextField();
    void roundTrip();
};

void TestLayoutWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

void TestLayoutWindow::init()
{
    for (const QString &path : RecentLayouts().paths())
        RecentLayouts().remove(path);
}

void TestLayoutWindow::buttonsAndMenu()
{
    Fixture f;
    QCOMPARE(f.window.findChild<QWidget *>(QStringLiteral("saveButton"))->geometry(), QRect(8, 281, 46, 25));
    QCOMPARE(f.window.findChild<QWidget *>(QStringLiteral("openButton"))->geometry(), QRect(8, 310, 46, 25));
    QVERIFY(f.window.findChild<QWidget *>(QStringLiteral("rzpnl3"))->minimumHeight() >= 310 + 25);
    QStringList entries;
    for (const QAction *action : f.window.listMenu()->actions())
        entries.append(action->isSeparator() ? QStringLiteral("|") : action->text());
    QCOMPARE(entries.join(u' '), QStringLiteral("保存 另存为… | 打开… 插入布局… 最近的布局 | 导出页面为 HTML…"));
}

void TestLayoutWindow::openAndInsertUndo_data()
{
    QTest::addColumn<bool>("open"); // else insert
    QTest::addColumn<int>("startType");
    QTest::addColumn<int>("fileType");

    QTest::newRow("open a Tmall page over a market one") << true << 0 << 1;
    QTest::newRow("open a page without shop type") << true << 1 << -1;
    QTest::newRow("insert keeps the shop type") << false << 1 << 0;
}

void TestLayoutWindow::openAndInsertUndo()
{
    QFETCH(bool, open);
    QFETCH(int, startType);
    QFETCH(int, fileType);

    Fixture f;
    f.window.chooseShopType(startType);
    f.add(QStringLiteral("own"));
    const QString before = f.state();
    const Layout file = sample(fileType, QStringLiteral("file"), 3);
    f.prompts.file = f.write(QStringLiteral("a.zlayout"), file);

    if (open)
        QTest::mouseClick(f.window.findChild<QWidget *>(QStringLiteral("openButton")), Qt::LeftButton);
    else
        f.menu(QStringLiteral("插入布局…"));
    QVERIFY2(f.prompts.errors.isEmpty(), qPrintable(f.prompts.errors.join(u'\n')));
    const Layout expected = open ? file
                                 : Layout{startType, QStringList{QStringLiteral("own")} + file.names,
                                          QStringList{QStringLiteral("<p>own</p>")} + file.snippets};
    QVERIFY(f.ws.layout() == expected);
    QCOMPARE(f.shownShop(), QString::number(expected.shopType) % u' ' % expected.pageWidth());
    QCOMPARE(f.window.undoStack()->count(), 2);
    QCOMPARE(f.window.windowTitle(), open ? caption("a.zlayout") : caption());
    const QString after = f.state();

    f.window.undoStack()->undo();
    // An undone Open leaves the window on the opened file, marked changed.
    QCOMPARE(f.state(), QString(before).replace(caption(), open ? caption("a.zlayout", true) : caption()));
    f.window.undoStack()->redo();
    QCOMPARE(f.state(), after);
}

void TestLayoutWindow::badFileChangesNothing_data()
{
    QTest::addColumn<QString>("how"); // open, insert, recent
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");

    const QByteArray whole = *LayoutFile::toJson(sample(1, QStringLiteral("b"), 2));
    QTest::newRow("open: not JSON") << "open" << QByteArrayLiteral("<html>") << "不是有效的 JSON";
    QTest::newRow("open: newer version") << "open" << QByteArray(whole).replace("\"version\": 1", "\"version\": 9")
                                         << "更新版本";
    QTest::newRow("insert: truncated") << "insert" << whole.left(whole.size() / 2) << "截断";
    QTest::newRow("insert: a folder") << "insert" << QByteArray() << "文件夹";
    QTest::newRow("recent: gone") << "recent" << QByteArray() << "已从最近的布局中移除";
}

void TestLayoutWindow::badFileChangesNothing()
{
    QFETCH(QString, how);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);

    Fixture f;
    QVERIFY(f.layout().openFile(f.write(QStringLiteral("good.zlayout"), sample(0, QStringLiteral("g"), 2))));
    f.add(QStringLiteral("own"));
    const QString before = f.state();
    QCOMPARE(f.window.windowTitle(), caption("good.zlayout", true));

    const QString bad = f.path(QStringLiteral("坏.zlayout"));
    if (how == u"recent") {
        RecentLayouts().add(bad); // then it is gone
    } else if (bytes.isEmpty()) {
        QVERIFY(QDir().mkdir(bad));
    } else {
        QFile out(bad);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    }
    f.prompts.file = bad;
    if (how == u"open") {
        f.window.openLayout();
    } else if (how == u"insert") {
        f.layout().insert();
    } else {
        QMenu *recent = f.layout().recentMenu();
        emit recent->aboutToShow();
        recent->actions().constFirst()->trigger();
        QVERIFY(!RecentLayouts().paths().contains(bad));
    }
    QCOMPARE(f.prompts.errors.size(), 1);
    const QString message = f.prompts.errors.constFirst();
    QVERIFY2(message.contains(QDir::toNativeSeparators(bad)) && message.contains(problem), qPrintable(message));
    QCOMPARE(f.state(), before);
}

void TestLayoutWindow::openAtStart_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::newRow("a layout file") << false;
    QTest::newRow("a damaged file") << true;
}

void TestLayoutWindow::openAtStart()
{
    QFETCH(bool, damaged);

    // What main() runs for `zanfor-layout FILE` once the window exists.
    Fixture f;
    const Layout file = sample(1, QStringLiteral("s"), 2);
    QString path = f.write(QStringLiteral("start.zlayout"), file);
    if (damaged)
        QVERIFY(QFile::resize(path, 20));
    QCOMPARE(f.layout().openFile(path), !damaged);
    QCOMPARE(f.prompts.errors.size(), damaged ? 1 : 0);
    QVERIFY(f.ws.layout() == (damaged ? Layout{} : file));
    QCOMPARE(f.window.windowTitle(), damaged ? caption() : caption("start.zlayout"));
    QCOMPARE(RecentLayouts().paths(), damaged ? QStringList() : QStringList{path});
}

void TestLayoutWindow::closeQuestion_data()
{
    QTest::addColumn<bool>("fromFile");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<UserPrompts::SaveAnswer>("answer");
    QTest::addColumn<bool>("folderGone"); // the file's folder vanished since
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");

    using A = UserPrompts::SaveAnswer;
    QTest::newRow("no file: no question") << false << true << A::Cancel << false << true << false;
    QTest::newRow("unchanged: no question") << true << false << A::Cancel << false << true << false;
    QTest::newRow("保存") << true << true << A::Save << false << true << true;
    QTest::newRow("不保存") << true << true << A::Discard << false << true << false;
    QTest::newRow("取消") << true << true << A::Cancel << false << false << false;
    QTest::newRow("保存 fails: stays open") << true << true << A::Save << true << false << false;
}

void TestLayoutWindow::closeQuestion()
{
    QFETCH(bool, fromFile);
    QFETCH(bool, changed);
    QFETCH(UserPrompts::SaveAnswer, answer);
    QFETCH(bool, folderGone);
    QFETCH(bool, closes);
    QFETCH(bool, saved);

    Fixture f;
    QVERIFY(QDir().mkdir(f.path(QStringLiteral("sub"))));
    const QString path = f.write(QStringLiteral("sub/page.zlayout"), sample(0, QStringLiteral("p"), 1));
    if (fromFile)
        QVERIFY(f.layout().openFile(path));
    if (changed)
        f.add(QStringLiteral("new"));
    if (folderGone)
        QVERIFY(QDir(f.path(QStringLiteral("sub"))).removeRecursively());
    const QByteArray onDisk = readBytes(path);
    f.prompts.answer = answer;
    f.window.show();

    QCOMPARE(f.window.close(), closes);
    QCOMPARE(f.window.isVisible(), !closes);
    QCOMPARE(f.prompts.asked,
             fromFile && changed ? QStringList{QStringLiteral("布局已修改，是否保存到 page.zlayout？")}
                                 : QStringList());
    QCOMPARE(f.prompts.errors.size(), folderGone ? 1 : 0);
    QCOMPARE(readBytes(path), saved ? *LayoutFile::toJson(f.ws.layout()) : onDisk);
}

void TestLayoutWindow::keysFromATextField_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("dialog"); // the file dialog asked for, if any
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("undoIndex");

    QTest::newRow("Ctrl+S saves to the file") << QKeySequence(QStringLiteral("Ctrl+S")) << QString() << true << 2;
    QTest::newRow("Ctrl+Shift+S") << QKeySequence(QStringLiteral("Ctrl+Shift+S")) << "保存布局" << false << 2;
    QTest::newRow("Ctrl+O") << QKeySequence(QStringLiteral("Ctrl+O")) << "打开布局" << false << 2;
    QTest::newRow("Ctrl+Shift+O") << QKeySequence(QStringLiteral("Ctrl+Shift+O")) << "插入布局" << false << 2;
    QTest::newRow("Ctrl+E") << QKeySequence(QStringLiteral("Ctrl+E")) << "导出页面为 HTML" << false << 2;
    QTest::newRow("undo stays the field's") << QKeySequence(QKeySequence::Undo) << QString() << false << 2;
}

void TestLayoutWindow::keysFromATextField()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, dialog);
    QFETCH(bool, saved);
    QFETCH(int, undoIndex);

    Fixture f;
    QVERIFY(f.layout().openFile(f.write(QStringLiteral("k.zlayout"), sample(0, QStringLiteral("k"), 1))));
    f.add(QStringLiteral("new"));
    auto *field = new GreedyField(&f.window);
    f.window.show();
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    field->show();
    field->setFocus();
    QVERIFY(field->hasFocus());

    QTest::keySequence(field, keys);
    QCOMPARE(f.prompts.asked, dialog.isEmpty() ? QStringList() : QStringList{dialog});
    QCOMPARE(f.window.windowTitle(), caption("k.zlayout", !saved));
    QCOMPARE(f.window.undoStack()->index(), undoIndex);
}

void TestLayoutWindow::roundTrip()
{
    Fixture f;
    const QString awkward[] = {
        QStringLiteral("<p>CR LF\r\nLF\nCR\rend</p>  "),
        QStringLiteral("<table>\t\r\n  <tr><td>宽度 750 ¥ 🎁</td></tr>\r\n</table>\r\n\r\n"),
        QStringLiteral("\"quoted\" \\ back\\slash </script> \u2028 \u00a0"),
        QString(),
    };
    for (const QString &snippet : awkward)
        f.window.addItem({QStringLiteral("  自定义-\"名\"\t"), snippet});
    f.window.chooseShopType(1);
    const QString memo = f.ws.output().memo();

    f.prompts.file = f.path(QStringLiteral("before.html"));
    f.menu(QStringLiteral("导出页面为 HTML…"));
    f.prompts.file = f.path(QStringLiteral("page.zlayout"));
    QTest::mouseClick(f.window.findChild<QWidget *>(QStringLiteral("saveButton")), Qt::LeftButton);
    QCOMPARE(f.window.windowTitle(), caption("page.zlayout"));
    const Layout built = f.ws.layout();

    f.window.clearItems();
    f.window.chooseShopType(0);
    QTest::mouseClick(f.window.findChild<QWidget *>(QStringLiteral("openButton")), Qt::LeftButton);
    QVERIFY(f.ws.layout() == built);
    f.prompts.file = f.path(QStringLiteral("after.html"));
    f.menu(QStringLiteral("导出页面为 HTML…"));
    QVERIFY(f.prompts.errors.isEmpty());
    QCOMPARE(f.ws.output().memo(), memo); // exporting leaves the memo alone

    const QByteArray page = readBytes(f.path(QStringLiteral("before.html")));
    QCOMPARE(readBytes(f.path(QStringLiteral("after.html"))), page);
    f.window.pagePreview();
    QCOMPARE(f.preview(), page);
    QCOMPARE(RecentLayouts().paths(), QStringList{f.path(QStringLiteral("page.zlayout"))});
}

QTEST_MAIN(TestLayoutWindow)
#include "test_layout_window.moc"
