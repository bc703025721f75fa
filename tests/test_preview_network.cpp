// Previews and the network: the web engine is pointed at a proxy on the
// loopback address, which answers every request itself. The engine's flags
// hold for the whole process, so these cases have an executable of their own.
#include "ItemListPanel.h"
#include "LoopbackProxy.h"
#include "MainWindow.h"
#include "PreviewView.h"
#include "RecordingPrompts.h"
#include "SampleAddresses.h"
#include "SectionPanel.h"
#include "SectionTable.h"
#include "StyleGroup.h"
#include "TestSupport.h"
#include "UserSettings.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>

namespace {

QByteArray png(const QColor &colour)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

int countColour(const QImage &image, QRgb colour)
{
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        n += int(std::count(line, line + img.width(), colour));
    }
    return n;
}

// The smallest rectangle holding every pixel that is not white.
QRect nonWhiteBounds(const QImage &image)
{
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    QRect bounds;
    for (int y = 0; y < img.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (line[x] != qRgb(255, 255, 255))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// An https address reaches a proxy as "CONNECT host:443", so the proxy
// records the host alone.
bool isSampleRequest(const QString &address)
{
    return address.contains(QUrl(QString::fromUtf16(SampleAddresses::SamplePic01)).host());
}

// A width of the page shown in CSS pixels, read in the program's own world
// once laid out: `innerWidth` the view's, `document.documentElement.clientWidth`
// what the page lays out in.
int pageWidth(QWebEnginePage *page, const QString &which)
{
    auto width = std::make_shared<int>(-1);
    page->runJavaScript(QStringLiteral("document.documentElement.scrollHeight, ") + which,
                        QWebEngineScript::ApplicationWorld, [width](const QVariant &v) { *width = v.toInt(); });
    return QTest::qWaitFor([&] { return *width >= 0; }, 10000) ? *width : -1;
}

// A shown window over fresh scratch files, its start prompt loaded.
struct Started : TemporaryWorkspace
{
    Started()
        : window(ws, &prompts)
        , loads(window.preview(), &PreviewView::loadFinished)
    {
        window.show();
    }
    bool nextLoad()
    {
        const qsizetype before = loads.size();
        return QTest::qWaitFor([&] { return loads.size() > before; }, 20000) && loads.constLast().at(0).toBool();
    }

    RecordingPrompts prompts;
    MainWindow window;
    QSignalSpy loads;
};

} // namespace

class TestPreviewNetwork : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_proxy.requested.clear(); }
    void remotePicturesLoad();
    void stylePreviewsFetchNoSample();
    void samplePictureDrawnAtItsSize_data();
    void samplePictureDrawnAtItsSize();
    void phoneLook();
    void laidOutPageChecked();

private:
    LoopbackProxy m_proxy;
};

void TestPreviewNetwork::initTestCase()
{
    QVERIFY(m_proxy.isListening());
    QStandardPaths::setTestModeEnabled(true);
    userSettings().remove(QStringLiteral("phonePreview"));
    // Read when the engine starts, at the first view.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", m_proxy.chromiumFlag());
}

void TestPreviewNetwork::remotePicturesLoad()
{
    const QString address = QStringLiteral("http://picture.test/shop/blue.png");
    m_proxy.serve(address, "image/png", png(QColor(0, 0, 255)));

    QTemporaryDir tmp;
    Workspace ws(std::make_unique<ScratchFiles>(tmp.path(), std::make_unique<SaveFileWriter>()));
    MainWindow window(ws);
    window.show();
    QSignalSpy loads(window.preview(), &PreviewView::loadFinished);
    QVERIFY(loads.wait(20000));

    // Beside a sample picture, which never goes out: only the other one does.
    ws.items().append(QStringLiteral("<img width=\"200\" height=\"200\" src=\"%1\"><img src=\"%2\">")
                          .arg(address, QString::fromUtf16(SampleAddresses::SamplePic02)),
                      QStringLiteral("  自定义-picture"));
    window.items()->pagePreview();
    QVERIFY(loads.wait(20000));
    QTRY_VERIFY_WITH_TIMEOUT(countColour(window.preview()->view()->grab().toImage(), qRgb(0, 0, 255)) > 30000, 10000);
    QCOMPARE(m_proxy.requested, QStringList{address});
}

void TestPreviewNetwork::stylePreviewsFetchNoSample()
{
    Started s;
    QVERIFY(s.nextLoad());
    int previews = 0;
    for (const SectionInfo &info : sectionTable()) {
        s.window.openSection(info.number);
        StyleGroup *styles = s.window.panel(info.number)->styleGroup();
        for (int i = 0; styles && info.preview != PreviewKind::None && i < styles->count(); ++i) {
            styles->item(i)->click();
            QVERIFY2(s.nextLoad(), qPrintable(info.buttonCaption));
            ++previews;
        }
    }
    QVERIFY(previews > 20);
    const QStringList &sent = m_proxy.requested;
    QVERIFY2(std::none_of(sent.cbegin(), sent.cend(), isSampleRequest), qPrintable(sent.join(u' ')));
}

void TestPreviewNetwork::samplePictureDrawnAtItsSize_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QSize>("size");
    QTest::newRow("wide band") << QString::fromUtf16(SampleAddresses::SamplePic13) << QSize(750, 100);
    QTest::newRow("square") << QString::fromUtf16(SampleAddresses::SamplePic07) << QSize(350, 350);
    QTest::newRow("tall") << QString::fromUtf16(SampleAddresses::SamplePic01) << QSize(190, 300);
}

void TestPreviewNetwork::samplePictureDrawnAtItsSize()
{
    QFETCH(QString, address);
    QFETCH(QSize, size);
    Started s;
    QVERIFY(s.nextLoad());
    s.ws.items().append(QStringLiteral("<img src=\"%1\">").arg(address), QStringLiteral("  自定义-sample"));
    s.window.items()->pagePreview();
    QVERIFY(s.nextLoad());
    QTRY_COMPARE_WITH_TIMEOUT(nonWhiteBounds(s.window.preview()->view()->grab().toImage()).size(), size, 10000);
}

// 手机 frames the view as a phone and scales the page from the shop type's
// width, at once and without building the page again; the scratch files
// and the memo are the same bytes in both looks, and the choice is kept.
void TestPreviewNetwork::phoneLook()
{
    Started s;
    QVERIFY(s.nextLoad());
    s.window.chooseShopType(1); // 790
    // Higher than the view: it scrolls.
    s.ws.items().append(QStringLiteral("<p style=\"height:3000px\">甲乙</p>"), QStringLiteral("  自定义-a"));
    s.window.items()->pagePreview();
    QVERIFY(s.nextLoad());
    const QByteArray page = s.preview(), list = readBytes(s.path(QStringLiteral("files.txt")));
    const QString memo = s.ws.output().memo();

    PreviewView *view = s.window.preview();
    QWebEngineView *engine = view->view();
    auto *phone = s.window.findChild<QPushButton *>(QStringLiteral("phoneButton"));
    QVERIFY(phone && phone->isCheckable() && !phone->isChecked());
    QCOMPARE(phone->text(), QStringLiteral("手机"));
    QCOMPARE(engine->zoomFactor(), 1.0);
    QCOMPARE(engine->size(), view->size());

    const qsizetype loads = s.loads.size();
    QTest::mouseClick(phone, Qt::LeftButton);
    // The engine's window is sized through the window system, and the zoom
    // goes with the size.
    QTRY_COMPARE(engine->size(), QSize(375, 667));
    QTRY_COMPARE(engine->zoomFactor(), 375.0 / 790);
    QTRY_COMPARE(QRect(engine->mapToGlobal(QPoint()), engine->size()).center(),
                 QRect(view->mapToGlobal(QPoint()), view->size()).center());
    QCOMPARE(view->grab().toImage().pixel(2, 2), qRgb(0x80, 0x80, 0x80));
    // No scroll bar takes width from the page.
    QTRY_COMPARE_WITH_TIMEOUT(pageWidth(engine->page(), QStringLiteral("document.documentElement.clientWidth")), 790,
                              10000);
    QCOMPARE(s.loads.size(), loads);

    s.window.items()->pagePreview();
    QVERIFY(s.nextLoad());
    QCOMPARE(s.preview(), page);
    QCOMPARE(readBytes(s.path(QStringLiteral("files.txt"))), list);
    QCOMPARE(s.ws.output().memo(), memo);
    QCOMPARE(engine->zoomFactor(), 375.0 / 790);
    {
        TemporaryWorkspace other;
        MainWindow next(other.ws, &s.prompts);
        QVERIFY(next.findChild<QPushButton *>(QStringLiteral("phoneButton"))->isChecked());
    }

    QTest::mouseClick(phone, Qt::LeftButton);
    QTRY_COMPARE(engine->size(), view->size());
    QTRY_COMPARE(engine->zoomFactor(), 1.0);
    QTRY_COMPARE_WITH_TIMEOUT(pageWidth(engine->page(), QStringLiteral("innerWidth")), view->width(), 10000);
    QCOMPARE(userSettings().value(QStringLiteral("phonePreview")).toBool(), false);
}

// The check takes what the engine laid out of a page preview: the smallest
// visible text as a phone shows it and the pictures that did not load,
// read while the page's own scripts stay off.
void TestPreviewNetwork::laidOutPageChecked()
{
    const QString shown = QStringLiteral("http://picture.test/shown.png");
    const QString missing = QStringLiteral("http://picture.test/missing.png");
    m_proxy.serve(shown, "image/png", png(QColor(0, 0, 255)));
    Started s;
    QVERIFY(s.nextLoad());
    auto *check = s.window.findChild<QLabel *>(QStringLiteral("pageCheck"));
    QVERIFY(check && check->isVisible());
    QCOMPARE(check->textFormat(), Qt::PlainText);
    QCOMPARE(check->text(), QStringLiteral("示例图片 0\n# 链接 0\nhttp 图片 0\n载入失败 0\n手机最小字号"));

    s.ws.items().append(QStringLiteral("<p style=\"font-size:30px\">big</p><p style=\"font-size:12px\">small</p>"
                                       "<p style=\"font-size:4px; display:none\">hidden</p>"
                                       "<p style=\"font-size:5px; visibility:hidden\">hidden</p>"
                                       "<p style=\"font-size:3px\"> </p>"),
                        QStringLiteral("  自定义-text"));
    s.ws.items().append(QStringLiteral("<img src=\"%1\"><img src=\"%2\">").arg(shown, missing),
                        QStringLiteral("  自定义-pictures"));
    s.window.items()->pagePreview();
    QVERIFY(s.nextLoad());
    QTRY_COMPARE_WITH_TIMEOUT(
        check->text(), QStringLiteral("示例图片 0\n# 链接 0\nhttp 图片 2\n载入失败 1\n手机最小字号 6 px"), 10000);
    QVERIFY(!s.window.preview()->view()->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled));
}

QTEST_MAIN(TestPreviewNetwork)
#include "test_preview_network.moc"
