// The window comes before the web engine: what is clicked while the engine
// starts is kept, and shown once the engine is there.
#include "FunctionButton.h"
#include "MainWindow.h"
#include "PreviewView.h"
#include "RecordingPrompts.h"
#include "SectionPanel.h"
#include "StyleGroup.h"
#include "TestSupport.h"

#include <QRadioButton>
#include <QWebEngineView>
#include <QtTest>

class TestWindowFirst : public QObject
{
    Q_OBJECT
private slots:
    void clicksBeforeTheEngine_data();
    void clicksBeforeTheEngine();
};

void TestWindowFirst::clicksBeforeTheEngine_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("style"); // -1: only the function button
    QTest::newRow("function button") << 3 << -1;
    QTest::newRow("style") << 1 << 2;
    QTest::newRow("coupon style") << 9 << 0;
}

void TestWindowFirst::clicksBeforeTheEngine()
{
    QFETCH(int, section);
    QFETCH(int, style);
    TemporaryWorkspace t;
    RecordingPrompts prompts;
    MainWindow window(t.ws, &prompts);
    QSignalSpy loads(window.preview(), &PreviewView::loadFinished);
    window.show();

    QTest::mouseClick(window.functionButton(section), Qt::LeftButton);
    if (style >= 0) {
        QRadioButton *item = window.panel(section)->styleGroup()->item(style);
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
    }
    QVERIFY(!window.preview()->view()); // the clicks came first
    QVERIFY(window.panel(section)->isVisible());

    QVERIFY(QTest::qWaitFor([&] { return !loads.isEmpty(); }, 60000));
    QCOMPARE(loads.size(), 1); // the last request alone, not the prompt first
    QVERIFY(loads.first().first().toBool());
    const QUrl expected = style >= 0 ? QUrl::fromLocalFile(t.path(QStringLiteral("files.html"))) : QUrl();
    QCOMPARE(window.preview()->lastFile(), expected);
    QCOMPARE(window.preview()->view()->url().isLocalFile(), style >= 0);
}

QTEST_MAIN(TestWindowFirst)
#include "test_window_first.moc"
