#pragma once

#include <QByteArray>
#include <QString>

// Turns every line break (lone CR, lone LF or CR LF) into CR LF.
QString normalizeLineBreaks(const QString &text);

// The same for text in an 8-bit encoding whose CR and LF bytes stand only
// for themselves, never inside a longer character (UTF-8, and the Windows
// code pages, whose second bytes are all 0x40 or above): normalising the
// bytes then gives the normalised text, encoded.
QByteArray normalizeLineBreakBytes(const QByteArray &bytes);

// The text as a list of lines, each followed by CR LF: line breaks are
// normalised and a final CR LF is added unless the text is empty or already
// ends with one.
QString asTerminatedLines(const QString &text);

// The text without its line breaks: CR, LF, vertical tab, form feed, NEL,
// and the Unicode line and paragraph separators are dropped, every other
// character kept, blanks included.
QString withoutLineBreaks(const QString &text);
