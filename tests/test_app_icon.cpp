#include "AppIcon.h"

#include <QWindow>
#include <QtTest>

// The window's icon comes from the executable's own resources: every size
// the desktop is given must be there too, or the title bar and the task
// switcher scale a different picture than the menu shows.
class TestAppIcon : public QObject
{
    Q_OBJECT

private slots:
    void carriesEverySize_data()
    {
        QTest::addColumn<int>("size");
        for (const QString &size : QStringLiteral(ZANFOR_ICON_SIZES).split(u','))
            QTest::addRow("%spx", qPrintable(size)) << size.toInt();
    }

    void carriesEverySize()
    {
        QFETCH(int, size);
        const QIcon icon = applicationIcon();
        QVERIFY(!icon.isNull());
        QVERIFY2(icon.availableSizes().contains(QSize(size, size)), "size missing from the embedded icon");

        // The drawn pixels, not a scaled neighbour: identical to the PNG a
        // desktop installs for that size.
        const QImage shipped(QStringLiteral(ZANFOR_ICON_DIR "/%1x%1/apps/zanfor-layout.png").arg(size));
        QVERIFY(!shipped.isNull());
        QCOMPARE(icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 shipped.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }

    // The icon follows the window's first appearance, whole; a window kept
    // minimised from the start, never exposed, gets it all the same.
    void reachesTheWindowOnceShown_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::newRow("shown") << true;
        QTest::newRow("never exposed") << false;
    }

    void reachesTheWindowOnceShown()
    {
        QFETCH(bool, shown);
        QWindow window;
        window.resize(200, 100);
        setIconOnceShown(&window);
        if (shown) {
            // Right after the first expose, not through the fallback.
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCoreApplication::processEvents();
            QVERIFY(!window.icon().isNull());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!window.icon().isNull(), 3000);
        }
        QCOMPARE(window.icon().availableSizes(), applicationIcon().availableSizes());
        QGuiApplication::setWindowIcon({});
    }
};

QTEST_MAIN(TestAppIcon)
#include "test_app_icon.moc"
