// The window used with the keyboard alone and through a screen reader, and
// the web view's recovery when its render process dies.
#include "FunctionButton.h"
#include "ItemListPanel.h"
#include "MainWindow.h"
#include "PreviewView.h"
#include "RecordingPrompts.h"
#include "SectionPanel.h"
#include "StyleGroup.h"
#include "TestSupport.h"
#include "Workspace.h"

#include <QAccessible>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

namespace {

class ColourPrompts : public RecordingPrompts
{
public:
    int colourRequests = 0;
    std::optional<QColor> askColour(const QColor &) override
    {
        ++colourRequests;
        return QColor(Qt::red);
    }
};

} // namespace

class TestKeyboardAccess : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tabReachesEveryControlInOrder();
    void spaceOpensSectionsAndArrowKeysChooseStyles();
    void colourChooserOpensFromTheKeyboard();
    void accessibleNamesAndRoles();
    void undoShortcutCoversListButNotTextFields();
    void renderProcessDeathIsRecovered();
    void largePagesDoNotWaitForTheView();

private:
    QWidget *focused() const { return QApplication::focusWidget(); }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(focused() ? focused() : m_window.get(), key, mods);
    }

    std::unique_ptr<TemporaryWorkspace> m_scratch;
    Workspace *m_workspace = nullptr;
    ColourPrompts m_prompts;
    std::unique_ptr<MainWindow> m_window;
};

void TestKeyboardAccess::init()
{
    m_scratch = std::make_unique<TemporaryWorkspace>();
    QVERIFY(m_scratch->tmp.isValid());
    m_workspace = &m_scratch->ws;
    m_prompts.notices.clear();
    m_prompts.errors.clear();
    m_window = std::make_unique<MainWindow>(*m_workspace, &m_prompts);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get(), 20000));
}

void TestKeyboardAccess::cleanup()
{
    m_window.reset();
    m_workspace = nullptr;
    m_scratch.reset();
}

void TestKeyboardAccess::tabReachesEveryControlInOrder()
{
    m_window->openSection(SpacerLineSection);
    auto *first = m_window->findChild<QWidget *>(QStringLiteral("rzrdgrpleixing"))->findChild<QRadioButton *>();
    first->setFocus(Qt::TabFocusReason);
    QStringList order;
    for (int i = 0; i < 60 && !order.contains(QLatin1String("btntiqu")); ++i) {
        press(Qt::Key_Tab);
        order << focused()->objectName();
    }
    // Function list in reading order, then the open panel's controls, then
    // the list and its buttons; the web view is passed by.
    QStringList expected;
    for (int n = 1; n <= 11; ++n)
        expected << QStringLiteral("rzpnllei%1").arg(n);
    for (const QString &name : expected)
        QVERIFY2(order.contains(name), qPrintable(name + u' ' + order.join(u',')));
    for (int n = 2; n <= 11; ++n)
        QVERIFY(order.indexOf(QStringLiteral("rzpnllei%1").arg(n))
                > order.indexOf(QStringLiteral("rzpnllei%1").arg(n - 1)));
    const int add = order.indexOf(QLatin1String("btn25"));
    QVERIFY(add > order.indexOf(QLatin1String("rzpnllei11")));
    QVERIFY(order.indexOf(QLatin1String("btn26")) > add);
    QVERIFY(order.indexOf(QLatin1String("lstlei")) > add);
    const QStringList listButtons{QStringLiteral("btnup"),    QStringLiteral("btndown"), QStringLiteral("btndel"),
                                  QStringLiteral("btnclear"), QStringLiteral("btn5"),    QStringLiteral("btntiqu")};
    int previous = order.indexOf(QLatin1String("lstlei"));
    for (const QString &name : listButtons) {
        QVERIFY2(order.indexOf(name) > previous, qPrintable(name));
        previous = order.indexOf(name);
    }
    QVERIFY(!order.contains(QLatin1String("wb1")));
    // Hidden panels are not in the way.
    QVERIFY(!order.contains(QLatin1String("btn2")));
}

void TestKeyboardAccess::spaceOpensSectionsAndArrowKeysChooseStyles()
{
    FunctionButton *button = m_window->functionButton(SpacerLineSection);
    button->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    SectionPanel *panel = m_window->panel(SpacerLineSection);
    QVERIFY(panel->isVisible());

    StyleGroup *group = panel->styleGroup();
    group->item(0)->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    QCOMPARE(panel->frame().choice(), 0);
    QVERIFY(panel->frame().code().contains(QLatin1String("height=\"10\"")));

    // An arrow key moves the choice to the next style and builds it, as a
    // click on a new style does.
    press(Qt::Key_Right);
    QCOMPARE(panel->frame().choice(), 1);
    QVERIFY(panel->frame().code().contains(QLatin1String("height=\"20\"")));
    QCOMPARE(group->choice(), 1);

    // Enter on Add adds, with the keyboard alone.
    auto *add = panel->findChild<QPushButton *>(QStringLiteral("btn25"));
    add->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    QCOMPARE(m_workspace->items().count(), 1);
    QCOMPARE(m_workspace->items().name(0), QStringLiteral("  20px-分割线"));
}

void TestKeyboardAccess::colourChooserOpensFromTheKeyboard()
{
    m_window->openSection(DividerBarSection);
    auto *edt2 = m_window->findChild<QLineEdit *>(QStringLiteral("edt2"));
    edt2->setFocus();
    press(Qt::Key_F4);
    QCOMPARE(m_prompts.colourRequests, 1);
    QCOMPARE(edt2->text(), QStringLiteral("#FF0000"));

    m_window->openSection(CouponSection);
    auto *coupon = m_window->findChild<QLineEdit *>(QStringLiteral("edtyouhuiquancolor"));
    coupon->setFocus();
    press(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(m_prompts.colourRequests, 2);
    QCOMPARE(coupon->text(), QStringLiteral("#FF0000"));
    // Typing still types.
    press(Qt::Key_A);
    QCOMPARE(coupon->text(), QStringLiteral("#FF0000a"));
}

void TestKeyboardAccess::accessibleNamesAndRoles()
{
    for (const SectionInfo &info : sectionTable()) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(m_window->functionButton(info.number));
        QVERIFY(iface);
        QCOMPARE(iface->text(QAccessible::Name), info.buttonCaption);
        QCOMPARE(iface->role(), QAccessible::Button);
    }
    m_window->openSection(8);
    SectionPanel *panel = m_window->panel(8);
    QCOMPARE(QAccessible::queryAccessibleInterface(panel)->text(QAccessible::Name), QStringLiteral("售后说明"));
    QAccessibleInterface *item = QAccessible::queryAccessibleInterface(panel->styleGroup()->item(1));
    QCOMPARE(item->role(), QAccessible::RadioButton);
    QCOMPARE(item->text(QAccessible::Name), QStringLiteral("售后说明 自助问答"));
    auto *add = panel->findChild<QPushButton *>(QStringLiteral("btn19"));
    QCOMPARE(QAccessible::queryAccessibleInterface(add)->text(QAccessible::Name), QStringLiteral("售后说明 添加"));

    // Every visible control has a name a person can understand.
    const QList<QWidget *> widgets = m_window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->isVisible() || w->focusPolicy() == Qt::NoFocus || qobject_cast<QAbstractScrollArea *>(w->parentWidget())
            || w->parentWidget() == m_window->preview()->view())
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY2(iface && !iface->text(QAccessible::Name).trimmed().isEmpty(),
                 qPrintable(w->objectName() + u' ' + QLatin1String(w->metaObject()->className()) + u' '
                            + w->parentWidget()->objectName()));
    }
}

void TestKeyboardAccess::undoShortcutCoversListButNotTextFields()
{
    m_window->openSection(CustomSection);
    auto *memo = m_window->findChild<QPlainTextEdit *>(QStringLiteral("mmo10"));
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("<p>"));
    m_window->panel(CustomSection)->add();
    QCOMPARE(m_workspace->items().count(), 1);

    // With the memo focused the shortcut edits the memo, not the list.
    m_window->openSection(CustomSection);
    memo->setFocus();
    QTest::keySequence(memo, QKeySequence::Undo);
    QCOMPARE(m_workspace->items().count(), 1);
    QVERIFY(memo->toPlainText() != QLatin1String("<p>"));

    // Elsewhere it undoes the Add: both lists together, panels untouched.
    m_window->itemList()->setFocus();
    QTest::keySequence(m_window->itemList(), QKeySequence::Undo);
    QCOMPARE(m_workspace->items().count(), 0);
    QCOMPARE(m_window->itemList()->model()->rowCount(), 0);
    QVERIFY(m_window->panel(CustomSection)->isVisible());
    QTest::keySequence(m_window->itemList(), QKeySequence::Redo);
    QCOMPARE(m_workspace->items().count(), 1);
    QCOMPARE(m_workspace->items().snippet(0), QStringLiteral("<p>"));
}

void TestKeyboardAccess::renderProcessDeathIsRecovered()
{
    PreviewView *preview = m_window->preview();
    QSignalSpy loads(preview, &PreviewView::loadFinished);
    QVERIFY(loads.wait(20000) || loads.count() > 0);

    m_workspace->items().append(QStringLiteral("<p>第一段</p>"), QStringLiteral("  自定义-a"));
    loads.clear();
    m_window->items()->pagePreview();
    QVERIFY(loads.wait(20000));

    QSignalSpy recovered(preview, &PreviewView::recovered);
    const qint64 pid = preview->view()->page()->renderProcessPid();
    QVERIFY(pid > 0);
    loads.clear();
    QProcess::execute(QStringLiteral("kill"), {QStringLiteral("-9"), QString::number(pid)});
    QVERIFY(recovered.wait(20000));
    QCOMPARE(recovered.first().first().toBool(), true);
    QTRY_VERIFY_WITH_TIMEOUT(loads.count() > 0, 20000);
    QVERIFY2(loads.last().first().toBool(), qPrintable(QString::number(loads.count())));
    QVERIFY(preview->view()->page()->renderProcessPid() != pid);
    QCOMPARE(preview->lastFile(), QUrl::fromLocalFile(m_workspace->files().previewPath()));
    QCOMPARE(m_workspace->items().count(), 1);

    QString text;
    preview->view()->page()->toPlainText([&](const QString &t) { text = t; });
    QTRY_VERIFY_WITH_TIMEOUT(text.contains(QStringLiteral("第一段")), 10000);
}

void TestKeyboardAccess::largePagesDoNotWaitForTheView()
{
    // A seller's 10,000-item page and a 5 MB paste: each click writes the
    // page and hands it to the view, which loads it on its own afterwards.
    // How long the window's own part takes is a benchmark figure
    // (scripts/bench), not a test.
    GeneratedItems &items = m_workspace->items();
    for (int i = 0; i < 10000; ++i)
        items.append(QStringLiteral("<table width=\"100%\"><tr><td>第%1段\n</td></tr></table>").arg(i),
                     QStringLiteral("  自定义-%1").arg(i));
    QSignalSpy loads(m_window->preview(), &PreviewView::loadFinished);
    m_window->items()->pagePreview();
    QCOMPARE(loads.size(), 0);
    QCOMPARE(m_window->preview()->lastFile(), QUrl::fromLocalFile(m_workspace->files().previewPath()));
    QCOMPARE(m_workspace->output().memo().count(QStringLiteral("\r\n")), 20000);

    m_window->openSection(CustomSection);
    auto *memo = m_window->findChild<QPlainTextEdit *>(QStringLiteral("mmo10"));
    const QString line = QStringLiteral("<div style=\"color:#333\">五兆字节的自定义代码&nbsp;</div>\n");
    const int lines = int(5 * 1024 * 1024 / line.toUtf8().size());
    memo->setPlainText(line.repeated(lines));
    m_window->panel(CustomSection)->add();
    m_window->items()->pagePreview();
    QCOMPARE(loads.size(), 0);
    QCOMPARE(items.count(), 10001);
    QCOMPARE(m_workspace->output().memo().count(QStringLiteral("\r\n")), 20000 + lines + 1);
    QVERIFY(m_workspace->output().memo().toUtf8().size() > 5 * 1000 * 1000);
}

QTEST_MAIN(TestKeyboardAccess)
#include "test_keyboard_access.moc"
