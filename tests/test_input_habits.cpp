// Fast clicks and keyboard habits in the real window: a double click never
// reaches a control that slid under the pointer after its first click, and
// Enter or Return click the focused button and nothing else.
#include "MainWindow.h"
#include "SectionPanel.h"
#include "StyleGroup.h"
#include "TestSupport.h"
#include "UserPrompts.h"

#include <QAbstractButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

namespace {

class RecordingPrompts : public UserPrompts
{
public:
    void notice(const QString &text) override { notices.append(text); }
    std::optional<QColor> askColour(const QColor &) override
    {
        ++colourRequests;
        return std::nullopt;
    }
    QStringList notices;
    int colourRequests = 0;
};

} // namespace

class TestInputHabits : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void doubleClick_data();
    void doubleClick();
    void returnKey_data();
    void returnKey();

private:
    // Opens the sections and chooses the first style of each.
    void open(const QList<int> &sections);

    std::unique_ptr<TemporaryWorkspace> m_scratch;
    RecordingPrompts m_prompts;
    std::unique_ptr<MainWindow> m_window;
};

void TestInputHabits::init()
{
    m_scratch = std::make_unique<TemporaryWorkspace>();
    m_prompts = RecordingPrompts();
    m_window = std::make_unique<MainWindow>(m_scratch->ws, &m_prompts);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestInputHabits::cleanup()
{
    m_window.reset();
    m_scratch.reset();
}

void TestInputHabits::open(const QList<int> &sections)
{
    for (int section : sections) {
        m_window->openSection(section);
        if (m_window->panel(section)->styleGroup())
            m_window->panel(section)->clickStyle(0);
    }
    QTest::qWait(50);
}

void TestInputHabits::doubleClick_data()
{
    QTest::addColumn<QList<int>>("sections");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("under");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("colourRequests");
    // Product details above bundle sale: the two panels' Add buttons stand
    // at the same place in them.
    QTest::newRow("Add closing its panel") << QList<int>{6, 7} << "btn15"
                                           << "btn17" << 1 << 0;
    QTest::newRow("colour edit") << QList<int>{2} << "edt2"
                                 << "edt2" << 0 << 1;
}

void TestInputHabits::doubleClick()
{
    QFETCH(QList<int>, sections);
    QFETCH(QString, target);
    QFETCH(QString, under);
    QFETCH(int, items);
    QFETCH(int, colourRequests);
    open(sections);
    auto *control = m_window->findChild<QWidget *>(target);
    QWindow *window = m_window->windowHandle();
    const QPoint global = control->mapToGlobal(control->rect().center());
    const QPoint local = window->mapFromGlobal(global);

    // Two clicks as fast as a double click, the window free to lay itself
    // out between them, as it is when a person clicks.
    const int start = QTest::lastMouseTimestamp + 1000;
    const auto send = [&](QEvent::Type type, Qt::MouseButtons state, int ms) {
        qt_handleMouseEvent(window, local, global, state, Qt::LeftButton, type, {}, start + ms);
        QCoreApplication::processEvents();
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton, 0);
    send(QEvent::MouseButtonRelease, {}, 40);
    QTest::qWait(20);
    QCOMPARE(QApplication::widgetAt(global)->objectName(), under);
    send(QEvent::MouseButtonPress, Qt::LeftButton, 150);
    send(QEvent::MouseButtonRelease, {}, 190);
    QTest::lastMouseTimestamp = start + 2000;

    QCOMPARE(m_scratch->ws.items().count(), items);
    QCOMPARE(m_prompts.colourRequests, colourRequests);
    QCOMPARE(m_prompts.notices, QStringList());
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
    open({1, 5});
    QWidget *focused = m_window->findChild<QWidget *>(focus);
    if (auto *group = qobject_cast<StyleGroup *>(focused))
        focused = group->item(1);
    focused->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), focused);

    QList<std::pair<QAbstractButton *, std::shared_ptr<QSignalSpy>>> spies;
    for (QAbstractButton *button : m_window->findChildren<QAbstractButton *>())
        spies.append({button, std::make_shared<QSignalSpy>(button, &QAbstractButton::clicked)});
    QTest::keyClick(focused, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QStringList clicked;
    for (const auto &[button, spy] : spies) {
        if (!spy->isEmpty())
            clicked.append(button->objectName());
    }
    QCOMPARE(clicked, clicks ? QStringList{focus} : QStringList());
}

QTEST_MAIN(TestInputHabits)
#include "test_input_habits.moc"
