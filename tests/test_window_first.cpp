// The window comes before the web engine, whose module loads beside the
// window's start as in the program: what is clicked while the engine starts
// is kept, and shown once the engine is there.
#include "FunctionButton.h"
#include "LayoutActions.h"
#include "LayoutFile.h"
#include "MainWindow.h"
#include "PreviewView.h"
#include "RecordingPrompts.h"
#include "SectionPanel.h"
#include "StyleGroup.h"
#include "TestSupport.h"

#include <QApplication>
#include <QRadioButton>
#include <QWebEngineView>
#include <QtTest>

class TestWindowFirst : public QObject
{
    Q_OBJECT
private slots:
    void clicksBeforeTheEngine_data();
    void clicksBeforeTheEngine();
    void quitWithTheEngineShown_data();
    void quitWithTheEngineShown();
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

// Answers the close question as the test says.
class AnsweringPrompts : public RecordingPrompts
{
public:
    SaveAnswer askSaveChanges(const QString &) override { return answer; }
    SaveAnswer answer = SaveAnswer::Discard;
};

void TestWindowFirst::quitWithTheEngineShown_data()
{
    QTest::addColumn<bool>("discard");
    QTest::newRow("changes discarded: the program ends") << true;
    QTest::newRow("quit cancelled: everything stays") << false;
}

// The engine's window is embedded in the main window, where Qt cannot close
// it on its own: a quit must neither stop at it nor leave the preview
// empty when the seller keeps the window.
void TestWindowFirst::quitWithTheEngineShown()
{
    QFETCH(bool, discard);
    TemporaryWorkspace t;
    AnsweringPrompts prompts;
    prompts.answer = discard ? UserPrompts::SaveAnswer::Discard : UserPrompts::SaveAnswer::Cancel;
    MainWindow window(t.ws, &prompts);
    QSignalSpy loads(window.preview(), &PreviewView::loadFinished);
    window.show();
    QVERIFY(QTest::qWaitFor([&] { return !loads.isEmpty(); }, 60000));
    // A layout file with a change not saved: closing asks first.
    const QString file = t.path(QStringLiteral("open.zlayout"));
    QVERIFY(LayoutFile::save(file, t.ws.layout()));
    QVERIFY(window.layoutActions()->openFile(file));
    t.ws.items().append(QStringLiteral("<p>kept</p>"), QStringLiteral("  自定义-a"));
    QWidget *engineWindow = window.preview()->view()->window();
    QVERIFY(engineWindow->isVisible());

    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
    QCOMPARE(quit.isAccepted(), discard);
    QCOMPARE(window.isVisible(), !discard);
    QTRY_COMPARE(engineWindow->isVisible(), !discard);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    PreviewView::preloadEngine();
    TestWindowFirst test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_window_first.moc"
