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

QString asTerminatedLines(const QString &text)
{
    QString lines = normalizeLineBreaks(text);
    if (!lines.isEmpty() && !lines.endsWith(QLatin1String("\r\n")))
        lines += QLatin1String("\r\n");
    return lines;
}
