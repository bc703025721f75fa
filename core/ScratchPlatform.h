#pragma once

#include "Result.h"

#include <QByteArray>
#include <QString>

// Everything that differs between Windows and the other systems for the
// scratch files lives behind these functions.
namespace ScratchPlatform {

// The folder that holds files.txt and files.html for the first running
// copy: the root of drive C on Windows, $XDG_CACHE_HOME/zanfor-layout
// (default ~/.cache/zanfor-layout) elsewhere. Copy n (2, 3, ...) running at
// the same time gets a numbered folder of its own: c:\zanfor-layout-n on
// Windows, the sibling zanfor-layout-n of the first folder elsewhere.
QString directory(int copy = 1);

// The system's 8-bit encoding: the ANSI code page on Windows, UTF-8 elsewhere.
QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);

// The name of that encoding as the web view's default text encoding wants
// it, so pages without a charset declaration render correctly.
QString encodingName();

// Puts the file `source` in the place of `target` in one step, replacing
// any file there: a reader sees the old file or the new one, whole. A
// failure carries the system's reason and changes nothing.
Result<> replaceFile(const QString &source, const QString &target);

} // namespace ScratchPlatform
