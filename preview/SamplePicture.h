#pragma once

#include <QByteArray>
#include <QSize>
#include <QUrl>

// The pictures previews show for the sample picture addresses, drawn by the
// program itself so a preview is complete offline and tells no outside
// service what the seller is doing. Only the exact sample addresses count:
// any other address is fetched as it is.
namespace SamplePicture {

// The size a sample address stands for, as the address itself carries it
// (".../750x100.png" is 750 x 100); an invalid size for any other address.
QSize sizeFor(const QUrl &address);

// A PNG of `size`: light grey, a thin darker border, and the size written in
// its middle ("750 × 100"). Drawn once per size, then served from memory.
// Empty for an invalid size.
QByteArray png(QSize size);

} // namespace SamplePicture
