// The window on the screen it finds. Registered to run at 1920 x 1080 (it
// fits: unchanged and centred), and under Xvfb screens of its own where it
// does not: 1024 x 768, 1024 x 576, 1920 x 1200 at scale factor 2. Its frame
// stays inside the screen's free area and every button can be scrolled to;
// the dialogs that drive the preview leave its top in sight.
#include "ItemListPanel.h"
#include "MainWindow.h"
#include "PreviewView.h"
#include "TestSupport.h"
#include "UserSettings.h"

#include <QAbstractButton>
#include <QListView>
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
    void contentDialogsLeaveThePreviewInSight_data();
    void contentDialogsLeaveThePreviewInSight();

private:
    TemporaryWorkspace m_scratch;
    MainWindow m_window{m_scratch.ws};
};

void TestSmallScreen::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    userSettings().remove(QStringLiteral("dialogSizes"));
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
    for (const char *name : {"btnup", "btndown", "btndel", "btnclear", "btn5", "btntiqu", "phoneButton"})
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

// Opened over an entry with more fields than a small screen has room for,
// each dialog's frame stays on the screen and off the web view's top 300
// pixels, over the view's full width.
void TestSmallScreen::contentDialogsLeaveThePreviewInSight_data()
{
    QTest::addColumn<bool>("editor");
    QTest::newRow("item editor") << true;
    QTest::newRow("图片链接") << false;
}

void TestSmallScreen::contentDialogsLeaveThePreviewInSight()
{
    QFETCH(bool, editor);
    if (m_scratch.ws.items().count() == 0) {
        QString snippet;
        for (int i = 0; i < 15; ++i)
            snippet += QStringLiteral("<p><a href=\"https://shop.cn/%1\">text %1</a></p>").arg(i);
        m_scratch.ws.items().append(snippet, QStringLiteral("  item"));
        m_window.itemList()->setCurrentIndex(m_window.itemList()->model()->index(0, 0));
    }
    QRect frame;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            frame = dialog->frameGeometry();
            dialog->close();
        }
    });
    poll.start(10);
    editor ? m_window.items()->editItem() : m_window.items()->editPageAddresses();

    const PreviewView *view = m_window.preview();
    const QRect band(view->mapToGlobal(QPoint(0, 0)), QSize(view->width(), 300));
    QVERIFY(frame.isValid());
    QCOMPARE(frame.intersected(band), QRect());
    QCOMPARE(frame.intersected(m_window.screen()->availableGeometry()), frame);
}

QTEST_MAIN(TestSmallScreen)
#include "test_small_screen.moc"
