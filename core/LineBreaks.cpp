#include "LineBreaks.h"

#include <type_traits>

namespace {

char16_t code(QChar c)
{
    return c.unicode();
}

char16_t code(char c)
{
    return uchar(c);
}

// One normaliser for text and for bytes of an 8-bit encoding: the code
// units CR and LF are the same in both.
template<typename Text>
Text normalized(const Text &text)
{
    using Unit = std::remove_const_t<std::remove_pointer_t<decltype(text.constData())>>;
    const qsizetype n = text.size();
    const Unit *in = text.constData();

    // Count the growth first so the result is allocated once. Nearly every
    // unit is above CR and leaves the loop at the first test.
    qsizetype extra = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = code(in[i]);
        if (c > u'\r')
            continue;
        if (c == u'\r') {
            if (i + 1 < n && code(in[i + 1]) == u'\n')
                ++i;
            else
                ++extra;
        } else if (c == u'\n') {
            ++extra;
        }
    }
    if (extra == 0)
        return text;

    Text out(n + extra, Qt::Uninitialized);
    Unit *o = out.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = code(in[i]);
        if (c == u'\r' || c == u'\n') {
            *o++ = static_cast<Unit>(u'\r');
            *o++ = static_cast<Unit>(u'\n');
            if (c == u'\r' && i + 1 < n && code(in[i + 1]) == u'\n')
                ++i;
        } else {
            *o++ = in[i];
        }
    }
    return out;
}

} // namespace

QString normalizeLineBreaks(const QString &text)
{
    return normalized(text);
}

QByteArray normalizeLineBreakBytes(const QByteArray &bytes)
{
    return normalized(bytes);
}

QString asTerminatedLines(const QString &text)
{
    QString lines = normalizeLineBreaks(text);
    if (!lines.isEmpty() && !lines.endsWith(QLatin1String("\r\n")))
        lines += QLatin1String("\r\n");
    return lines;
}

QString withoutLineBreaks(const QString &text)
{
    QString kept = text;
    kept.removeIf([](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'\n' && u <= u'\r') || u == 0x85 || u == 0x2028 || u == 0x2029;
    });
    return kept;
}
