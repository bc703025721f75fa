#include "Generators.h"

BuildResult spacerLine(int style, const SectionInputs &)
{
    static const int heights[] = {10, 20, 30};
    if (style < 0 || style > 2)
        return BuildResult::keep();
    return BuildResult::built(QStringLiteral("<table width=\"100%\" height=\"%1\" border=\"0\" cellpadding=\"0\" "
                                             "cellspacing=\"0\"><tr><td></td></tr></table>")
                                  .arg(heights[style]));
}

QString customSnippet(const QString &rawText)
{
    QString out;
    out.reserve(rawText.size() + 64);
    for (const QChar c : rawText) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            out += QLatin1String("\r\n");
        else
            out += c;
    }
    return out;
}
