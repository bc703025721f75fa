#pragma once

#include <QStringView>
#include <QtGlobal>

#include <optional>

// A 32-bit signed decimal integer written as an optional "+" or "-" followed
// by one or more ASCII digits and nothing else: no blanks, no hexadecimal or
// exponent form, no digits of other scripts. Values outside qint32 are
// rejected rather than wrapped. Returns nothing when the text is not such a
// number.
std::optional<qint32> parseInteger(QStringView text);
