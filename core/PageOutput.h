#pragma once

#include "Result.h"

#include <QString>
#include <QStringList>

class ScratchFiles;

// What a preview asks of the web view: on success, show the file it names;
// on failure, show the message and leave the view as it is.
using PreviewResult = Result<QString>;

// The total-code memo and the previews that fill it and the scratch files.
// The memo holds its initial line, then the snippet of the last standard
// style preview or the whole page of the last page preview, whichever came
// later; extract copies it.
class PageOutput
{
public:
    explicit PageOutput(ScratchFiles &files);

    const QString &memo() const { return m_memo; }

    // The memo takes the snippet, then the preview file takes the memo.
    PreviewResult stylePreview(const QString &snippet);

    // Three copies of the coupon block side by side, written as lines; the
    // memo is left alone.
    PreviewResult couponPreview(const QString &block);
    static QString couponPage(const QString &block);

    // The snippet as it is, for a look at an edit that may still be
    // cancelled: the memo, and so what extract copies, is left alone.
    PreviewResult itemPreview(const QString &snippet);

    // Writes every snippet followed by CR LF to the list file, reads it back
    // into the memo with all line breaks made CR LF, writes the memo to the
    // preview file. Stops at the first step that fails.
    PreviewResult pagePreview(const QStringList &snippets);

    static QString joinPage(const QStringList &snippets);
    // The page as the page preview puts it in the memo, every line break
    // CR LF, without going through the scratch files' encoding.
    static QString pageText(const QStringList &snippets);

private:
    ScratchFiles &m_files;
    QString m_memo = QStringLiteral("mmo1");
};
