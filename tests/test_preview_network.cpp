// Previews and the network: the web engine is pointed at a proxy on the
// loopback address, which answers every request itself. The engine's flags
// hold for the whole process, so these cases have an executable of their own.
#include "LoopbackProxy.h"
#include "MainWindow.h"
#include "PreviewView.h"
#include "Workspace.h"

#include <QBuffer>
#include <QImage>
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

} // namespace

class TestPreviewNetwork : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void remotePicturesLoad();

private:
    LoopbackProxy m_proxy;
};

void TestPreviewNetwork::initTestCase()
{
    QVERIFY(m_proxy.isListening());
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

    ws.items().append(QStringLiteral("<img width=\"200\" height=\"200\" src=\"%1\">").arg(address),
                      QStringLiteral("  自定义-picture"));
    window.pagePreview();
    QVERIFY(loads.wait(20000));
    QTRY_VERIFY_WITH_TIMEOUT(countColour(window.preview()->grab().toImage(), qRgb(0, 0, 255)) > 30000, 10000);
    QCOMPARE(m_proxy.requested.count(address), 1);
}

QTEST_MAIN(TestPreviewNetwork)
#include "test_preview_network.moc"
