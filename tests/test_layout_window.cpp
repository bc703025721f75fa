// Layout files through the window: its buttons, keys and list menu, undo of
// Open and Insert, what a damaged file leaves behind, the caption and the
// question on closing. The web view plays no part.

#include "ItemListPanel.h"
#include "LayoutActions.h"
#include "MainWindow.h"
#include "RecentLayouts.h"
#include "SectionPanel.h"
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

#include <cstdio>

Q_DECLARE_METATYPE(UserPrompts::SaveAnswer)

namespace {

// Answers every dialog from the test and records what was asked and shown.
class ScriptedPrompts : public UserPrompts
{
public:
    void notice(const QString &text) override { shown.append(text); }
    void error(const QString &text) override { shown.append(text); }
    QString askOpenFile(const QString &caption, const QString &, const QString &) override { return ask(caption); }
    QString askSaveFile(const QString &caption, const QString &, const QString &, const QString &) override
    {
        return ask(caption);
    }
    SaveAnswer askSaveChanges(const QString &question) override
    {
        asked.append(question);
        return answer;
    }
    bool askYesNo(const QString &question, const QString &yes, const QString &no, bool yesIsDefault) override
    {
        asked.append(question % u" [" % yes % u'/' % no % u"] " % (yesIsDefault ? yes : no));
        return yesAnswer;
    }
    QString ask(const QString &caption)
    {
        asked.append(caption);
        return file;
    }

    QStringList shown, asked;
    QString file; // the file every file dialog picks; empty: dismissed
    SaveAnswer answer = SaveAnswer::Cancel;
    bool yesAnswer = false;
};

// A text field that claims every key for itself, as the platform's editing
// keys make a real one claim some (X11's Ctrl+E, "end of line").
class GreedyField : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;
    bool event(QEvent *e) override
    {
        if (e->type() != QEvent::ShortcutOverride)
            return QLineEdit::event(e);
        e->accept();
        return true;
    }
};

// The caption for a file name, "*" first while changed.
QString caption(const char *file = nullptr)
{
    const QString program = QStringLiteral("Zanfor描述排版器");
    return file ? QString::fromUtf8(file) % u" - " % program : program;
}

struct Fixture : TemporaryWorkspace
{
    Fixture()
        : window(ws, &prompts)
    {
    }

    LayoutActions &layout() { return *window.layoutActions(); }
    QString write(const char *name, const Layout &content)
    {
        return LayoutFile::save(path(QLatin1String(name)), content) ? path(QLatin1String(name)) : QString();
    }
    // A list change as the window makes it: one undo step.
    void add(const QString &name) { window.items()->addItem({name, u"<p>" % name % u"</p>"}); }
    void click(const char *button)
    {
        QTest::mouseClick(window.findChild<QWidget *>(QLatin1String(button)), Qt::LeftButton);
    }

    // The shop type as the group and the hidden width label show it.
    QString shownShop() const
    {
        const auto *group = window.findChild<QWidget *>(QStringLiteral("rzrdgrpleixing"))->findChild<QButtonGroup *>();
        return QString::number(group->checkedId()) % u' '
            % window.findChild<QLabel *>(QStringLiteral("lblleixing"))->text();
    }
    // What a user sees of the list, the shop type and the caption, and the
    // undo position (a step pushed moves it on).
    QString state() const
    {
        QStringList rows;
        for (int i = 0; i < window.itemList()->model()->rowCount(); ++i)
            rows.append(window.itemList()->model()->index(i, 0).data().toString());
        return QStringLiteral("shop %1 (%2) | undo %3 | %4 | %5 | %6")
            .arg(ws.shopType())
            .arg(shownShop())
            .arg(window.undoStack()->index())
            .arg(window.windowTitle(), rows.join(u','), ws.layout().snippets.join(u','));
    }

    ScriptedPrompts prompts;
    MainWindow window;
};

} // namespace

class TestLayoutWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void openAndInsertUndo_data();
    void openAndInsertUndo();
    void badFileChangesNothing_data();
    void badFileChangesNothing();
    void unsavedChangesQuestion_data();
    void unsavedChangesQuestion();
    void shopTypeIsAStep();
    void changedOnDisk_data();
    void changedOnDisk();
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

void TestLayoutWindow::openAndInsertUndo_data()
{
    QTest::addColumn<QString>("how"); // the command line opens as main() does
    QTest::addColumn<int>("startType");
    QTest::addColumn<int>("fileType");
    QTest::addColumn<int>("fileItems");

    QTest::newRow("open a Tmall page over a market one") << "open" << 0 << 1 << 3;
    QTest::newRow("open a page without shop type") << "open" << 1 << -1 << 3;
    QTest::newRow("command line") << "command line" << -1 << 1 << 3;
#ifdef Q_OS_UNIX
    QTest::newRow("command line, name not UTF-8") << "command line, name not UTF-8" << 0 << 1 << 3;
#endif
    QTest::newRow("insert keeps the shop type") << "insert" << 1 << 0 << 3;
    QTest::newRow("insert an empty layout: no step") << "insert" << 1 << 0 << 0;
}

void TestLayoutWindow::openAndInsertUndo()
{
    QFETCH(QString, how);
    QFETCH(int, startType);
    QFETCH(int, fileType);
    QFETCH(int, fileItems);

    Fixture f;
    f.window.chooseShopType(startType);
    f.add(QStringLiteral("own"));
    f.prompts.answer = UserPrompts::SaveAnswer::Discard; // the page without a file
    const QString before = f.state();
    const int steps = f.window.undoStack()->count();
    const Layout file = sampleLayout(fileType, fileItems);
    f.prompts.file = f.write("a.zlayout", file);
#ifdef Q_OS_UNIX
    if (how == u"command line, name not UTF-8") {
        // Written under a name that is not text; the command line and the
        // dialogs hand over what the desktop shows, U+FFFD for those bytes.
        const QByteArray raw = QFile::encodeName(f.tmp.path()) + "/a\xff.zlayout";
        QCOMPARE(std::rename(QFile::encodeName(f.prompts.file).constData(), raw.constData()), 0);
        f.prompts.file = f.path(QString::fromUtf16(u"a\uFFFD.zlayout"));
    }
#endif

    const bool open = how != u"insert";
    if (how == u"open")
        f.click("openButton");
    else if (open)
        QVERIFY(f.layout().openFile(f.prompts.file));
    else
        f.layout().insertAction()->trigger(); // as the list's menu runs it
    QVERIFY2(f.prompts.shown.isEmpty(), qPrintable(f.prompts.shown.join(u'\n')));
    const Layout expected = open ? file
                                 : Layout{startType, QStringList{QStringLiteral("own")} + file.names,
                                          QStringList{QStringLiteral("<p>own</p>")} + file.snippets};
    QVERIFY(f.ws.layout() == expected);
    QCOMPARE(f.shownShop(), QString::number(expected.shopType) % u' ' % expected.pageWidth());
    const char *name = how.contains(u"UTF-8") ? "a\uFFFD.zlayout" : "a.zlayout";
    QCOMPARE(f.window.windowTitle(), open ? caption(name) : caption());
    const QString after = f.state();
    if (fileItems == 0) {
        QCOMPARE(after, before); // the undo position too
        return;
    }
    QCOMPARE(f.window.undoStack()->count(), steps + 1);

    f.window.undoStack()->undo();
    // An undone Open leaves the window on the opened file, marked changed.
    QCOMPARE(f.state(),
             QString(before).replace(caption(), open ? caption(QByteArray("*").append(name).constData()) : caption()));
    f.window.undoStack()->redo();
    QCOMPARE(f.state(), after);
}

void TestLayoutWindow::badFileChangesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QByteArray>("bytes"); // none: a folder
    QTest::addColumn<QString>("problem");

    const QByteArray whole = *LayoutFile::toJson(sampleLayout(1, 2));
    QTest::newRow("open: not JSON") << "open" << QByteArrayLiteral("<html>") << "不是有效的 JSON";
    QTest::newRow("open: newer version") << "open" << QByteArray(whole).replace("\"version\": 1", "\"version\": 9")
                                         << "更新版本";
    QTest::newRow("insert: truncated") << "insert" << whole.left(whole.size() / 2) << "截断";
    QTest::newRow("insert: a folder") << "insert" << QByteArray() << "文件夹";
    QTest::newRow("command line: empty") << "command line" << QByteArrayLiteral(" ") << "文件是空的";
    QTest::newRow("recent: gone") << "recent" << QByteArray() << "已从最近的布局中移除";
}

void TestLayoutWindow::badFileChangesNothing()
{
    QFETCH(QString, how);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);

    Fixture f;
    QVERIFY(f.layout().openFile(f.write("good.zlayout", sampleLayout(0, 2))));
    f.add(QStringLiteral("own"));
    const QString before = f.state();
    QCOMPARE(f.window.windowTitle(), caption("*good.zlayout"));

    const QString bad = f.path(QStringLiteral("坏.zlayout"));
    QFile out(bad);
    if (how == u"recent")
        RecentLayouts().add(bad); // and it is gone
    else
        QVERIFY(bytes.isEmpty() ? QDir().mkdir(bad) : out.open(QIODevice::WriteOnly) && out.write(bytes) > 0);
    out.close();
    f.prompts.file = bad;
    if (how == u"open") {
        f.window.items()->openLayout();
    } else if (how == u"insert") {
        f.layout().insert();
    } else if (how == u"command line") {
        QVERIFY(!f.layout().openFile(bad));
    } else {
        emit f.layout().recentMenu()->aboutToShow();
        f.layout().recentMenu()->actions().constFirst()->trigger();
        QVERIFY(!RecentLayouts().paths().contains(bad));
    }
    QCOMPARE(f.prompts.shown.size(), 1);
    const QString message = f.prompts.shown.constFirst();
    QVERIFY2(message.contains(QDir::toNativeSeparators(bad)) && message.contains(problem), qPrintable(message));
    QCOMPARE(f.state(), before);
}

void TestLayoutWindow::unsavedChangesQuestion_data()
{
    QTest::addColumn<QString>("before"); // what happened since the window opened
    QTest::addColumn<QString>("then");   // close, or open another file
    QTest::addColumn<UserPrompts::SaveAnswer>("answer");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("saved");

    using A = UserPrompts::SaveAnswer;
    QTest::newRow("no file, nothing added: no question") << ""
                                                         << "close" << A::Cancel << true << false;
    QTest::newRow("no file, 不保存") << "add"
                                     << "close" << A::Discard << true << false;
    QTest::newRow("no file, 取消") << "add"
                                   << "close" << A::Cancel << false << false;
    QTest::newRow("unchanged: no question") << "open"
                                            << "close" << A::Cancel << true << false;
    QTest::newRow("保存") << "open add"
                          << "close" << A::Save << true << true;
    QTest::newRow("不保存") << "open add"
                            << "close" << A::Discard << true << false;
    QTest::newRow("取消") << "open add"
                          << "close" << A::Cancel << false << false;
    QTest::newRow("保存 fails: stays open") << "open add folder-gone"
                                            << "close" << A::Save << false << false;
    QTest::newRow("open another, 保存") << "open add"
                                        << "open" << A::Save << true << true;
    QTest::newRow("open another, 取消") << "open add"
                                        << "open" << A::Cancel << false << false;
    QTest::newRow("open the same, 保存") << "open add"
                                         << "reopen" << A::Save << true << true;
    QTest::newRow("shop type changed") << "open shop"
                                       << "close" << A::Discard << true << false;
}

void TestLayoutWindow::unsavedChangesQuestion()
{
    QFETCH(QString, before);
    QFETCH(QString, then);
    QFETCH(UserPrompts::SaveAnswer, answer);
    QFETCH(bool, goesOn);
    QFETCH(bool, saved);

    Fixture f;
    QVERIFY(QDir().mkdir(f.path(QStringLiteral("sub"))));
    const QString path = f.write("sub/page.zlayout", sampleLayout(0, 1));
    const QString other = f.write("other.zlayout", sampleLayout(1, 2));
    if (before.contains(u"open"))
        QVERIFY(f.layout().openFile(path));
    if (before.contains(u"add"))
        f.add(QStringLiteral("new"));
    if (before.contains(u"shop"))
        f.window.chooseShopType(1);
    if (before.contains(u"folder-gone"))
        QVERIFY(QDir(f.path(QStringLiteral("sub"))).removeRecursively());
    const QByteArray onDisk = readBytes(path);
    const Layout changed = f.ws.layout();
    f.prompts.answer = answer;
    f.window.show();

    if (then == u"close") {
        QCOMPARE(f.window.close(), goesOn);
        QCOMPARE(f.window.isVisible(), !goesOn);
    } else if (then == u"reopen") {
        // After 保存 the file holds the list, and that is what opens.
        QVERIFY(f.layout().openFile(path));
        QCOMPARE(f.window.windowTitle(), caption("page.zlayout"));
        QVERIFY(f.ws.layout() == changed);
    } else {
        QCOMPARE(f.layout().openFile(other), goesOn);
        QCOMPARE(f.window.windowTitle(), caption(goesOn ? "other.zlayout" : "*page.zlayout"));
    }
    const QString question = before == u"add" ? QStringLiteral("页面尚未保存，是否保存？")
        : before.startsWith(u"open ")         ? QStringLiteral("布局已修改，是否保存到 page.zlayout？")
                                              : QString();
    QCOMPARE(f.prompts.asked, question.isEmpty() ? QStringList() : QStringList{question});
    QCOMPARE(f.prompts.shown.size(), before.contains(u"folder-gone") ? 1 : 0);
    QCOMPARE(readBytes(path), saved ? *LayoutFile::toJson(changed) : onDisk);
}

void TestLayoutWindow::shopTypeIsAStep()
{
    Fixture f;
    QVERIFY(f.layout().openFile(f.write("s.zlayout", sampleLayout(0, 1))));
    const QString opened = f.state();
    QAbstractButton *tmall =
        f.window.findChild<QWidget *>(QStringLiteral("rzrdgrpleixing"))->findChild<QButtonGroup *>()->button(1);
    QTest::mouseClick(tmall, Qt::LeftButton);
    const QString chosen = f.state();
    QCOMPARE(chosen,
             QStringLiteral("shop 1 (1 790) | undo 2 | *s.zlayout - Zanfor描述排版器 |   样式-0 | <p>0</p>\r\n"));
    QTest::mouseClick(tmall, Qt::LeftButton); // the same again: no step
    QCOMPARE(f.state(), chosen);

    f.window.undoStack()->undo();
    QCOMPARE(f.state(), opened);
    f.window.undoStack()->redo();
    QCOMPARE(f.state(), chosen);
    f.window.show();
    QVERIFY(!f.window.close()); // asked, and cancelled
    QCOMPARE(f.prompts.asked, QStringList{QStringLiteral("布局已修改，是否保存到 s.zlayout？")});
}

void TestLayoutWindow::changedOnDisk_data()
{
    QTest::addColumn<bool>("changed"); // by another program since it was opened
    QTest::addColumn<bool>("overwrite");

    QTest::newRow("unchanged: no question") << false << false;
    QTest::newRow("覆盖") << true << true;
    QTest::newRow("取消") << true << false;
}

void TestLayoutWindow::changedOnDisk()
{
    QFETCH(bool, changed);
    QFETCH(bool, overwrite);

    Fixture f;
    const QString path = f.write("c.zlayout", sampleLayout(0, 1));
    QVERIFY(f.layout().openFile(path));
    f.add(QStringLiteral("mine"));
    if (changed)
        QVERIFY(LayoutFile::save(path, sampleLayout(1, 2)).ok()); // as a second copy would
    const QByteArray onDisk = readBytes(path);
    f.prompts.yesAnswer = overwrite;

    const bool saved = f.layout().save();
    QCOMPARE(saved, !changed || overwrite);
    QCOMPARE(f.prompts.asked,
             changed ? QStringList{QStringLiteral("布局文件 c.zlayout 已在别处修改。仍要覆盖吗？ [覆盖/取消] 取消")}
                     : QStringList());
    QCOMPARE(readBytes(path), saved ? *LayoutFile::toJson(f.ws.layout()) : onDisk);
    QCOMPARE(f.window.windowTitle(), caption(saved ? "c.zlayout" : "*c.zlayout"));
}

void TestLayoutWindow::keysFromATextField_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("dialog"); // the file dialog asked for, if any
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("phone"); // 手机 checked after

    QTest::newRow("Ctrl+S saves to the file") << QKeySequence(QStringLiteral("Ctrl+S")) << QString() << true << false;
    QTest::newRow("Ctrl+Shift+S") << QKeySequence(QStringLiteral("Ctrl+Shift+S")) << "保存布局" << false << false;
    QTest::newRow("Ctrl+O") << QKeySequence(QStringLiteral("Ctrl+O")) << "打开布局" << false << false;
    QTest::newRow("Ctrl+Shift+O") << QKeySequence(QStringLiteral("Ctrl+Shift+O")) << "插入布局" << false << false;
    QTest::newRow("Ctrl+E") << QKeySequence(QStringLiteral("Ctrl+E")) << "导出页面为 HTML" << false << false;
    QTest::newRow("Ctrl+M, the phone look") << QKeySequence(QStringLiteral("Ctrl+M")) << QString() << false << true;
    QTest::newRow("undo stays the field's") << QKeySequence(QKeySequence::Undo) << QString() << false << false;
}

void TestLayoutWindow::keysFromATextField()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, dialog);
    QFETCH(bool, saved);
    QFETCH(bool, phone);

    Fixture f;
    QVERIFY(f.layout().openFile(f.write("k.zlayout", sampleLayout(0, 1))));
    f.add(QStringLiteral("new"));
    auto *field = new GreedyField(&f.window);
    f.window.show();
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    field->setFocus();
    QVERIFY(field->hasFocus());

    QTest::keySequence(field, keys);
    QCOMPARE(f.prompts.asked, dialog.isEmpty() ? QStringList() : QStringList{dialog});
    QCOMPARE(f.window.windowTitle(), caption(saved ? "k.zlayout" : "*k.zlayout"));
    QCOMPARE(f.window.undoStack()->index(), 2); // Open and the Add
    auto *phoneButton = f.window.findChild<QAbstractButton *>(QStringLiteral("phoneButton"));
    QCOMPARE(phoneButton->isChecked(), phone);
    if (phone)
        phoneButton->click(); // as the next window starts
}

void TestLayoutWindow::roundTrip()
{
    Fixture f;
    for (const QString &snippet : {QStringLiteral("<p>CR LF\r\nLF\nCR\rend</p>  "),
                                   QStringLiteral("<table>\t\r\n  <tr><td>宽度 750 ¥ 🎁</td></tr>\r\n</table>\r\n\r\n"),
                                   QStringLiteral("\"quoted\" \\ back\\slash </script> \u2028 \u00a0"), QString()})
        f.window.items()->addItem({QStringLiteral("  自定义-\"名\"\t"), snippet});
    f.window.chooseShopType(1);
    f.window.items()->pagePreview();
    const QByteArray page = f.preview();

    const QString saved = f.path(QStringLiteral("R&D page.zlayout"));
    f.prompts.file = saved;
    f.click("saveButton");
    QCOMPARE(f.window.windowTitle(), caption("R&D page.zlayout"));
    const Layout built = f.ws.layout();
    f.window.items()->clearItems();
    f.window.chooseShopType(0);
    f.prompts.answer = UserPrompts::SaveAnswer::Discard; // the emptied list
    f.click("openButton");
    QVERIFY(f.ws.layout() == built);

    f.window.panel(1)->clickStyle(0); // the memo holds that style's snippet now
    const QString memo = f.ws.output().memo();
    f.prompts.file = f.path(QStringLiteral("page.html"));
    f.layout().exportAction()->trigger();
    QVERIFY(f.prompts.shown.isEmpty());
    QCOMPARE(readBytes(f.prompts.file), page);
    QCOMPARE(f.ws.output().memo(), memo); // exporting leaves the memo alone
    QCOMPARE(RecentLayouts().paths(), QStringList{saved});
    emit f.layout().recentMenu()->aboutToShow();
    // The entry as the menu draws it: its text less the key marks.
    QCOMPARE(f.layout().recentMenu()->actions().constFirst()->iconText(), u"1 " % QDir::toNativeSeparators(saved));
}

QTEST_MAIN(TestLayoutWindow)
#include "test_layout_window.moc"
