// Where the window goes on screens larger and smaller than it, and where
// the dialogs that drive the preview go beside the window's web view.
#include "WindowFit.h"

#include <QtTest>

class TestWindowFit : public QObject
{
    Q_OBJECT

private slots:
    void fitWindow_data();
    void fitWindow();
    void fitDialog_data();
    void fitDialog();
};

void TestWindowFit::fitWindow_data()
{
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("client");
    const QMargins title(4, 30, 4, 4);
    QTest::newRow("fits: centred, unchanged") << title << QRect(0, 0, 1920, 1080) << QRect(287, 196, 1345, 714);
    QTest::newRow("fits exactly") << QMargins() << QRect(0, 0, 1345, 714) << QRect(0, 0, 1345, 714);
    QTest::newRow("too narrow") << QMargins() << QRect(0, 0, 1024, 768) << QRect(0, 27, 1024, 714);
    QTest::newRow("too low") << title << QRect(0, 0, 1600, 700) << QRect(127, 30, 1345, 666);
    QTest::newRow("both, beside a panel") << title << QRect(48, 24, 912, 576) << QRect(52, 54, 904, 542);
    // A frame thicker on the left (a window system's resize handle).
    const QMargins lopsided(10, 30, 2, 4);
    QTest::newRow("lopsided frame, centred") << lopsided << QRect(0, 0, 1920, 1080) << QRect(291, 196, 1345, 714);
    QTest::newRow("lopsided frame, too narrow") << lopsided << QRect(0, 0, 1024, 768) << QRect(10, 40, 1012, 714);
}

void TestWindowFit::fitWindow()
{
    QFETCH(QMargins, frame);
    QFETCH(QRect, available);
    QFETCH(QRect, client);
    QCOMPARE(::fitWindow(QSize(1345, 714), frame, available), client);
}

void TestWindowFit::fitDialog_data()
{
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("view");
    QTest::addColumn<QRect>("client");
    const QMargins title(4, 30, 4, 4);
    const QRect screen(0, 0, 1920, 1080);
    QTest::newRow("below the band, centred on the view")
        << title << screen << QRect(500, 200, 860, 700) << QRect(629, 530, 600, 400);
    QTest::newRow("too low below: beside, on the wider side")
        << title << screen << QRect(1100, 500, 700, 500) << QRect(496, 462, 600, 400);
    QTest::newRow("no side free: above") << title << screen << QRect(0, 700, 1920, 380) << QRect(659, 296, 600, 400);
    QTest::newRow("small screen: below, lower, rather than narrow beside")
        << QMargins() << QRect(0, 0, 1024, 576) << QRect(223, 0, 529, 576) << QRect(187, 300, 600, 276);
}

void TestWindowFit::fitDialog()
{
    QFETCH(QMargins, frame);
    QFETCH(QRect, available);
    QFETCH(QRect, view);
    QFETCH(QRect, client);
    QCOMPARE(::fitDialog(QSize(600, 400), QSize(300, 150), frame, available, view), client);
}

QTEST_APPLESS_MAIN(TestWindowFit)
#include "test_window_fit.moc"
