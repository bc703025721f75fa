#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

// Where a window designed with a client area of `designed` goes on a screen
// whose free area (without panels and docks) is `available`, the window
// system drawing `frame` around the client: the frame centred in the free
// area, the client at its designed size where that fits. Where it does not,
// the client shrinks, width and height each on its own, until the frame
// fits. Returns the client's rectangle in screen coordinates.
QRect fitWindow(QSize designed, QMargins frame, const QRect &available);
