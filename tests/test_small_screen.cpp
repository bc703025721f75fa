// The window on the screen it finds. Registered to run at 1920 x 1080 (it
// fits: unchanged and centred), and under Xvfb screens of its own where it
// does not: 1024 x 768, 1024 x 576, 1920 x 1200 at scale factor 2. Its frame
// stays inside the screen's free area and every button can be scrolled to.
#include "MainWindow.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QScreen>
#include <QScrollArea>
#include <QtTest>

class TestSmallScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void frameInsideTheScreen();
    void everyButtonCanBeScrolledTo_data();
    void everyButtonCanBeScrolledTo();

private:
    TemporaryWorkspace m_scratch;
    MainWindow m_window{m_scratch.ws};
};

void TestSmallScreen::initTestCase()
{
    m_window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_window));
    // Three open panels push the list's buttons below the work area's edge.
    for (int section : {1, 2, 3})
        m_window.openSection(section);
    QTest::qWait(50);
}

void TestSmallScreen::frameInsideTheScreen()
{
    const QRect available = m_window.screen()->availableGeometry();
    const QRect frame = m_window.frameGeometry();
    QVERIFY(available.contains(frame));
    const QSize designed(MainWindow::ClientWidth, MainWindow::ClientHeight);
    const QSize outer = designed + frame.size() - m_window.size();
    if (outer.width() <= available.width() && outer.height() <= available.height()) {
        QCOMPARE(m_window.size(), designed);
        QVERIFY((frame.center() - available.center()).manhattanLength() <= 2);
    }
}

void TestSmallScreen::everyButtonCanBeScrolledTo_data()
{
    QTest::addColumn<QString>("name");
    for (int n = 1; n <= 11; ++n)
        QTest::newRow(qPrintable(QStringLiteral("rzpnllei%1").arg(n))) << QStringLiteral("rzpnllei%1").arg(n);
    for (const char *name : {"btnup", "btndown", "btndel", "btnclear", "btn5", "btntiqu"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSmallScreen::everyButtonCanBeScrolledTo()
{
    QFETCH(QString, name);
    auto *button = m_window.findChild<QAbstractButton *>(name);
    for (QWidget *w = button->parentWidget(); w; w = w->parentWidget()) {
        if (auto *area = qobject_cast<QScrollArea *>(w))
            area->ensureWidgetVisible(button, 0, 0);
    }
    QCoreApplication::processEvents();
    QVERIFY(button->isVisible());
    QCOMPARE(button->visibleRegion(), QRegion(button->rect()));
}

QTEST_MAIN(TestSmallScreen)
#include "test_small_screen.moc"
