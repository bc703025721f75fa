#pragma once

#include "Result.h"
#include "ShopType.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A page as a layout file keeps it: the shop type (its page width follows
// from it) and the generated items, display names and snippets in two lists
// of equal length paired by position, as GeneratedItems holds them.
struct Layout
{
    int shopType = ShopType::None;
    QStringList names;
    QStringList snippets;

    QString pageWidth() const { return ShopType::pageWidth(shopType); }

    friend bool operator==(const Layout &a, const Layout &b)
    {
        return a.shopType == b.shopType && a.names == b.names && a.snippets == b.snippets;
    }
    friend bool operator!=(const Layout &a, const Layout &b) { return !(a == b); }
};

// Layout files (*.zlayout): UTF-8 JSON of the form
//   {"format": "zanfor-layout", "version": 1, "shopType": -1|0|1,
//    "pageWidth": "750"|"790", "items": [{"name": "...", "html": "..."}, ...]}
// holding every name and snippet exactly, so that opening a saved layout
// gives back the same texts, character for character.
namespace LayoutFile {

inline constexpr int Version = 1;
// Larger files are refused before they are read: no layout comes near it.
inline constexpr qint64 MaxBytes = qint64(200) * 1024 * 1024;

inline QString suffix()
{
    return QStringLiteral("zlayout");
}

// A file as this copy of the program last read or wrote it, to tell later
// whether someone else (another program, another copy) changed it since.
struct FileStamp
{
    qint64 size = -1;
    qint64 modified = 0;
    QByteArray hash; // of the bytes; empty: nothing known

    bool isKnown() const { return !hash.isEmpty(); }
    friend bool operator==(const FileStamp &a, const FileStamp &b)
    {
        return a.size == b.size && a.modified == b.modified && a.hash == b.hash;
    }
};

// Where a page came from, as a recovery copy of it keeps it: the layout
// file in use (empty for none), whether the page differs from it, and the
// file as the page's copy of the program last read or wrote it.
struct Origin
{
    QString file;
    bool modified = false;
    FileStamp stamp;
};

// The file that `path` names (absolute; a name the desktop shows with
// U+FFFD for bytes that are not text is looked up on disk). Message:
// 无法打开布局文件 "<path>"：<what is wrong>.
Result<QString> locate(const QString &path);

// The file's bytes. Refuses, naming the item by position and name, a name
// with a line break and a name or snippet with an unpaired surrogate
// (UTF-8 cannot hold one); a shop type other than -1, 0, 1 is refused too.
// The message says only what is wrong; save() puts the file name first.
// With `origin`, the bytes also keep it, as the member "recovery" that
// programs reading the file as a layout pass by.
Result<QByteArray> toJson(const Layout &layout, const Origin *origin = nullptr);

// The layout in a file's bytes, or what is wrong with them (in Chinese,
// without the file name). Besides the fields' types and values, the page
// width must be the one the shop type sets: a width the program could not
// have saved with that shop type is refused rather than guessed at. Fields
// other than these are ignored; a snippet may hold an unpaired surrogate
// written as an escape, which is kept (save() will then refuse it).
// With `origin`, the page's origin is read too and must be there.
Result<Layout> fromJson(const QByteArray &json, Origin *origin = nullptr);

// Writes the layout to `path` through a temporary file beside it, flushed
// to disk and then renamed over the target, whose permissions it keeps: a
// failed save leaves any earlier file whole and no temporary file behind,
// and a refused layout writes nothing. The folder must exist.
// Message: 无法保存布局文件 "<path>"：<what is wrong, or the system's reason>.
// `stamp`, when given, receives the file as written.
Result<> save(const QString &path, const Layout &layout, FileStamp *stamp = nullptr);

// Reads a layout file. A file larger than `maxBytes` is refused before it
// is read, as is anything but a regular file (a folder, a device, a pipe).
// Message: 无法打开布局文件 "<path>"：<what is wrong>. `stamp`, when given,
// receives the file as read.
Result<Layout> open(const QString &path, qint64 maxBytes = MaxBytes, FileStamp *stamp = nullptr);

// Whether the file at `path` still holds what `stamp` describes: the same
// size and time, or else the same bytes. A file that is gone, or a stamp
// that knows nothing, counts as unchanged: writing it loses nothing.
bool isUnchanged(const QString &path, const FileStamp &stamp);

// Writes the page a page preview builds from these snippets (each followed
// by CR LF, every line break made CR LF) as UTF-8 to `path`, the same way
// save() writes. Message: 无法导出页面 "<path>"：<reason>.
Result<> exportPage(const QString &path, const QStringList &snippets);

} // namespace LayoutFile
