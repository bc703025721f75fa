#include "ContentPieces.h"

#include <gumbo.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

// Beyond this a snippet is not a shop description; offering nothing keeps
// the offsets within int and the parser's time bounded.
constexpr qsizetype MaxSnippet = 16 * 1024 * 1024;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool SanitizedBuild = true;
#elif defined(__has_feature)
#  if __has_feature(address_sanitizer)
constexpr bool SanitizedBuild = true;
#  else
constexpr bool SanitizedBuild = false;
#  endif
#else
constexpr bool SanitizedBuild = false;
#endif

// Gumbo's memory for one parse, handed back all at once. Gumbo's own release
// walks the tree recursively, so a snippet of some ten thousand unclosed
// elements would overflow the stack there; freeing in one sweep also saves
// a call per node. Under AddressSanitizer every block is a malloc of its
// own, so the sanitizer still sees each block's bounds.
class Arena
{
public:
    Arena() = default;
    Arena(const Arena &) = delete;
    Arena &operator=(const Arena &) = delete;
    ~Arena()
    {
        for (void *block : m_blocks)
            std::free(block);
    }

    static void *allocate(void *self, size_t size) { return static_cast<Arena *>(self)->take(size); }
    static void release(void *, void *) { }

private:
    static constexpr size_t Align = alignof(std::max_align_t);
    static constexpr size_t ChunkSize = 32 * 1024;

    void *take(size_t size)
    {
        size = (size + Align - 1) & ~(Align - 1);
        if (SanitizedBuild || size > ChunkSize / 4)
            return fresh(size);
        if (size > m_left) {
            m_next = static_cast<char *>(fresh(ChunkSize));
            m_left = ChunkSize;
        }
        void *block = m_next;
        m_next += size;
        m_left -= size;
        return block;
    }

    void *fresh(size_t size)
    {
        void *block = std::malloc(size == 0 ? 1 : size);
        if (!block)
            std::abort(); // gumbo cannot take a failed allocation
        m_blocks.push_back(block);
        return block;
    }

    std::vector<void *> m_blocks;
    char *m_next = nullptr;
    size_t m_left = 0;
};

class ParsedHtml
{
public:
    // context: GUMBO_TAG_LAST for a whole document, or the element the
    // bytes are the content of.
    ParsedHtml(const char *data, size_t size, GumboTag context)
    {
        GumboOptions options = kGumboDefaultOptions;
        options.allocator = &Arena::allocate;
        options.deallocator = &Arena::release;
        options.userdata = &m_arena;
        // Gumbo copies the whole stack of open elements into each parse error
        // it records, which makes deep nesting quadratic; none is read here.
        options.max_errors = 0;
        options.fragment_context = context;
        m_output = gumbo_parse_with_options(&options, data, size);
    }

    const GumboOutput &output() const { return *m_output; }

private:
    Arena m_arena;
    GumboOutput *m_output = nullptr;
};

bool isHtmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

bool isAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The snippet in UTF-8, which gumbo reads, and the way back from a byte
// offset to a position in the QString. An unpaired surrogate, which UTF-8
// cannot hold, goes in as U+FFFD; the snippet itself keeps its own.
class Utf8Snippet
{
public:
    explicit Utf8Snippet(QStringView text)
    {
        m_bytes.reserve(size_t(text.size()) * 3);
        m_position.reserve(size_t(text.size()) * 3 + 1);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const int at = int(i);
            char32_t code = text[i].unicode();
            if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                code = QChar::surrogateToUcs4(char16_t(code), text[++i].unicode());
            else if (QChar::isSurrogate(code))
                code = 0xFFFD;
            append(code, at);
        }
        m_position.push_back(int(text.size()));
    }

    const char *data() const { return m_bytes.data(); }
    size_t size() const { return m_bytes.size(); }
    char at(size_t offset) const { return m_bytes[offset]; }

    // The offset of a pointer gumbo gave, when it lies in the text.
    std::optional<size_t> offsetOf(const char *p) const
    {
        const auto address = reinterpret_cast<std::uintptr_t>(p);
        const auto begin = reinterpret_cast<std::uintptr_t>(m_bytes.data());
        if (!p || address < begin || address > begin + m_bytes.size())
            return std::nullopt;
        return size_t(address - begin);
    }

    // The QString position of a byte offset; -1 inside a character.
    int position(size_t offset) const { return m_position[offset]; }

private:
    void append(char32_t code, int at)
    {
        const auto put = [this](char32_t byte, int position) {
            m_bytes.push_back(char(byte));
            m_position.push_back(position);
        };
        if (code < 0x80) {
            put(code, at);
        } else if (code < 0x800) {
            put(0xC0 | (code >> 6), at);
            put(0x80 | (code & 0x3F), -1);
        } else if (code < 0x10000) {
            put(0xE0 | (code >> 12), at);
            put(0x80 | ((code >> 6) & 0x3F), -1);
            put(0x80 | (code & 0x3F), -1);
        } else {
            put(0xF0 | (code >> 18), at);
            put(0x80 | ((code >> 12) & 0x3F), -1);
            put(0x80 | ((code >> 6) & 0x3F), -1);
            put(0x80 | (code & 0x3F), -1);
        }
    }

    std::string m_bytes;
    std::vector<int> m_position;
};

// A byte range [begin, end) of the UTF-8 snippet.
struct ByteSpan
{
    size_t begin = 0;
    size_t end = 0;
};

// Line breaks as gumbo reports them in decoded text: every CR LF and lone
// CR becomes LF.
std::string breaksAsLf(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// What character data decodes to when gumbo reads it alone as the content
// of a div: the texts it holds, joined; nothing when it holds anything else.
std::optional<std::string> decodedAlone(const char *data, size_t size)
{
    if (size == 0)
        return std::string();
    const ParsedHtml parsed(data, size, GUMBO_TAG_DIV);
    const GumboNode *root = parsed.output().root;
    if (!root || root->type != GUMBO_NODE_ELEMENT)
        return std::nullopt;
    std::string decoded;
    const GumboVector &children = root->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *text = static_cast<const GumboNode *>(children.data[i]);
        if (text->type != GUMBO_NODE_TEXT && text->type != GUMBO_NODE_WHITESPACE)
            return std::nullopt;
        decoded += text->v.text.text;
    }
    return decoded;
}

// What the characters of an attribute value decode to, when gumbo reads
// them alone as one.
std::optional<std::string> decodedAttribute(const std::string &raw)
{
    if (raw.find('&') == std::string::npos && raw.find('\0') == std::string::npos)
        return raw;
    const char quote = raw.find('"') == std::string::npos ? '"' : raw.find('\'') == std::string::npos ? '\'' : 0;
    if (!quote)
        return std::nullopt;
    const std::string tag = std::string("<a title=") + quote + raw + quote + '>';
    const ParsedHtml parsed(tag.data(), tag.size(), GUMBO_TAG_DIV);
    const GumboNode *root = parsed.output().root;
    if (!root || root->type != GUMBO_NODE_ELEMENT || root->v.element.children.length != 1)
        return std::nullopt;
    const auto *a = static_cast<const GumboNode *>(root->v.element.children.data[0]);
    if (a->type != GUMBO_NODE_ELEMENT || a->v.element.attributes.length != 1)
        return std::nullopt;
    return std::string(static_cast<const GumboAttribute *>(a->v.element.attributes.data[0])->value);
}

// The addresses of a srcset list, as offsets into it, read as the browser
// reads them: blanks and commas before each, the address up to a blank, a
// trailing comma ending it early; then its descriptors up to a comma
// outside parentheses.
std::vector<ByteSpan> srcsetAddresses(const char *list, size_t size)
{
    std::vector<ByteSpan> found;
    size_t at = 0;
    for (;;) {
        while (at < size && (isHtmlSpace(list[at]) || list[at] == ','))
            ++at;
        if (at == size)
            return found;
        const size_t begin = at;
        while (at < size && !isHtmlSpace(list[at]))
            ++at;
        size_t end = at;
        while (list[end - 1] == ',') // never the first, which is no comma
            --end;
        found.push_back({begin, end});
        if (end < at)
            continue;
        bool inParentheses = false;
        for (; at < size; ++at) {
            if (inParentheses) {
                inParentheses = list[at] != ')';
            } else if (list[at] == '(') {
                inParentheses = true;
            } else if (list[at] == ',') {
                ++at;
                break;
            }
        }
    }
}

bool isBlank(const std::string &text)
{
    return std::all_of(text.begin(), text.end(), isHtmlSpace);
}

// "350" or "350px" (with "px" required in a style, where a bare number other
// than 0 means nothing); percentages, decimals and anything else are no size.
std::optional<int> pixels(QStringView text, bool inStyle)
{
    text = text.trimmed();
    if (text.endsWith(u"px", Qt::CaseInsensitive))
        text.chop(2);
    else if (inStyle && text != u"0")
        return std::nullopt;
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

bool isOpaque(GumboTag tag)
{
    // Raw text the seller does not see as text, or that the tokenizer reads
    // by rules of its own.
    switch (tag) {
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_TITLE:
    case GUMBO_TAG_TEXTAREA:
    case GUMBO_TAG_XMP:
    case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_NOEMBED:
    case GUMBO_TAG_NOFRAMES:
    case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_PLAINTEXT:
        return true;
    default:
        return false;
    }
}

// Elements whose content a browser starts without the line break that
// comes right after the start tag.
bool dropsLeadingBreak(GumboTag tag)
{
    return tag == GUMBO_TAG_PRE || tag == GUMBO_TAG_LISTING || tag == GUMBO_TAG_TEXTAREA;
}

// A size the style states: whether it states one at all (it then wins over
// the attribute), and the pixels when it states them plainly.
struct StyleSize
{
    bool stated = false;
    std::optional<int> pixels;
};

class PieceFinder
{
public:
    PieceFinder(const QString &snippet, ContentPieces::Scope scope)
        : m_source(snippet)
        , m_scope(scope)
    {
    }

    std::vector<ContentPiece> find()
    {
        const ParsedHtml parsed(m_source.data(), m_source.size(), GUMBO_TAG_LAST);
        // Iterative: nesting depth is the seller's to choose.
        std::vector<const GumboNode *> stack{parsed.output().document};
        while (!stack.empty()) {
            const GumboNode *node = stack.back();
            stack.pop_back();
            const GumboVector *children = nullptr;
            if (node->type == GUMBO_NODE_DOCUMENT) {
                children = &node->v.document.children;
            } else if (node->type == GUMBO_NODE_ELEMENT) {
                noteContentStart(*node);
                if (!isOpaque(node->v.element.tag)) {
                    element(*node);
                    children = &node->v.element.children;
                }
            } else if (node->type == GUMBO_NODE_TEXT && m_scope == ContentPieces::Scope::Everything) {
                text(node->v.text);
            }
            // Template contents are never shown, comments and CDATA are not
            // text, whitespace is blank: none has a piece.
            if (children)
                for (unsigned i = 0; i < children->length; ++i)
                    stack.push_back(static_cast<const GumboNode *>(children->data[i]));
        }
        std::vector<ContentPiece> pieces = inSourceOrder(std::move(m_found));
        std::sort(m_contentStarts.begin(), m_contentStarts.end());
        for (ContentPiece &piece : pieces) {
            piece.dropsLeadingBreak = piece.kind == PieceKind::Text
                && std::binary_search(m_contentStarts.begin(), m_contentStarts.end(), int(piece.start));
        }
        return pieces;
    }

private:
    std::optional<ByteSpan> spanOf(const GumboStringPiece &piece) const
    {
        const std::optional<size_t> begin = m_source.offsetOf(piece.data);
        if (!begin || piece.length > m_source.size() - *begin)
            return std::nullopt;
        return ByteSpan{*begin, *begin + piece.length};
    }

    // Gumbo's offsets always fall between characters; one that does not
    // is not used.
    void add(ContentPiece piece, ByteSpan bytes)
    {
        const int start = m_source.position(bytes.begin);
        const int end = m_source.position(bytes.end);
        if (start < 0 || end < start)
            return;
        piece.start = start;
        piece.length = end - start;
        m_found.push_back(std::move(piece));
    }

    // A tag, comment or declaration starts here: inside a text node, a
    // token gumbo passed over (a stray end tag, say) and joined the text
    // around.
    bool tokenAt(size_t i, size_t end) const
    {
        if (m_source.at(i) != '<' || i + 1 >= end)
            return false;
        const char next = m_source.at(i + 1);
        return isAsciiLetter(char16_t(next)) || next == '/' || next == '!' || next == '?';
    }

    void text(const GumboText &node)
    {
        const std::optional<ByteSpan> whole = spanOf(node.original_text);
        if (!whole)
            return;
        // The text runs from the first non-blank to the last one before any
        // passed-over token; an edit must not swallow a token.
        ByteSpan span{whole->begin, whole->begin};
        while (span.begin < whole->end && isHtmlSpace(m_source.at(span.begin)))
            ++span.begin;
        size_t token = span.begin;
        while (token < whole->end && !tokenAt(token, whole->end))
            ++token;
        span.end = token;
        while (span.end > span.begin && isHtmlSpace(m_source.at(span.end - 1)))
            --span.end;
        if (span.begin == span.end)
            return;
        const auto bytes = [this](size_t begin, size_t end) {
            return std::string(m_source.data() + begin, end - begin);
        };
        const std::optional<std::string> decoded = decodedAlone(m_source.data() + span.begin, span.end - span.begin);
        // After the text only blanks may follow, around stray end tags
        // ("abc</span>\r\n"), never more text.
        const std::optional<std::string> after = token == whole->end
            ? breaksAsLf(bytes(span.end, whole->end))
            : decodedAlone(m_source.data() + span.end, whole->end - span.end);
        if (!decoded || isBlank(*decoded) || !after || !isBlank(*after))
            return;
        // Blanks, the text, blanks: all of the node, or the span is not what
        // gumbo read there.
        if (breaksAsLf(bytes(whole->begin, span.begin)) + *decoded + *after != node.text)
            return;
        ContentPiece piece;
        piece.kind = PieceKind::Text;
        piece.value = QString::fromStdString(*decoded);
        add(std::move(piece), span);
    }

    // The value of an attribute as written, quotes included; nothing for an
    // attribute without one, or when the tag does not read
    // "name = value" between the two.
    std::optional<ByteSpan> writtenValue(const GumboAttribute &attribute) const
    {
        const std::optional<ByteSpan> name = spanOf(attribute.original_name);
        const std::optional<ByteSpan> value = spanOf(attribute.original_value);
        if (!name || !value || value->begin == value->end || value->begin < name->end)
            return std::nullopt;
        int equals = 0;
        for (size_t i = name->end; i < value->begin; ++i) {
            if (m_source.at(i) == '=')
                ++equals;
            else if (!isHtmlSpace(m_source.at(i)))
                return std::nullopt;
        }
        return equals == 1 ? value : std::nullopt;
    }

    // Whether the start tag holds its name, the attributes gumbo reports and
    // nothing else. A duplicate attribute, which gumbo drops without a trace,
    // leaves bytes over: its element's addresses are not offered, since the
    // seller would see one of two values.
    bool everyAttributeReported(const GumboElement &element) const
    {
        const std::optional<ByteSpan> tag = spanOf(element.original_tag);
        if (!tag || tag->begin == tag->end || m_source.at(tag->begin) != '<')
            return false;
        size_t at = tag->begin + 1;
        while (at < tag->end && !isHtmlSpace(m_source.at(at)) && m_source.at(at) != '/' && m_source.at(at) != '>')
            ++at;
        const auto skipSeparators = [&](size_t until, bool closing) {
            for (; at < until; ++at) {
                const char c = m_source.at(at);
                if (!isHtmlSpace(c) && c != '/' && !(closing && c == '>'))
                    return false;
            }
            return true;
        };
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto &attribute = *static_cast<const GumboAttribute *>(element.attributes.data[i]);
            const std::optional<ByteSpan> name = spanOf(attribute.original_name);
            if (!name || name->begin < at || name->end > tag->end || !skipSeparators(name->begin, false))
                return false;
            // Gumbo reports a missing value as the name itself.
            const bool valueless = attribute.original_value.length == 0
                || attribute.original_value.data == attribute.original_name.data;
            const std::optional<ByteSpan> value = writtenValue(attribute);
            if (!value && !valueless)
                return false;
            at = value ? value->end : name->end;
            if (at > tag->end)
                return false;
        }
        return skipSeparators(tag->end, true);
    }

    // Where the content of a pre, listing or textarea starts, right after
    // its start tag.
    void noteContentStart(const GumboNode &node)
    {
        const GumboElement &element = node.v.element;
        if (element.tag_namespace != GUMBO_NAMESPACE_HTML || (node.parse_flags & GUMBO_INSERTION_BY_PARSER)
            || !dropsLeadingBreak(element.tag))
            return;
        const std::optional<ByteSpan> tag = spanOf(element.original_tag);
        if (tag && tag->end > tag->begin && m_source.at(tag->end - 1) == '>') {
            if (const int at = m_source.position(tag->end); at >= 0)
                m_contentStarts.push_back(at);
        }
    }

    struct Address
    {
        const GumboAttribute *attribute;
        PieceKind kind;
        bool srcset;
    };

    void element(const GumboNode &node)
    {
        const GumboElement &element = node.v.element;
        // Elements the parser made up (implied, or copies of a misnested
        // one) stand nowhere in the snippet, or share their tag with another.
        if (node.parse_flags & GUMBO_INSERTION_BY_PARSER)
            return;
        std::vector<Address> addresses;
        ContentPiece sized; // the picture size an img's addresses share
        if (element.tag_namespace == GUMBO_NAMESPACE_HTML) {
            const bool img = element.tag == GUMBO_TAG_IMG;
            if (!img && element.tag != GUMBO_TAG_SOURCE && element.tag != GUMBO_TAG_A)
                return;
            StyleSize styleWidth, styleHeight;
            for (unsigned i = 0; i < element.attributes.length; ++i) {
                const auto *attribute = static_cast<const GumboAttribute *>(element.attributes.data[i]);
                if (attribute->attr_namespace != GUMBO_ATTR_NAMESPACE_NONE)
                    continue;
                const char *name = attribute->name;
                if (element.tag == GUMBO_TAG_A) {
                    if (std::strcmp(name, "href") == 0)
                        addresses.push_back({attribute, PieceKind::Link, false});
                } else if (std::strcmp(name, "srcset") == 0) {
                    addresses.push_back({attribute, PieceKind::Picture, true});
                } else if (!img) {
                    continue;
                } else if (std::strcmp(name, "src") == 0) {
                    addresses.push_back({attribute, PieceKind::Picture, false});
                } else if (std::strcmp(name, "width") == 0) {
                    sized.width = pixels(QString::fromUtf8(attribute->value), false);
                } else if (std::strcmp(name, "height") == 0) {
                    sized.height = pixels(QString::fromUtf8(attribute->value), false);
                } else if (std::strcmp(name, "style") == 0) {
                    styleSize(QString::fromUtf8(attribute->value), styleWidth, styleHeight);
                }
            }
            // A size in the style wins over the attribute, as in the browser,
            // also one that is not in pixels.
            if (styleWidth.stated)
                sized.width = styleWidth.pixels;
            if (styleHeight.stated)
                sized.height = styleHeight.pixels;
        } else if (element.tag_namespace == GUMBO_NAMESPACE_SVG) {
            // href, and the older xlink:href, which the parser reports in
            // the XLink namespace.
            const PieceKind kind = element.tag == GUMBO_TAG_A ? PieceKind::Link : PieceKind::Picture;
            for (unsigned i = 0; i < element.attributes.length; ++i) {
                const auto *attribute = static_cast<const GumboAttribute *>(element.attributes.data[i]);
                if ((attribute->attr_namespace == GUMBO_ATTR_NAMESPACE_NONE
                     || attribute->attr_namespace == GUMBO_ATTR_NAMESPACE_XLINK)
                    && std::strcmp(attribute->name, "href") == 0)
                    addresses.push_back({attribute, kind, false});
            }
        }
        if (addresses.empty() || !everyAttributeReported(element))
            return;
        for (const Address &address : addresses) {
            sized.kind = address.kind;
            address.srcset ? srcset(*address.attribute, sized) : whole(*address.attribute, sized);
        }
    }

    // The value's characters without its quotes, and the quote; nothing
    // when the tag does not hold the value whole.
    std::optional<std::pair<ByteSpan, QChar>> unquoted(const GumboAttribute &attribute) const
    {
        std::optional<ByteSpan> span = writtenValue(attribute);
        if (!span)
            return std::nullopt;
        const char first = m_source.at(span->begin);
        if (first != '"' && first != '\'')
            return std::make_pair(*span, QChar());
        if (span->end - span->begin < 2 || m_source.at(span->end - 1) != first)
            return std::nullopt;
        return std::make_pair(ByteSpan{span->begin + 1, span->end - 1}, QChar(char16_t(first)));
    }

    // An attribute whose whole value is one address.
    void whole(const GumboAttribute &attribute, ContentPiece piece)
    {
        const auto value = unquoted(attribute);
        if (!value)
            return;
        piece.quote = value->second;
        piece.value = QString::fromUtf8(attribute.value);
        add(std::move(piece), value->first);
    }

    // Each address of a srcset, when the list as written and the list as
    // the browser reads it (character references decoded) name the same
    // addresses in the same places; none otherwise.
    void srcset(const GumboAttribute &attribute, ContentPiece piece)
    {
        const auto value = unquoted(attribute);
        if (!value)
            return;
        const auto [list, quote] = *value;
        const char *written = m_source.data() + list.begin;
        const std::vector<ByteSpan> spans = srcsetAddresses(written, list.end - list.begin);
        const std::string read = attribute.value;
        const std::vector<ByteSpan> addresses = srcsetAddresses(read.data(), read.size());
        if (spans.size() != addresses.size())
            return;
        // Unquoted, a new address is written in quotes of its own: it must
        // then be all of the value.
        if (quote.isNull() && !spans.empty() && (spans.size() != 1 || spans[0].end != list.end - list.begin))
            return;
        std::vector<std::pair<ContentPiece, ByteSpan>> found;
        for (size_t i = 0; i < spans.size(); ++i) {
            const std::string address = read.substr(addresses[i].begin, addresses[i].end - addresses[i].begin);
            if (decodedAttribute(std::string(written + spans[i].begin, spans[i].end - spans[i].begin)) != address)
                return;
            piece.quote = quote;
            piece.inSrcset = true;
            piece.value = QString::fromStdString(address);
            found.emplace_back(piece, ByteSpan{list.begin + spans[i].begin, list.begin + spans[i].end});
        }
        for (auto &[each, span] : found)
            add(std::move(each), span);
    }

    static void styleSize(QStringView style, StyleSize &width, StyleSize &height)
    {
        for (const QStringView declaration : style.split(u';')) {
            const qsizetype colon = declaration.indexOf(u':');
            if (colon < 0)
                continue;
            const QStringView property = declaration.left(colon).trimmed();
            const QStringView value = declaration.mid(colon + 1);
            // Without a value the declaration is void, as in the browser.
            StyleSize *size = property.compare(u"width", Qt::CaseInsensitive) == 0 ? &width
                : property.compare(u"height", Qt::CaseInsensitive) == 0            ? &height
                                                                                   : nullptr;
            if (size && !value.trimmed().isEmpty())
                *size = {true, pixels(value, true)};
        }
    }

    // Sorted by position. A span found twice (one attribute seen through a
    // copied element) counts once; spans that overlap are both dropped,
    // since an edit of one would cut into the other.
    static std::vector<ContentPiece> inSourceOrder(std::vector<ContentPiece> found)
    {
        std::sort(found.begin(), found.end(), [](const ContentPiece &a, const ContentPiece &b) {
            return a.start != b.start ? a.start < b.start : a.length < b.length;
        });
        const auto same = [](const ContentPiece &a, const ContentPiece &b) {
            return a.start == b.start && a.length == b.length && a.kind == b.kind;
        };
        found.erase(std::unique(found.begin(), found.end(), same), found.end());
        std::vector<bool> overlapping(found.size(), false);
        qsizetype reach = 0;
        size_t reacher = 0;
        for (size_t i = 0; i < found.size(); ++i) {
            if (i > 0 && found[i].start < reach) {
                overlapping[i] = true;
                overlapping[reacher] = true;
            }
            if (i == 0 || found[i].start + found[i].length > reach) {
                reach = found[i].start + found[i].length;
                reacher = i;
            }
        }
        std::vector<ContentPiece> kept;
        kept.reserve(found.size());
        for (size_t i = 0; i < found.size(); ++i)
            if (!overlapping[i])
                kept.push_back(std::move(found[i]));
        return kept;
    }

    const Utf8Snippet m_source;
    const ContentPieces::Scope m_scope;
    std::vector<ContentPiece> m_found;
    std::vector<int> m_contentStarts;
};

// Blanks and control characters around an address, which a browser strips.
QStringView withoutBlanksAround(QStringView address)
{
    while (!address.isEmpty() && address.front().unicode() <= 0x20)
        address = address.mid(1);
    while (!address.isEmpty() && address.back().unicode() <= 0x20)
        address.chop(1);
    return address;
}

// The scheme an address starts with, in lower case, when it is another
// than http and https. A scheme is a letter, then letters, digits, "+", "-"
// or ".", then ":".
std::optional<QString> refusedScheme(QStringView address)
{
    if (address.isEmpty() || !isAsciiLetter(address.front().unicode()))
        return std::nullopt;
    qsizetype end = 1;
    while (end < address.size()
           && (isAsciiLetter(address[end].unicode()) || (address[end] >= u'0' && address[end] <= u'9')
               || address[end] == u'+' || address[end] == u'-' || address[end] == u'.'))
        ++end;
    if (end == address.size() || address[end] != u':')
        return std::nullopt;
    const QString scheme = address.left(end).toString().toLower();
    if (scheme == u"http" || scheme == u"https")
        return std::nullopt;
    return scheme;
}

QString textMarkup(QStringView text, QStringView lineBreak)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case u'&':
            out += u"&amp;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case 0x00A0:
            out += u"&nbsp;";
            break;
        case u'\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += lineBreak;
            break;
        case u'\n':
            out += lineBreak;
            break;
        case 0:
            break; // the parser drops it
        default:
            out += QChar(c);
        }
    }
    return out;
}

QString attributeMarkup(QStringView address, QChar quote)
{
    const QChar q = quote.isNull() ? QChar(u'"') : quote;
    QString out;
    if (quote.isNull())
        out += q;
    for (const QChar c : address) {
        if (c == u'&')
            out += u"&amp;";
        else if (c == q)
            out += q == u'"' ? u"&quot;" : u"&#39;";
        else
            out += c;
    }
    if (quote.isNull())
        out += q;
    return out;
}

// An address as one of a srcset's list: a blank inside, or a comma at
// either end, would separate it from the next, so they are written
// percent-encoded, as the browser would fetch a blank anyway.
QString srcsetAddress(QStringView address)
{
    QString out;
    out.reserve(address.size());
    for (qsizetype i = 0; i < address.size(); ++i) {
        const QChar c = address[i];
        if (c == u' ')
            out += u"%20";
        else if (c == u',' && (i == 0 || i == address.size() - 1))
            out += u"%2C";
        else
            out += c;
    }
    return out;
}

// The snippet's first line break, which new multi-line text follows.
QStringView lineBreakOf(QStringView snippet)
{
    const qsizetype at = snippet.indexOf(u'\n');
    const qsizetype cr = snippet.indexOf(u'\r');
    if (cr >= 0 && (at < 0 || cr < at))
        return cr + 1 < snippet.size() && snippet[cr + 1] == u'\n' ? u"\r\n" : u"\r";
    return at >= 0 ? u"\n" : u"\r\n";
}

} // namespace

ContentPieces::ContentPieces(QString snippet, Scope scope)
    : m_snippet(std::move(snippet))
{
    if (m_snippet.size() <= MaxSnippet)
        m_pieces = PieceFinder(m_snippet, scope).find();
}

Result<QString> ContentPieces::apply(const QStringList &values) const
{
    if (values.size() != qsizetype(m_pieces.size()))
        return Failure{
            QStringLiteral("内容项的数目不符：应有 %1 项，收到 %2 项").arg(m_pieces.size()).arg(values.size())};
    QString out;
    QStringView lineBreak;
    qsizetype copied = 0;
    bool changed = false;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const ContentPiece &piece = m_pieces[i];
        QString replacement;
        if (piece.kind == PieceKind::Text) {
            if (values[qsizetype(i)] == piece.value)
                continue;
            if (lineBreak.isEmpty())
                lineBreak = lineBreakOf(m_snippet);
            replacement = textMarkup(values[qsizetype(i)], lineBreak);
            // The browser drops the first line break here; one more keeps
            // the text's own.
            if (piece.dropsLeadingBreak && (replacement.startsWith(u'\n') || replacement.startsWith(u'\r')))
                replacement.prepend(lineBreak);
        } else {
            // Blanks the seller added around the old address change nothing.
            const QStringView address = withoutBlanksAround(values[qsizetype(i)]);
            if (values[qsizetype(i)] == piece.value || address == withoutBlanksAround(piece.value))
                continue;
            const Result<> acceptable = checkAddress(address.toString());
            if (!acceptable)
                return Failure{QStringLiteral("第 %1 项：").arg(i + 1) + acceptable.error()};
            replacement = attributeMarkup(piece.inSrcset ? srcsetAddress(address) : address.toString(), piece.quote);
        }
        if (!changed)
            out.reserve(m_snippet.size() + 64);
        changed = true;
        out += QStringView(m_snippet).mid(copied, piece.start - copied);
        out += replacement;
        copied = piece.start + piece.length;
    }
    if (!changed)
        return m_snippet;
    out += QStringView(m_snippet).mid(copied);
    return out;
}

Result<> checkAddress(const QString &address)
{
    const QStringView trimmed = withoutBlanksAround(address);
    if (trimmed.isEmpty())
        return Failure{QStringLiteral("地址不能为空")};
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const char16_t c = trimmed[i].unicode();
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            return Failure{QStringLiteral("地址中不能有控制字符（如换行、制表符）")};
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < trimmed.size() && trimmed[i + 1].isLowSurrogate();
        if (pair)
            ++i;
        else if (QChar::isSurrogate(c))
            return Failure{QStringLiteral("地址中有无效的字符")};
    }
    const std::optional<QString> scheme = refusedScheme(trimmed);
    if (scheme)
        return Failure{
            QStringLiteral("不能使用“%1:”开头的地址，只能用 http:、https:、// 开头的地址或相对地址").arg(*scheme)};
    return {};
}

bool unsafeAddress(const QString &address)
{
    QString read = withoutBlanksAround(address).toString();
    read.removeIf([](QChar c) { return c == u'\t' || c == u'\n' || c == u'\r'; });
    return refusedScheme(read).has_value();
}

bool stillToReplace(PieceKind kind, const QString &value, const QStringList &samples)
{
    const QStringView trimmed = withoutBlanksAround(value);
    if (kind == PieceKind::Link && trimmed.startsWith(u'#'))
        return true;
    return samples.contains(trimmed);
}
