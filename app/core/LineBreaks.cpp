#include "LineBreaks.h"

QString normalizeLineBreaks(const QString &text)
{
    const qsizetype n = text.size();
    const QChar *in = text.constData();

    // Count the growth first so the result is allocated once.
    qsizetype extra = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (in[i] == u'\r') {
            if (i + 1 < n && in[i + 1] == u'\n')
                ++i;
            else
                ++extra;
        } else if (in[i] == u'\n') {
            ++extra;
        }
    }
    if (extra == 0)
        return text;

    QString out(n + extra, Qt::Uninitialized);
    QChar *o = out.data();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = in[i];
        if (c == u'\r' || c == u'\n') {
            *o++ = u'\r';
            *o++ = u'\n';
            if (c == u'\r' && i + 1 < n && in[i + 1] == u'\n')
                ++i;
        } else {
            *o++ = c;
        }
    }
    return out;
}

QByteArray normalizeLineBreakBytes(const QByteArray &bytes)
{
    const qsizetype n = bytes.size();
    const char *in = bytes.constData();

    // Count the growth first so the result is allocated once. Nearly every
    // byte is above CR and leaves the loop at the first test.
    qsizetype extra = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (uchar(in[i]) > '\r')
            continue;
        if (in[i] == '\r') {
            if (i + 1 < n && in[i + 1] == '\n')
                ++i;
            else
                ++extra;
        } else if (in[i] == '\n') {
            ++extra;
        }
    }
    if (extra == 0)
        return bytes;

    QByteArray out(n + extra, Qt::Uninitialized);
    char *o = out.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = in[i];
        if (c == '\r' || c == '\n') {
            *o++ = '\r';
            *o++ = '\n';
            if (c == '\r' && i + 1 < n && in[i + 1] == '\n')
                ++i;
        } else {
            *o++ = c;
        }
    }
    return out;
}

QString asTerminatedLines(const QString &text)
{
    QString lines = normalizeLineBreaks(text);
    if (!lines.isEmpty() && !lines.endsWith(QLatin1String("\r\n")))
        lines += QLatin1String("\r\n");
    return lines;
}
