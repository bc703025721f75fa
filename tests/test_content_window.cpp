// The item editor and the page-wide picture and link dialog in the real
// window, driven through their widgets' names as a user would.

#include "MainWindow.h"
#include "PreviewView.h"
#include "RecordingPrompts.h"
#include "TestSupport.h"
#include "UserSettings.h"
#include "WindowFixture.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// A title, a link to "#" around a sample picture, and a price with an entity.
const QString Item = u"<div>\r\n  <h3> 标题 </h3><a href=\"#\"><img src='https://placehold.co/190x300.png' "
                     u"width=\"190\" height=\"300\"></a><p>价格 &amp; 99</p>\r\n</div>"_s;

struct Fixture : TemporaryWorkspace
{
    Fixture()
        : window(ws, &prompts)
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("the window is not active: the keys reach no shortcut");
    }

    QListView *list() const { return window.itemList(); }
    void select(int row)
    {
        list()->setFocus();
        list()->setCurrentIndex(list()->model()->index(row, 0));
    }
    QString snippet(int i) { return ws.items().snippet(i); }

    // Runs `act` on the first modal dialog that `open` opens and closes it
    // should `act` have left it open; returns the dialog's name, empty when
    // none opened.
    QString whileOpen(const std::function<void()> &open, const std::function<void(QDialog *)> &act)
    {
        QString name;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || !name.isEmpty())
                return;
            name = dialog->objectName();
            // Without a window manager the window's own activation may
            // still be on its way and arrive after the dialog's.
            dialog->activateWindow();
            if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }))
                qWarning("the dialog is not active: keys do not reach it");
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        poll.start(10);
        open();
        return name;
    }

    RecordingPrompts prompts;
    MainWindow window;
};

template<typename T = QWidget>
T *child(QWidget *parent, const QString &name)
{
    T *w = parent->findChild<T *>(name);
    if (!w)
        qWarning() << "no widget" << name;
    return w;
}

void type(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    field->insert(text);
}

QString labelOf(QWidget *dialog, QWidget *field)
{
    for (QLabel *label : dialog->findChildren<QLabel *>()) {
        if (label->buddy() == field)
            return label->text();
    }
    return {};
}

} // namespace

class TestContentWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void itemEditor_data();
    void itemEditor();
    void refusedAddressAppliesNothing_data();
    void refusedAddressAppliesNothing();
    void pageAssets_data();
    void pageAssets();
    void nothingToEdit_data();
    void nothingToEdit();
    void lastSizeKept();
    void editorShowsTheEntryFromItsTop();
};

void TestContentWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    userSettings().remove(u"dialogSizes"_s);
}

// Every way to open the editor; the name, then its fields in the snippet's
// order, marked where they still hold samples; the view previews the edit
// while the memo stays; OK applies exactly the edited bytes, name and
// snippet, as one command.
void TestContentWindow::itemEditor_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("newName"); // empty: the name left as it is
    QTest::addColumn<QString>("close");
    QTest::addColumn<bool>("applied");
    QTest::newRow("double click, edit, OK")
        << u"double click"_s << true << u"  改过的 名称 "_s << u"okButton"_s << true;
    QTest::newRow("F2, edit, Cancel") << u"F2"_s << true << u"  改过的"_s << u"cancelButton"_s << false;
    QTest::newRow("Enter, edit, Escape") << u"Enter"_s << true << QString() << u"Escape"_s << false;
    QTest::newRow("button, no change, OK") << u"editButton"_s << false << QString() << u"okButton"_s << false;
    QTest::newRow("button, rename, OK") << u"editButton"_s << false << u"  默认样式-自定义2"_s << u"okButton"_s << true;
    QTest::newRow("page check, edit, OK") << u"pageCheck"_s << true << QString() << u"okButton"_s << true;
}

void TestContentWindow::itemEditor()
{
    QFETCH(QString, opener);
    QFETCH(bool, edit);
    QFETCH(QString, newName);
    QFETCH(QString, close);
    QFETCH(bool, applied);
    const QString name = u"  默认样式-自定义"_s;
    const QString edited = u"<div>\r\n  <h3> 新&lt;标题&gt;&nbsp;2 </h3><a href=\"https://shop.cn/a?x=1&amp;y=2\">"
                           u"<img src='https://placehold.co/190x300.png' width=\"190\" height=\"300\"></a>"
                           u"<p>价格 &amp; 99</p>\r\n</div>"_s;
    Fixture f;
    f.ws.items().append(u"<p>first</p>"_s, u"  other"_s);
    f.ws.items().append(Item, name);
    f.select(1);
    const QString memo = f.ws.output().memo();

    const QString opened = f.whileOpen(
        [&] {
            if (opener == u"double click") {
                // As a mouse sends it: a click, then the second press as a double click.
                const QPoint row = f.list()->visualRect(f.list()->model()->index(1, 0)).center();
                QTest::mouseClick(f.list()->viewport(), Qt::LeftButton, {}, row);
                QTest::mouseDClick(f.list()->viewport(), Qt::LeftButton, {}, row);
                QTest::mouseRelease(f.list()->viewport(), Qt::LeftButton, {}, row);
            } else if (opener == u"editButton") {
                QTest::mouseClick(child(&f.window, opener), Qt::LeftButton);
            } else if (opener == u"pageCheck") {
                // Once counted: the "#" link of entry 1 is the first to replace.
                auto *check = child<QLabel>(&f.window, opener);
                QVERIFY(QTest::qWaitFor([&] { return check->text().contains(u"# 链接 1"); }));
                f.select(0);
                QTest::mouseClick(check, Qt::LeftButton);
            } else {
                QTest::keyClick(f.list(), opener == u"F2" ? Qt::Key_F2 : Qt::Key_Return);
            }
        },
        [&](QDialog *dialog) {
            QCOMPARE(dialog->windowTitle(), u"编辑内容 - 默认样式-自定义"_s);
            QStringList values, described;
            for (int i = 0; i < 5; ++i) {
                auto *field = dialog->findChild<QLineEdit *>(u"contentField%1"_s.arg(i));
                values << (field ? field->text() : u"<none>"_s);
                described << (field && !field->accessibleDescription().isEmpty() ? u"marked"_s : QString());
            }
            QCOMPARE(
                values,
                (QStringList{u"标题"_s, u"#"_s, u"https://placehold.co/190x300.png"_s, u"价格 & 99"_s, u"<none>"_s}));
            QCOMPARE(described, (QStringList{{}, u"marked"_s, u"marked"_s, {}, {}}));
            if (opener == u"pageCheck")
                QTRY_COMPARE(QApplication::focusWidget(), child(dialog, u"contentField1"_s));
            QVERIFY(labelOf(dialog, child(dialog, u"contentField2"_s)).contains(u"190×300"));
            QCOMPARE(f.preview(), Item.toUtf8());
            QCOMPARE(child<QLineEdit>(dialog, u"nameField"_s)->text(), name);

            if (!newName.isEmpty())
                type(child<QLineEdit>(dialog, u"nameField"_s), newName);
            if (edit) {
                // A refused address keeps its old value in the preview, which
                // follows the other fields meanwhile and the address once
                // it is corrected.
                type(child<QLineEdit>(dialog, u"contentField1"_s), u"javascript:alert(1)"_s);
                type(child<QLineEdit>(dialog, u"contentField0"_s), u"新<标题>\u00A02"_s);
                const QString titleOnly = QString(edited).replace(u"https://shop.cn/a?x=1&amp;y=2"_s, u"#"_s);
                QVERIFY(QTest::qWaitFor([&] { return f.preview() == titleOnly.toUtf8(); }, 10000));
                type(child<QLineEdit>(dialog, u"contentField1"_s), u"https://shop.cn/a?x=1&y=2"_s);
                QVERIFY(QTest::qWaitFor([&] { return f.preview() == edited.toUtf8(); }, 10000));
                QCOMPARE(f.ws.output().memo(), memo);
            }
            if (close == u"Escape")
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            else
                QTest::mouseClick(child(dialog, close), Qt::LeftButton);
            QVERIFY(!dialog->isVisible());
        });
    QCOMPARE(opened, u"itemEditor"_s);
    const QString editedSnippet = applied && edit ? edited : Item;
    const QString editedName = applied && !newName.isEmpty() ? newName : name;
    QCOMPARE(f.snippet(1), editedSnippet);
    QCOMPARE(f.snippet(0), u"<p>first</p>"_s);
    QCOMPARE(f.ws.items().name(1), editedName);
    QCOMPARE(f.list()->model()->index(1, 0).data().toString(), editedName);
    QCOMPARE(f.window.undoStack()->count(), applied ? 1 : 0);
    QCOMPARE(f.preview(), f.snippet(1).toUtf8());
    QCOMPARE(f.window.preview()->lastFile(), QUrl::fromLocalFile(f.ws.files().previewPath()));
    QCOMPARE(f.ws.output().memo(), memo);
    if (applied) {
        f.window.undoStack()->undo();
        QCOMPARE(f.snippet(1), Item);
        QCOMPARE(f.list()->model()->index(1, 0).data().toString(), name);
        f.window.undoStack()->redo();
        QCOMPARE(f.snippet(1), editedSnippet);
        QCOMPARE(f.list()->model()->index(1, 0).data().toString(), editedName);
    }
    QVERIFY(f.prompts.notices.isEmpty() && f.prompts.errors.isEmpty());
}

// OK with a refused address or name names the field, stays open, and
// changes nothing, in both dialogs.
void TestContentWindow::refusedAddressAppliesNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("dialogName");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("named");
    const QString script = u"javascript:alert(1)"_s;
    QTest::newRow("editor") << u"editButton"_s << u"itemEditor"_s << u"contentField1"_s << script << u"链接地址 1："_s;
    QTest::newRow("page") << u"assetsButton"_s << u"pageAssets"_s << u"assetField1"_s << script << u"图片地址 1："_s;
    QTest::newRow("empty name") << u"editButton"_s << u"itemEditor"_s << u"nameField"_s << QString() << u"名称："_s;
    QTest::newRow("name with a line feed")
        << u"editButton"_s << u"itemEditor"_s << u"nameField"_s << u"  甲\n乙"_s << u"名称："_s;
    QTest::newRow("name with a line separator")
        << u"editButton"_s << u"itemEditor"_s << u"nameField"_s << u"  甲\u2028乙"_s << u"名称："_s;
}

void TestContentWindow::refusedAddressAppliesNothing()
{
    QFETCH(QString, button);
    QFETCH(QString, dialogName);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, named);
    Fixture f;
    f.ws.items().append(Item, u"  item"_s);
    f.select(0);
    const QString opened = f.whileOpen([&] { QTest::mouseClick(child(&f.window, button), Qt::LeftButton); },
                                       [&](QDialog *dialog) {
                                           // Text fields come first in the editor, so the first text stays
                                           // edited while the address is refused.
                                           if (dialogName == u"itemEditor")
                                               type(child<QLineEdit>(dialog, u"contentField0"_s), u"changed"_s);
                                           type(child<QLineEdit>(dialog, field), typed);
                                           QTest::mouseClick(child(dialog, u"okButton"_s), Qt::LeftButton);
                                           QVERIFY(dialog->isVisible());
                                           QCOMPARE(f.prompts.notices.size(), 1);
                                           QVERIFY2(f.prompts.notices.constFirst().startsWith(named),
                                                    qPrintable(f.prompts.notices.constFirst()));
                                           QCOMPARE(QApplication::focusWidget(), child(dialog, field));
                                       });
    QCOMPARE(opened, dialogName);
    QCOMPARE(f.snippet(0), Item);
    QCOMPARE(f.ws.items().name(0), u"  item"_s);
    QCOMPARE(f.window.undoStack()->count(), 0);
}

// Every distinct address of the page with its uses; OK replaces a changed
// one wherever it stands as one command, which stores only what changed.
void TestContentWindow::pageAssets_data()
{
    QTest::addColumn<QString>("newPicture");
    QTest::addColumn<QString>("close");
    QTest::addColumn<bool>("applied");
    QTest::newRow("replace, OK") << u"https://cdn.cn/q.png"_s << u"okButton"_s << true;
    QTest::newRow("replace, Cancel") << u"https://cdn.cn/q.png"_s << u"cancelButton"_s << false;
    QTest::newRow("unchanged, OK") << u"p.png"_s << u"okButton"_s << false;
}

void TestContentWindow::pageAssets()
{
    QFETCH(QString, newPicture);
    QFETCH(QString, close);
    QFETCH(bool, applied);
    const QStringList before{u"<a href=\"#\"><img src='p.png'></a>"_s, u"<p>no address</p>"_s,
                             u"<img src=p.png alt=x><a href=\"https://x.cn/\">x</a>"_s,
                             u"<svg><a xlink:href=\"javascript:alert(1)\"><image href=\"p.png\"/></a></svg>"_s};
    const QStringList after{
        u"<a href=\"#\"><img src='https://cdn.cn/q.png'></a>"_s, before[1],
        u"<img src=\"https://cdn.cn/q.png\" alt=x><a href=\"https://x.cn/\">x</a>"_s,
        u"<svg><a xlink:href=\"javascript:alert(1)\"><image href=\"https://cdn.cn/q.png\"/></a></svg>"_s};
    Fixture f;
    for (const QString &s : before)
        f.ws.items().append(s, u"  item"_s);

    const QString opened = f.whileOpen(
        [&] { QTest::mouseClick(child(&f.window, u"assetsButton"_s), Qt::LeftButton); },
        [&](QDialog *dialog) {
            QStringList rows, marks;
            for (int i = 0; i < 5; ++i) {
                auto *field = dialog->findChild<QLineEdit *>(u"assetField%1"_s.arg(i));
                rows << (field ? labelOf(dialog, field) + u' ' + field->text() : u"<none>"_s);
                marks << (field ? field->accessibleDescription().section(u'：', 0, 0) : QString());
            }
            QCOMPARE(rows,
                     (QStringList{u"链接地址 1（1 处） #"_s, u"图片地址 1（3 处） p.png"_s,
                                  u"链接地址 2（1 处） https://x.cn/"_s, u"链接地址 3（1 处） javascript:alert(1)"_s,
                                  u"<none>"_s}));
            QCOMPARE(marks, (QStringList{u"待替换"_s, {}, {}, u"不安全"_s, {}}));
            int shown = 0;
            for (const QLabel *label : dialog->findChildren<QLabel *>())
                shown += label->isVisibleTo(dialog) && label->text() == u"不安全";
            QCOMPARE(shown, 1);
            type(child<QLineEdit>(dialog, u"assetField1"_s), newPicture);
            QTest::mouseClick(child(dialog, close), Qt::LeftButton);
        });
    QCOMPARE(opened, u"pageAssets"_s);
    QCOMPARE(f.ws.items().snippets(), applied ? after : before);
    QCOMPARE(f.window.undoStack()->count(), applied ? 1 : 0);
    if (applied) {
        f.window.undoStack()->undo();
        QCOMPARE(f.ws.items().snippets(), before);
        f.window.undoStack()->redo();
        QCOMPARE(f.ws.items().snippets(), after);
    }
}

// Nothing to offer: a message instead of an empty dialog; no selection:
// nothing at all. An entry always has its name to edit.
void TestContentWindow::nothingToEdit_data()
{
    QTest::addColumn<QStringList>("snippets");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("notices");
    QTest::addColumn<QStringList>("fields"); // of the dialog that opens
    QTest::newRow("empty list") << QStringList() << -1 << u"assetsButton"_s << 1 << QStringList();
    QTest::newRow("no address") << QStringList{u"<p>text</p>"_s} << -1 << u"assetsButton"_s << 1 << QStringList();
    QTest::newRow("no piece: the name alone")
        << QStringList{u"<br>\r\n<hr>"_s} << 0 << u"editButton"_s << 0 << QStringList{u"nameField"_s};
    QTest::newRow("no selection") << QStringList{Item} << -1 << u"editButton"_s << 0 << QStringList();
}

void TestContentWindow::nothingToEdit()
{
    QFETCH(QStringList, snippets);
    QFETCH(int, selected);
    QFETCH(QString, button);
    QFETCH(int, notices);
    QFETCH(QStringList, fields);
    Fixture f;
    for (const QString &s : snippets)
        f.ws.items().append(s, u"  item"_s);
    if (selected >= 0)
        f.select(selected);
    QStringList shown;
    const QString opened = f.whileOpen([&] { QTest::mouseClick(child(&f.window, button), Qt::LeftButton); },
                                       [&](QDialog *dialog) {
                                           for (const QLineEdit *field : dialog->findChildren<QLineEdit *>())
                                               shown.append(field->objectName());
                                       });
    QCOMPARE(opened, fields.isEmpty() ? QString() : u"itemEditor"_s);
    QCOMPARE(shown, fields);
    QCOMPARE(f.prompts.notices.size(), notices);
    QCOMPARE(f.window.undoStack()->count(), 0);
}

// A size the seller gives a dialog is the one it opens at next time, in a
// window of the next run too; the other dialog keeps its own.
void TestContentWindow::lastSizeKept()
{
    const QSize given(720, 380);
    QSize editor, assets;
    {
        Fixture f;
        f.ws.items().append(Item, u"  item"_s);
        f.select(0);
        f.whileOpen([&] { f.window.items()->editItem(); }, [&](QDialog *dialog) { dialog->resize(given); });
    }
    Fixture f;
    f.ws.items().append(Item, u"  item"_s);
    f.select(0);
    f.whileOpen([&] { f.window.items()->editPageAddresses(); }, [&](QDialog *dialog) { assets = dialog->size(); });
    f.whileOpen([&] { f.window.items()->editItem(); }, [&](QDialog *dialog) { editor = dialog->size(); });
    QCOMPARE(editor, given);
    QVERIFY(assets.isValid() && assets != given);
}

// Opened on an entry the view was scrolled down in, the editor's preview
// shows the entry from its top.
void TestContentWindow::editorShowsTheEntryFromItsTop()
{
    Fixture f;
    QString tall;
    for (int i = 0; i < 40; ++i)
        tall += u"<p style=\"height:100px\">text %1</p>"_s.arg(i);
    f.ws.items().append(tall, u"  item"_s);
    f.select(0);
    PreviewView *view = f.window.preview();
    QVERIFY(waitUntil([&] { return view->view(); }));
    view->showFile(*f.ws.output().itemPreview(tall));
    QWebEnginePage *page = view->view()->page();
    // Scrolls as soon as the entry's page is there.
    QVERIFY(waitUntil(
        [&] {
            page->runJavaScript(u"window.scrollTo(0, 1500)"_s, QWebEngineScript::ApplicationWorld);
            return page->scrollPosition().y() > 0;
        },
        10000));
    QSignalSpy loads(view, &PreviewView::loadFinished);

    qreal opened = -1;
    f.whileOpen([&] { f.window.items()->editItem(); },
                [&](QDialog *) {
                    QVERIFY(waitUntil([&] { return !loads.isEmpty(); }, 10000));
                    // Time for the engine to put a reloaded page back where it was.
                    QTest::qWait(500);
                    opened = page->scrollPosition().y();
                });
    QCOMPARE(opened, 0.0);
}

QTEST_MAIN(TestContentWindow)
#include "test_content_window.moc"
