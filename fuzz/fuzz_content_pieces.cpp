// ContentPieces on any snippet: the pieces are in bounds, in order and
// apart; applying them unchanged gives the snippet back; a changed piece
// rewrites its own span and nothing else, alone or together with all others.
#include "ContentPieces.h"
#include "FuzzInput.h"
#include "PageAddresses.h"

#include <memory>

namespace {

// The bytes as UTF-8, except that 0xFE and 0xFF, which UTF-8 never uses,
// stand for an unpaired high and low surrogate, so the fuzzer reaches text
// that no UTF-8 could carry. Held in a block of exactly its length, as
// FuzzText does.
class FuzzSnippet
{
public:
    FuzzSnippet(const uint8_t *data, size_t size)
    {
        QString text;
        size_t run = 0;
        for (size_t i = 0; i <= size; ++i) {
            if (i < size && data[i] < 0xFE)
                continue;
            text += QString::fromUtf8(reinterpret_cast<const char *>(data + run), qsizetype(i - run));
            if (i < size)
                text += QChar(char16_t(data[i] == 0xFE ? 0xD800 : 0xDC00));
            run = i + 1;
        }
        m_size = text.size();
        m_chars = std::make_unique<QChar[]>(size_t(m_size));
        std::copy(text.cbegin(), text.cend(), m_chars.get());
    }

    QString string() const { return QString::fromRawData(m_chars.get(), m_size); }

private:
    std::unique_ptr<QChar[]> m_chars;
    qsizetype m_size = 0;
};

const QString newText = QStringLiteral("新<b>&amp;\u00a0\n二");
const QString newAddress = QStringLiteral(",https://例.cn/?a=1&b=\"' x,");

bool isBlank(const QString &text)
{
    for (const QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\f' && c != u'\r')
            return false;
    return true;
}

// What apply wrote for piece i when it alone changed: the result must be the
// snippet with only that span replaced.
QString writtenFor(const ContentPieces &found, size_t i, const QString &input)
{
    const QString &snippet = found.snippet();
    const ContentPiece &piece = found.pieces()[i];
    QStringList values;
    for (const ContentPiece &p : found.pieces())
        values.append(p.value);
    values[qsizetype(i)] = piece.kind == PieceKind::Text ? newText : newAddress;
    const Result<QString> applied = found.apply(values);
    if (!applied)
        fuzzFailure("apply refused an acceptable value", input);
    const qsizetype end = piece.start + piece.length;
    const qsizetype tail = snippet.size() - end;
    if (applied->size() < piece.start + tail
        || QStringView(*applied).left(piece.start) != QStringView(snippet).left(piece.start)
        || QStringView(*applied).right(tail) != QStringView(snippet).mid(end))
        fuzzFailure("an edit changed characters outside its piece", input);
    const QString written = applied->mid(piece.start, applied->size() - piece.start - tail);
    if (piece.kind == PieceKind::Text && (written.contains(u'<') || written.contains(u'>')))
        fuzzFailure("a new text was written with markup characters", input);
    if (piece.inSrcset && (written.contains(u' ') || written.startsWith(u',') || written.endsWith(u',')))
        fuzzFailure("a new srcset address runs into the next", input);
    if (piece.kind != PieceKind::Text) {
        const QChar quote = piece.quote.isNull() ? QChar(u'"') : piece.quote;
        const QStringView inside = piece.quote.isNull() ? QStringView(written).mid(1).chopped(1) : QStringView(written);
        if (inside.contains(quote)
            || (piece.quote.isNull() && (!written.startsWith(quote) || !written.endsWith(quote))))
            fuzzFailure("a new address can end its attribute early", input);
    }
    return written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzSnippet input(data, size);
    const QString snippet = input.string();
    const ContentPieces found(snippet);
    const std::vector<ContentPiece> &pieces = found.pieces();

    QStringList values;
    qsizetype reached = 0;
    int addresses = 0;
    for (const ContentPiece &p : pieces) {
        if (p.start < reached || p.length < 0 || p.start + p.length > snippet.size())
            fuzzFailure("pieces out of bounds, out of order or overlapping", snippet);
        reached = p.start + p.length;
        if (p.kind == PieceKind::Text && isBlank(p.value))
            fuzzFailure("a blank text was offered", snippet);
        if (p.kind != PieceKind::Text) {
            ++addresses;
            // An address of a srcset sits among the others of its list.
            if (!p.quote.isNull() && !p.inSrcset
                && (p.start == 0 || snippet[p.start - 1] != p.quote || reached == snippet.size()
                    || snippet[reached] != p.quote))
                fuzzFailure("a quoted address does not sit inside its quotes", snippet);
        }
        values.append(p.value);
    }

    const Result<QString> same = found.apply(values);
    if (!same || *same != snippet)
        fuzzFailure("applying the values as found changed the snippet", snippet);

    // Each piece changed alone, then all at once: the same writing, with
    // every character between the pieces kept.
    constexpr size_t MaxSingles = 24;
    if (pieces.size() <= MaxSingles) {
        QString expected;
        QStringList changed;
        qsizetype copied = 0;
        for (size_t i = 0; i < pieces.size(); ++i) {
            expected += QStringView(snippet).mid(copied, pieces[i].start - copied);
            expected += writtenFor(found, i, snippet);
            copied = pieces[i].start + pieces[i].length;
            changed.append(pieces[i].kind == PieceKind::Text ? newText : newAddress);
        }
        expected += QStringView(snippet).mid(copied);
        const Result<QString> all = found.apply(changed);
        if (!all || *all != expected)
            fuzzFailure("changing every piece differs from changing each alone", snippet);
    }

    int uses = 0;
    for (const PageAddress &a : collectPageAddresses({snippet}))
        uses += a.uses;
    if (uses != addresses)
        fuzzFailure("the page's address uses do not add up to the snippet's addresses", snippet);
    return 0;
}
