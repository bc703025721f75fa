#include "PageAddresses.h"

#include <QHash>

namespace {

// Pictures and links are kept apart: the same address may be both.
int slot(PieceKind kind)
{
    return kind == PieceKind::Link ? 1 : 0;
}

} // namespace

std::vector<PageAddress> collectPageAddresses(const QStringList &snippets)
{
    std::vector<PageAddress> found;
    QHash<QString, size_t> seen[2];
    for (const QString &snippet : snippets) {
        const ContentPieces pieces(snippet, ContentPieces::Scope::AddressesOnly);
        for (const ContentPiece &piece : pieces.pieces()) {
            QHash<QString, size_t> &known = seen[slot(piece.kind)];
            const auto it = known.constFind(piece.value);
            if (it != known.cend()) {
                ++found[*it].uses;
            } else {
                known.insert(piece.value, found.size());
                found.push_back({piece.kind, piece.value, 1});
            }
        }
    }
    return found;
}

Result<PageReplacement> replacePageAddresses(const QStringList &snippets,
                                             const std::vector<AddressReplacement> &replacements)
{
    QHash<QString, QString> targets[2];
    for (const AddressReplacement &r : replacements) {
        if (r.kind == PieceKind::Text)
            continue;
        QHash<QString, QString> &to = targets[slot(r.kind)];
        const auto known = to.constFind(r.from);
        if (known != to.cend() && *known != r.to)
            return Failure{QStringLiteral("“%1”有两个不同的替换地址").arg(r.from)};
        if (r.to == r.from)
            continue;
        const Result<> acceptable = checkAddress(r.to);
        if (!acceptable)
            return Failure{QStringLiteral("“%1”的替换地址：").arg(r.from) + acceptable.error()};
        to.insert(r.from, r.to);
    }

    PageReplacement out{snippets, {}};
    if (targets[0].isEmpty() && targets[1].isEmpty())
        return out;
    for (qsizetype i = 0; i < snippets.size(); ++i) {
        const ContentPieces pieces(snippets[i], ContentPieces::Scope::AddressesOnly);
        QStringList values;
        values.reserve(qsizetype(pieces.pieces().size()));
        bool replaced = false;
        for (const ContentPiece &piece : pieces.pieces()) {
            const QHash<QString, QString> &to = targets[slot(piece.kind)];
            const auto target = to.constFind(piece.value);
            replaced = replaced || target != to.cend();
            values.append(target != to.cend() ? *target : piece.value);
        }
        if (!replaced)
            continue;
        const Result<QString> snippet = pieces.apply(values);
        if (!snippet)
            return Failure{snippet.error()};
        if (*snippet != snippets[i]) {
            out.snippets[i] = *snippet;
            out.changedItems.push_back(int(i));
        }
    }
    return out;
}
