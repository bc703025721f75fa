// normalizeLineBreaks and asTerminatedLines against a plainly written
// reference and the properties every caller relies on.
#include "FuzzInput.h"
#include "LineBreaks.h"

namespace {

// Every CR LF, lone CR and lone LF becomes CR LF, written the obvious way:
// fold the three forms into LF, then expand LF.
QString referenceNormalized(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

bool hasLoneBreak(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))
            return true;
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            return true;
    }
    return false;
}

QString withoutBreaks(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzText input(data, size);
    const QString text = input.string();
    const QString normalized = normalizeLineBreaks(text);

    if (normalized != referenceNormalized(text))
        fuzzFailure("normalizeLineBreaks differs from the reference", text);
    if (hasLoneBreak(normalized))
        fuzzFailure("a lone CR or LF survives normalisation", text);
    if (normalizeLineBreaks(normalized) != normalized)
        fuzzFailure("normalisation is not idempotent", text);
    if (withoutBreaks(normalized) != withoutBreaks(text))
        fuzzFailure("normalisation changed a character other than a line break", text);

    const QString lines = asTerminatedLines(text);
    if (text.isEmpty() ? !lines.isEmpty() : !lines.endsWith(QStringLiteral("\r\n")))
        fuzzFailure("asTerminatedLines: empty text must stay empty, any other must end with CR LF", text);
    if (lines != normalized && lines != normalized + QStringLiteral("\r\n"))
        fuzzFailure("asTerminatedLines adds more than one final CR LF", text);
    return 0;
}
