#pragma once

#include "Result.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

enum class PieceKind {
    Text, // character data between tags
    // The src of an img; each address of the srcset of an img or a source;
    // the href or xlink:href of an SVG element other than a (an image, or a
    // drawing, gradient or pattern the drawing uses).
    Picture,
    Link, // the href of an a, or the href or xlink:href of an SVG a
};

// One piece of a snippet's content that the seller may replace.
struct ContentPiece
{
    PieceKind kind = PieceKind::Text;
    // The characters of the snippet an edit replaces. A text's blanks and
    // line breaks before and after it lie outside; an address is the value
    // inside its quotes, or the whole value when it has none; an address
    // of a srcset is its own characters in the list, without descriptor.
    qsizetype start = 0;
    qsizetype length = 0;
    // What the seller sees: entities decoded, every line break as LF.
    QString value;
    // Addresses: the quote around the attribute's value, '"' or '\''; a null
    // QChar when the value stands unquoted (a srcset's then holds this one
    // address and nothing else).
    QChar quote;
    // Pictures of an img: the size in pixels the tag states, from its width
    // and height attributes or a plain "width:…px" in its style, which wins
    // as in the browser; unset when not stated or not in pixels.
    std::optional<int> width;
    std::optional<int> height;
    // Pictures: one address of a srcset's list, where a blank, or a comma
    // at either end, would separate it from the next.
    bool inSrcset = false;
    // Texts: the first content right after the start tag of a pre, listing
    // or textarea, where a browser drops a line break that comes first.
    bool dropsLeadingBreak = false;

    bool multiLine() const { return value.contains(u'\n'); }
};

// The editable pieces of one snippet, found by an HTML5 parser, and the
// snippet rebuilt with new values for them. Whatever the snippet holds
// (broken markup, NUL, unpaired surrogates), only the characters of a piece
// whose value changed are rewritten; what cannot be tied to an exact span of
// the snippet is not offered at all.
class ContentPieces
{
public:
    // Page-wide address work needs no texts and skips the cost of checking
    // them.
    enum class Scope {
        Everything,
        AddressesOnly,
    };

    explicit ContentPieces(QString snippet, Scope scope = Scope::Everything);

    const QString &snippet() const { return m_snippet; }
    // In source order; spans never overlap.
    const std::vector<ContentPiece> &pieces() const { return m_pieces; }

    // The snippet with `values`, one per piece in order. A value equal to
    // the piece's keeps its original characters, entities and all. A new
    // text is written as HTML text: &, <, > and the no-break space as
    // entities, each line break (CR LF, CR or LF) as the snippet's own first
    // line break (CR LF when it has none), NUL dropped; where a browser drops
    // a leading line break, a text that starts with one gets one more. A new
    // address loses its surrounding blanks, must pass checkAddress, and is
    // written in the attribute's quotes (double quotes when it had none)
    // with & and that quote as entities; in a srcset its blanks and a comma
    // at either end are written as %20 and %2C. Fails, changing nothing,
    // when the number of values is wrong or a new address is refused.
    Result<QString> apply(const QStringList &values) const;

private:
    QString m_snippet;
    std::vector<ContentPiece> m_pieces;
};

// Whether an address may go into the page: http:, https:, "//…", relative
// paths, "?…" and "#…" may; any other scheme (javascript:, data:, file:…),
// control characters (tabs and line breaks included) and an empty address
// may not. Blanks around it are ignored, as a browser ignores them. The
// failure reads after the field's name, as in "图片地址 1：" + error().
Result<> checkAddress(const QString &address);

// Whether an address already in a page takes the browser to a scheme that
// checkAddress refuses (javascript:, data:, file:…), read as a browser reads
// it: blanks and control characters around it and tabs and line breaks
// inside left out.
bool unsafeAddress(const QString &address);

// Whether a field still holds the sample content: a link to "#" or "#…",
// or a value from `samples` (the sample addresses the sections write).
bool stillToReplace(PieceKind kind, const QString &value, const QStringList &samples);
