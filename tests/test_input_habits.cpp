// Fast clicks and keyboard habits in the real window: a double click never
// reaches a control that slid under the pointer after its first click, and
// Enter or Return click the focused button and nothing else.
#include "MainWindow.h"
#include "RecordingPrompts.h"
#include "SectionPanel.h"
#include "StyleGroup.h"
#include "TestSupport.h"
#include "UserPrompts.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

class ColourPrompts : public RecordingPrompts
{
public:
    std::optional<QColor> askColour(const QColor &) override
    {
        ++colourRequests;
        return std::nullopt;
    }
    int colourRequests = 0;
};

// A window with the sections open and the first style of each chosen.
struct Fixture : TemporaryWorkspace
{
    explicit Fixture(const QList<int> &sections)
    {
        window.show();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
        for (int section : sections) {
            window.openSection(section);
            if (window.panel(section)->styleGroup())
                window.panel(section)->clickStyle(0);
        }
        QTest::qWait(50);
    }
    ColourPrompts prompts;
    MainWindow window{ws, &prompts};
    bool active = false;
};

} // namespace

class TestInputHabits : public QObject
{
    Q_OBJECT

private slots:
    void doubleClick_data();
    void doubleClick();
    void returnKey_data();
    void returnKey();
    void returnKeyInADialog();
};

void TestInputHabits::doubleClick_data()
{
    QTest::addColumn<QList<int>>("sections");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("slidUp"); // under the pointer after the first click
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("colourRequests");
    // Product details above bundle sale: their Add buttons stand at the same
    // place in each.
    QTest::newRow("Add closing its panel") << QList<int>{6, 7} << "btn15"
                                           << "btn17" << 1 << 0;
    QTest::newRow("colour edit") << QList<int>{2} << "edt2"
                                 << "edt2" << 0 << 1;
}

void TestInputHabits::doubleClick()
{
    QFETCH(QList<int>, sections);
    QFETCH(QString, target);
    QFETCH(QString, slidUp);
    QFETCH(int, items);
    QFETCH(int, colourRequests);
    Fixture f(sections);
    QVERIFY(f.active);
    auto *control = f.window.findChild<QWidget *>(target);
    QWindow *window = f.window.windowHandle();
    const QPoint global = control->mapToGlobal(control->rect().center());

    // Two clicks as fast as a double click, the window laying itself out
    // between them as it does when a person clicks.
    const int start = QTest::lastMouseTimestamp + 1000;
    QTest::lastMouseTimestamp = start + 2000;
    int ms = 0;
    for (QEvent::Type type :
         {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons state = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        qt_handleMouseEvent(window, window->mapFromGlobal(global), global, state, Qt::LeftButton, type, {}, start + ms);
        ms += 50;
        QTest::qWait(20);
        if (ms == 100)
            QCOMPARE(QApplication::widgetAt(global)->objectName(), slidUp);
    }
    QCOMPARE(f.ws.items().count(), items);
    QCOMPARE(f.prompts.colourRequests, colourRequests);
    QCOMPARE(f.prompts.notices, QStringList());
}

void TestInputHabits::returnKey_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("clicks");
    const int none = Qt::NoModifier;
    QTest::newRow("function button, Return") << "rzpnllei3" << int(Qt::Key_Return) << none << true;
    QTest::newRow("function button, Enter") << "rzpnllei3" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
    QTest::newRow("list button") << "btn5" << int(Qt::Key_Return) << none << true;
    QTest::newRow("panel's Add") << "btn13" << int(Qt::Key_Return) << none << true;
    QTest::newRow("with Ctrl") << "btn13" << int(Qt::Key_Return) << int(Qt::ControlModifier) << false;
    QTest::newRow("height field") << "edt6" << int(Qt::Key_Return) << none << false;
    QTest::newRow("style item") << "rzrdgrp05" << int(Qt::Key_Return) << none << false;
}

void TestInputHabits::returnKey()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, clicks);
    Fixture f({1, 5});
    QVERIFY(f.active);
    QWidget *focused = f.window.findChild<QWidget *>(focus);
    if (auto *group = qobject_cast<StyleGroup *>(focused))
        focused = group->item(1);
    focused->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), focused);

    QStringList clicked;
    for (QAbstractButton *button : f.window.findChildren<QAbstractButton *>())
        connect(button, &QAbstractButton::clicked, this, [&clicked, button] { clicked.append(button->objectName()); });
    QTest::keyClick(focused, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicked, clicks ? QStringList{focus} : QStringList());
}

void TestInputHabits::returnKeyInADialog()
{
    // The save dialog with the focus on its "parent folder" button: Enter
    // saves, as the dialog's default button does, and stays in the folder.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); // Qt's own, on every desktop
    Fixture f({});
    QVERIFY(f.active);
    UserPrompts prompts(&f.window);
    const QString suggested = f.path(QStringLiteral("page.zlayout"));
    QString focused; // the focused control's name when Enter went
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (!focused.isEmpty()) { // Enter left the dialog open
            dialog->reject();
            return;
        }
        auto *up = dialog->findChild<QToolButton *>(QStringLiteral("toParentButton"));
        up->setFocus(Qt::TabFocusReason);
        focused = QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    answer.start(100);
    const QString saved = prompts.askSaveFile(QStringLiteral("保存布局"), suggested,
                                              QStringLiteral("布局文件 (*.zlayout)"), QStringLiteral("zlayout"));
    QCOMPARE(focused, QStringLiteral("toParentButton"));
    QCOMPARE(saved, suggested);
}

QTEST_MAIN(TestInputHabits)
#include "test_input_habits.moc"
