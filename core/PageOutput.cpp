#include "PageOutput.h"

#include "LineBreaks.h"
#include "ScratchFiles.h"
#include "ScratchPlatform.h"

PageOutput::PageOutput(ScratchFiles &files)
    : m_files(files)
{
}

static PreviewResult writePreview(ScratchFiles &files, const QByteArray &bytes)
{
    if (Result<> written = files.write(files.previewPath(), bytes); !written)
        return Failure{written.error()};
    return files.previewPath();
}

PreviewResult PageOutput::stylePreview(const QString &snippet)
{
    m_memo = snippet;
    return writePreview(m_files, ScratchPlatform::encode(m_memo));
}

QString PageOutput::couponPage(const QString &block)
{
    return QLatin1String("<table width=\"100%\" border=\"0\"><tr><td>") % block % QLatin1String("</td>")
        % QLatin1String("<td>") % block % QLatin1String("</td>") % QLatin1String("<td>") % block
        % QLatin1String("</td>") % QLatin1String("</tr>") % QLatin1String("</table>");
}

PreviewResult PageOutput::couponPreview(const QString &block)
{
    return writePreview(m_files, ScratchPlatform::encode(asTerminatedLines(couponPage(block))));
}

PreviewResult PageOutput::itemPreview(const QString &snippet)
{
    return writePreview(m_files, ScratchPlatform::encode(snippet));
}

QString PageOutput::joinPage(const QStringList &snippets)
{
    qsizetype size = 0;
    for (const QString &s : snippets)
        size += s.size() + 2;
    QString page;
    page.reserve(size);
    for (const QString &s : snippets) {
        page += s;
        page += QLatin1String("\r\n");
    }
    return page;
}

QString PageOutput::pageText(const QStringList &snippets)
{
    return normalizeLineBreaks(joinPage(snippets));
}

PreviewResult PageOutput::pagePreview(const QStringList &snippets)
{
    const QByteArray listBytes = ScratchPlatform::encode(joinPage(snippets));
    if (Result<> listed = m_files.write(m_files.listPath(), listBytes); !listed)
        return Failure{listed.error()};

    // Reading the list back goes through the 8-bit encoding, exactly as a
    // re-read of the file would. The line breaks are normalised in the bytes,
    // which is the same as in the text (see normalizeLineBreakBytes) and
    // spares a pass over the page and a copy of it: the normalised bytes are
    // the memo's text encoded, the preview file's content. When nothing
    // needed normalising they are the list bytes themselves.
    const QByteArray pageBytes = normalizeLineBreakBytes(listBytes);
    m_memo = ScratchPlatform::decode(pageBytes);
    return writePreview(m_files, pageBytes);
}
