#include "SamplePicture.h"

#include "SampleAddresses.h"

#include <QBuffer>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

namespace SamplePicture {

namespace {

const QColor Fill(0xee, 0xee, 0xee);
const QColor Border(0xbb, 0xbb, 0xbb);
const QColor Text(0x88, 0x88, 0x88);

// The sample pictures are a few hundred pixels a side; anything beyond this
// is not one of them and would only cost memory.
constexpr int LargestSide = 4000;

QImage draw(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Fill);
    QPainter p(&image);
    p.setPen(Border);
    p.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1));

    const QString label = QString::number(size.width()) + QStringLiteral(" × ") + QString::number(size.height());
    QFont font;
    // Large enough to read at a glance, small enough to fit a 100-pixel band.
    font.setPixelSize(qBound(10, qMin(size.width() / 8, size.height() / 3), 40));
    p.setFont(font);
    p.setPen(Text);
    p.drawText(image.rect(), Qt::AlignCenter, label);
    return image;
}

} // namespace

QSize sizeFor(const QUrl &address)
{
    const QString text = address.toString(QUrl::FullyEncoded);
    bool isSample = false;
    for (const char16_t *sample : SampleAddresses::SamplePictures)
        isSample = isSample || text == QStringView(sample);
    if (!isSample)
        return {};
    static const QRegularExpression widthByHeight(QStringLiteral("/(\\d+)x(\\d+)\\.png$"));
    const QRegularExpressionMatch m = widthByHeight.match(address.path());
    if (!m.hasMatch())
        return {};
    const QSize size(m.captured(1).toInt(), m.captured(2).toInt());
    return size.isEmpty() || size.width() > LargestSide || size.height() > LargestSide ? QSize() : size;
}

QByteArray png(QSize size)
{
    if (size.isEmpty() || size.width() > LargestSide || size.height() > LargestSide)
        return {};
    static QHash<quint64, QByteArray> drawn;
    const quint64 key = quint64(size.width()) << 32 | quint64(size.height());
    auto found = drawn.constFind(key);
    if (found != drawn.cend())
        return *found;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    draw(size).save(&buffer, "PNG");
    drawn.insert(key, bytes);
    return bytes;
}

} // namespace SamplePicture
