#include "CodeEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextObjectInterface>

namespace {

constexpr int FoldObject = QTextFormat::UserObject + 1;
constexpr int FoldKey = QTextFormat::UserProperty + 1;
constexpr int FoldSize = QTextFormat::UserProperty + 2;
constexpr qreal MarkPadding = 4;

bool isFold(const QTextFormat &format)
{
    return format.objectType() == FoldObject;
}

// A line break as plain text insertion makes one (a new block): a fold
// never holds one, so the text around it is inserted as it would have been.
bool breaksLine(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xfdd0) || c == QChar(0xfdd1);
}

// The mark a folded line shows.
class FoldMark
    : public QObject
    , public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;

    // The mark fills the height of a line of text, its label in a smaller
    // face of the text's font.
    QSizeF intrinsicSize(QTextDocument *document, int, const QTextFormat &format) override
    {
        return {QFontMetricsF(labelFont(document)).horizontalAdvance(label(format)) + 2 * MarkPadding,
                QFontMetricsF(document->defaultFont()).height()};
    }

    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int,
                    const QTextFormat &format) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QColor(128, 128, 128));
        painter->setBrush(QColor(235, 235, 235));
        painter->drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        painter->setFont(labelFont(document));
        painter->setPen(QColor(64, 64, 64));
        painter->drawText(rect, Qt::AlignCenter, label(format));
        painter->restore();
    }

private:
    static QFont labelFont(QTextDocument *document)
    {
        QFont font = document->defaultFont();
        if (font.pixelSize() > 0)
            font.setPixelSize(qMax(6, font.pixelSize() * 4 / 5));
        else
            font.setPointSizeF(font.pointSizeF() * 0.8);
        return font;
    }

    static QString label(const QTextFormat &format)
    {
        return QStringLiteral("长行 %1 字符").arg(format.property(FoldSize).toLongLong());
    }
};

} // namespace

CodeEdit::CodeEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
    document()->documentLayout()->registerHandler(FoldObject, new FoldMark(this));
}

void CodeEdit::insertFromMimeData(const QMimeData *source)
{
    const QString text = source && source->hasText() ? source->text() : QString();
    if (text.isNull() || isReadOnly()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // The long lines: where each starts and ends.
    QList<std::pair<qsizetype, qsizetype>> longLines;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = start;
        while (end < text.size() && !breaksLine(text.at(end)))
            ++end;
        if (end - start > FoldLength)
            longLines.append({start, end});
        start = end + 1;
    }

    // Inserted as the plain box does it, less the copy through a document
    // fragment, which doubled the time of a paste of many lines.
    QTextCursor cursor = textCursor();
    // Text pasted just after a fold takes the format it had, less the fold.
    QTextCharFormat plain = cursor.charFormat();
    for (int property : {int(QTextFormat::ObjectType), int(QTextFormat::TextVerticalAlignment), FoldKey, FoldSize})
        plain.clearProperty(property);
    cursor.beginEditBlock();
    qsizetype done = 0;
    for (const auto &[start, end] : std::as_const(longLines)) {
        cursor.insertText(text.mid(done, start - done), plain);
        const int key = int(m_folds.size());
        m_folds.insert(key, text.mid(start, end - start));
        QTextCharFormat fold = plain;
        fold.setObjectType(FoldObject);
        fold.setVerticalAlignment(QTextCharFormat::AlignBottom);
        fold.setProperty(FoldKey, key);
        fold.setProperty(FoldSize, end - start);
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), fold);
        done = end;
    }
    cursor.insertText(text.mid(done), plain);
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

QString CodeEdit::unfolded(int from, int to) const
{
    QString text;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        // Each block but the last ends in a separator, just before the next.
        const int separator = block.position() - 1;
        if (separator >= from && separator < to)
            text += QChar::ParagraphSeparator;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = qMax(fragment.position(), from);
            const int end = qMin(fragment.position() + fragment.length(), to);
            if (start >= end)
                continue;
            if (!isFold(fragment.charFormat())) {
                text += fragment.text().mid(start - fragment.position(), end - start);
                continue;
            }
            const QString line = m_folds.value(fragment.charFormat().property(FoldKey).toInt());
            for (int i = start; i < end; ++i)
                text += line;
        }
    }
    return text;
}

QString CodeEdit::rawText() const
{
    if (m_folds.isEmpty())
        return document()->toRawText();
    return unfolded(0, document()->characterCount() - 1);
}

QMimeData *CodeEdit::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    if (m_folds.isEmpty() || !cursor.selectedText().contains(QChar::ObjectReplacementCharacter))
        return QPlainTextEdit::createMimeDataFromSelection();
    // As a plain copy gives text: line breaks as LF, no-break spaces as
    // blanks.
    QString text = unfolded(cursor.selectionStart(), cursor.selectionEnd());
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::Nbsp, u' ');
    auto *data = new QMimeData;
    data->setText(text);
    return data;
}

#include "CodeEdit.moc"
