// Where the window goes on screens larger and smaller than it.
#include "WindowFit.h"

#include <QtTest>

class TestWindowFit : public QObject
{
    Q_OBJECT

private slots:
    void fitWindow_data();
    void fitWindow();
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

QTEST_APPLESS_MAIN(TestWindowFit)
#include "test_window_fit.moc"
