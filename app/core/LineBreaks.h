#pragma once

#include <QString>

// Turns every line break (lone CR, lone LF or CR LF) into CR LF.
QString normalizeLineBreaks(const QString &text);

// The text as a list of lines, each followed by CR LF: line breaks are
// normalised and a final CR LF is added unless the text is empty or already
// ends with one.
QString asTerminatedLines(const QString &text);
