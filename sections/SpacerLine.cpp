#include "Generators.h"

BuildResult spacerLine(int style, const SectionInputs &)
{
    static const int heights[] = {10, 20, 30};
    if (style < 0 || style > 2)
        return keepCode();
    return built(QStringLiteral("<table width=\"100%\" height=\"%1\" border=\"0\" cellpadding=\"0\" "
                                "cellspacing=\"0\"><tr><td></td></tr></table>")
                     .arg(heights[style]));
}

QString customSnippet(const QString &rawText)
{
    QString out = rawText;
    out.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    out.replace(QChar::LineSeparator, QLatin1String("\r\n"));
    return out;
}
