#pragma once

#include "Result.h"

#include <QByteArray>
#include <QString>

// Everything that differs between Windows and the other systems for the
// scratch files and the seller's own files lives behind these functions.
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

// File names. Elsewhere than on Windows a name is bytes that need not be
// UTF-8, and Qt's file dialogs and its command line show such bytes as
// U+FFFD, a path that names no file. Paths found by findFile() carry each
// such byte as the lone surrogate U+DC80 to U+DCFF instead, so they name the
// file exactly; the functions below take paths of both kinds.

// `path` as the system knows it: the file with exactly this name when
// there is one, else the one whose name the desktop shows this way (its
// bytes that are not UTF-8 shown as U+FFFD). A missing file gives `path`
// back; several files that all look like it, a failure.
Result<QString> findFile(const QString &path);

// The path as messages and captions show it: native separators, and U+FFFD
// for each byte of the name that is not text.
QString displayPath(const QString &path);

struct FileStatus
{
    enum Kind { Missing, Folder, Regular, Other, Unknown };
    Kind kind = Missing;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds since the epoch, as precise as the system keeps it
    QString reason;      // the system's, for Unknown (a loop of links, no permission)
};

// What is at `path`, links followed.
FileStatus fileStatus(const QString &path);

// At most `maxBytes` of the regular file at `path`, and in `status` the
// file as it was read. A failure carries the system's reason.
Result<QByteArray> readFile(const QString &path, qint64 maxBytes, FileStatus *status);

// Puts `bytes` in the place of the file at `path` in one step: a temporary
// file beside it, flushed to disk, then renamed over it (or over the file a
// link at `path` points to). A replaced file's permissions are kept, a new
// one gets the usual ones. Returns the new file's modification time; a
// failure carries the system's reason and leaves no temporary file.
Result<qint64> writeFileWhole(const QString &path, const QByteArray &bytes);

} // namespace ScratchPlatform
