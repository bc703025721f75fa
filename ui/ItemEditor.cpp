#include "ItemEditor.h"

#include "GeneratedItems.h"

#include <QTimer>

namespace {

QString withoutLeadingBlanks(const QString &name)
{
    qsizetype i = 0;
    while (i < name.size() && name.at(i).isSpace())
        ++i;
    return name.mid(i);
}

QString pictureSize(const ContentPiece &piece)
{
    if (piece.width && piece.height)
        return QStringLiteral("（%1×%2）").arg(*piece.width).arg(*piece.height);
    if (piece.width)
        return QStringLiteral("（宽 %1）").arg(*piece.width);
    if (piece.height)
        return QStringLiteral("（高 %1）").arg(*piece.height);
    return {};
}

} // namespace

ItemEditor::ItemEditor(const QString &name, ContentPieces pieces, const QStringList &samples, UserPrompts &prompts,
                       QWidget *parent)
    : ContentForm(QStringLiteral("itemEditor"), QStringLiteral("编辑内容 - ") + withoutLeadingBlanks(name),
                  QStringLiteral("改动的文字、图片地址和链接地址换进这一项的代码，其余代码一个字节也不变。"),
                  QStringLiteral("contentField"), samples, prompts, parent)
    , m_pieces(std::move(pieces))
    , m_edited(m_pieces.snippet())
    , m_editedName(name)
    , m_previewTimer(new QTimer(this))
{
    addCheckedField(QStringLiteral("nameField"), QStringLiteral("名称"), name, &GeneratedItems::checkName);
    int counts[3] = {0, 0, 0};
    for (const ContentPiece &piece : m_pieces.pieces()) {
        const int number = ++counts[int(piece.kind)];
        switch (piece.kind) {
        case PieceKind::Text:
            addField(piece.kind, QStringLiteral("文字 %1").arg(number), QString(), piece.value);
            break;
        case PieceKind::Picture:
            addField(piece.kind, QStringLiteral("图片地址 %1").arg(number), pictureSize(piece), piece.value);
            break;
        case PieceKind::Link:
            addField(piece.kind, QStringLiteral("链接地址 %1").arg(number), QString(), piece.value);
            break;
        }
    }
    finish();

    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(PreviewDelay);
    connect(this, &ContentForm::fieldEdited, m_previewTimer, qOverload<>(&QTimer::start));
    connect(m_previewTimer, &QTimer::timeout, this, [this] { emit previewChanged(previewSnippet()); });
}

QStringList ItemEditor::values() const
{
    // The pieces' fields follow the name's.
    QStringList values;
    values.reserve(fieldCount() - 1);
    for (int i = 1; i < fieldCount(); ++i)
        values.append(value(i));
    return values;
}

QString ItemEditor::previewSnippet() const
{
    QStringList values = this->values();
    const std::vector<ContentPiece> &pieces = m_pieces.pieces();
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].kind != PieceKind::Text && !checkAddress(values[qsizetype(i)]))
            values[qsizetype(i)] = pieces[i].value;
    }
    const Result<QString> snippet = m_pieces.apply(values);
    return snippet ? *snippet : m_pieces.snippet();
}

Result<> ItemEditor::takeAnswer()
{
    const Result<QString> snippet = m_pieces.apply(values());
    if (!snippet)
        return Failure{snippet.error()};
    m_edited = *snippet;
    m_editedName = value(0);
    return {};
}

void ItemEditor::done(int result)
{
    // A preview still pending would show an edit the dialog no longer holds.
    m_previewTimer->stop();
    ContentForm::done(result);
}
