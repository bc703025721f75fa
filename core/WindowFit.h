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

// How much of the web view's top, over its full width, a dialog that drives
// the preview leaves in sight: the entry as edited shows there.
inline constexpr int PreviewBandHeight = 300;

// Where a dialog that drives the preview goes: its frame inside the free
// area `available` and clear of the top PreviewBandHeight pixels of the web
// view `view` (both in screen coordinates). Below that band where the
// dialog fits at its `wanted` client size, else beside it (the wider side
// first), else above it, each time as near the band's centre as the room
// allows. Where it fits nowhere whole, the room that keeps the most of its
// width, then of its height, and holds its `minimum`, takes it shrunk: its
// fields scroll rather than cover the band. Returns the client's rectangle;
// centred as fitWindow places it when no room is clear of the band at all.
QRect fitDialog(QSize wanted, QSize minimum, QMargins frame, const QRect &available, const QRect &view);
