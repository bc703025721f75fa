// The window on the screen it finds: registered to run at 1920 x 1080 (it
// fits: unchanged and centred), at 1024 x 768 and at 1920 x 1200 with scale
// factor 2 (960 x 600: it does not). Wherever it runs, its frame lies inside
// the screen's free area and every button can be scrolled to.
#include "FunctionButton.h"
#include "MainWindow.h"
#include "UserPrompts.h"
#include "Workspace.h"

#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

class SilentPrompts : public UserPrompts
{
public:
    void notice(const QString &) override { }
};

} // namespace

class TestSmallScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void frameInsideTheScreen();
    void everyButtonCanBeScrolledTo_data();
    void everyButtonCanBeScrolledTo();

private:
    QTemporaryDir m_scratch;
    std::unique_ptr<Workspace> m_workspace;
    SilentPrompts m_prompts;
    std::unique_ptr<MainWindow> m_window;
};

void TestSmallScreen::initTestCase()
{
    m_workspace = std::make_unique<Workspace>(
        std::make_unique<ScratchFiles>(m_scratch.path(), std::make_unique<SaveFileWriter>()));
    m_window = std::make_unique<MainWindow>(*m_workspace, &m_prompts);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // Three open panels push the list's buttons below the work area's edge.
    for (int section : {1, 2, 3})
        m_window->openSection(section);
    QTest::qWait(50);
}

void TestSmallScreen::cleanupTestCase()
{
    m_window.reset();
}

void TestSmallScreen::frameInsideTheScreen()
{
    const QRect available = m_window->screen()->availableGeometry();
    const QRect frame = m_window->frameGeometry();
    QVERIFY2(available.contains(frame),
             qPrintable(QStringLiteral("%1 %2 %3 %4 in %5 x %6")
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(frame.width())
                            .arg(frame.height())
                            .arg(available.width())
                            .arg(available.height())));
    const QSize designed(MainWindow::ClientWidth, MainWindow::ClientHeight);
    const QSize outer = designed + (frame.size() - m_window->size());
    if (outer.width() <= available.width() && outer.height() <= available.height()) {
        // Where it fits, nothing changes.
        QCOMPARE(m_window->size(), designed);
        QVERIFY(qAbs(frame.center().x() - available.center().x()) <= 1);
        QVERIFY(qAbs(frame.center().y() - available.center().y()) <= 1);
    }
}

void TestSmallScreen::everyButtonCanBeScrolledTo_data()
{
    QTest::addColumn<QString>("name");
    for (int n = 1; n <= 11; ++n)
        QTest::newRow(qPrintable(QStringLiteral("function button %1").arg(n))) << QStringLiteral("rzpnllei%1").arg(n);
    for (const char *name : {"btnup", "btndown", "btndel", "btnclear", "btn5", "btntiqu"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSmallScreen::everyButtonCanBeScrolledTo()
{
    QFETCH(QString, name);
    auto *button = m_window->findChild<QAbstractButton *>(name);
    QVERIFY(button);
    QScrollArea *area = nullptr;
    for (QWidget *w = button->parentWidget(); w && !area; w = w->parentWidget())
        area = qobject_cast<QScrollArea *>(w);
    if (area)
        area->ensureWidgetVisible(button, 0, 0);
    QCoreApplication::processEvents();
    QVERIFY(button->isVisible());
    QCOMPARE(button->visibleRegion(), QRegion(button->rect()));
}

QTEST_MAIN(TestSmallScreen)
#include "test_small_screen.moc"
