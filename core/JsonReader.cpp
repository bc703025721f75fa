#include "JsonReader.h"

#include <QByteArrayView>

#include <vector>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The one pass that checks a whole text: the grammar, every escape and
// every UTF-8 sequence. It keeps the open arrays and objects on a stack of
// its own rather than recursing.
class Checker
{
public:
    enum Fault { None, Truncated, Invalid, NotUtf8 };

    Checker(const char *text, qsizetype size)
        : s(text)
        , n(size)
    {
    }

    Fault fault = None;
    qsizetype at = 0; // where the fault is
    JsonValue root;

    // Checks the text from `from`, which holds something besides blanks.
    bool document(qsizetype from)
    {
        pos = from;
        root.begin = pos;
        std::vector<char> open; // '{' or '[' for each container entered
        for (;;) {
            // A value is expected at pos.
            if (pos == n)
                return fail(Truncated);
            const char c = s[pos];
            bool entered = false;
            if (c == '{' || c == '[') {
                open.push_back(c);
                ++pos;
                skipSpace();
                if (pos == n)
                    return fail(Truncated);
                if (s[pos] == (c == '{' ? '}' : ']')) {
                    ++pos;
                    open.pop_back();
                } else {
                    entered = true;
                }
            } else if (c == '"') {
                if (!string())
                    return false;
            } else if (c == '-' || (c >= '0' && c <= '9')) {
                if (!number())
                    return false;
            } else if (c == 't' || c == 'f' || c == 'n') {
                if (!literal(c == 't' ? "true" : c == 'f' ? "false" : "null"))
                    return false;
            } else {
                return fail(Invalid);
            }
            // After a value (or on entering an object): the next member's
            // key, the next element, or the end of containers.
            for (;;) {
                if (open.empty()) {
                    root.end = pos;
                    skipSpace();
                    return pos == n || fail(Invalid);
                }
                if (!entered) {
                    skipSpace();
                    if (pos == n)
                        return fail(Truncated);
                    const char next = s[pos];
                    if (next == (open.back() == '{' ? '}' : ']')) {
                        ++pos;
                        open.pop_back();
                        continue;
                    }
                    if (next != ',')
                        return fail(Invalid);
                    ++pos;
                    skipSpace();
                }
                if (open.back() == '{' && !key())
                    return false;
                break;
            }
        }
    }

private:
    bool fail(Fault f)
    {
        fault = f;
        at = pos;
        return false;
    }

    void skipSpace()
    {
        while (pos < n && isSpace(s[pos]))
            ++pos;
    }

    // A member's key and its colon, leaving pos at the value.
    bool key()
    {
        if (pos == n)
            return fail(Truncated);
        if (s[pos] != '"')
            return fail(Invalid);
        if (!string())
            return false;
        skipSpace();
        if (pos == n)
            return fail(Truncated);
        if (s[pos] != ':')
            return fail(Invalid);
        ++pos;
        skipSpace();
        return true;
    }

    bool string()
    {
        ++pos; // the opening quote
        for (;;) {
            if (pos == n)
                return fail(Truncated);
            const auto c = uchar(s[pos]);
            if (c == '"') {
                ++pos;
                return true;
            }
            if (c == '\\') {
                if (!escape())
                    return false;
            } else if (c < 0x80) {
                ++pos;
            } else if (!utf8()) {
                return false;
            }
        }
    }

    bool escape()
    {
        ++pos; // the backslash
        if (pos == n)
            return fail(Truncated);
        switch (s[pos++]) {
        case '"':
        case '\\':
        case '/':
        case 'b':
        case 'f':
        case 'n':
        case 'r':
        case 't':
            return true;
        case 'u':
            break;
        default:
            --pos;
            return fail(Invalid);
        }
        for (int i = 0; i < 4; ++i, ++pos) {
            if (pos == n)
                return fail(Truncated);
            if (hexValue(s[pos]) < 0)
                return fail(Invalid);
        }
        return true;
    }

    // One character of two to four bytes: no overlong form, no surrogate,
    // nothing above U+10FFFF.
    bool utf8()
    {
        const auto c = uchar(s[pos]);
        int length = 0;
        uchar low = 0x80, high = 0xBF; // the range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
        } else {
            return fail(NotUtf8);
        }
        for (int i = 1; i < length; ++i) {
            if (pos + i == n)
                return fail(Truncated);
            const auto b = uchar(s[pos + i]);
            if (b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF))
                return fail(NotUtf8);
        }
        pos += length;
        return true;
    }

    bool digits()
    {
        if (pos == n)
            return fail(Truncated);
        if (s[pos] < '0' || s[pos] > '9')
            return fail(Invalid);
        while (pos < n && s[pos] >= '0' && s[pos] <= '9')
            ++pos;
        return true;
    }

    bool number()
    {
        if (s[pos] == '-')
            ++pos;
        if (pos < n && s[pos] == '0')
            ++pos;
        else if (!digits())
            return false;
        if (pos < n && s[pos] == '.') {
            ++pos;
            if (!digits())
                return false;
        }
        if (pos < n && (s[pos] == 'e' || s[pos] == 'E')) {
            ++pos;
            if (pos < n && (s[pos] == '+' || s[pos] == '-'))
                ++pos;
            if (!digits())
                return false;
        }
        return true;
    }

    bool literal(const char *word)
    {
        for (; *word; ++word, ++pos) {
            if (pos == n)
                return fail(Truncated);
            if (s[pos] != *word)
                return fail(Invalid);
        }
        return true;
    }

    const char *s;
    qsizetype n;
    qsizetype pos = 0;
};

QString byteNumber(qsizetype at)
{
    return u"第 " % QString::number(at + 1) % u" 个字节";
}

} // namespace

JsonReader::JsonReader(const QByteArray &text, JsonValue root)
    : m_text(text)
    , m_root(root)
{
}

Result<JsonReader> JsonReader::read(const QByteArray &text)
{
    qsizetype from = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (from < text.size() && isSpace(text[from]))
        ++from;
    if (from == text.size())
        return Failure{QStringLiteral("文件是空的")};
    Checker checker(text.constData(), text.size());
    if (checker.document(from))
        return JsonReader(text, checker.root);
    switch (checker.fault) {
    case Checker::Truncated:
        return Failure{QStringLiteral("文件不完整，可能在写入或复制时被截断")};
    case Checker::NotUtf8:
        return Failure{u"内容不是 UTF-8 编码的文本（" % byteNumber(checker.at) % u"）"};
    default:
        return Failure{u"内容不是有效的 JSON（" % byteNumber(checker.at) % u"处出错）"};
    }
}

JsonReader::Type JsonReader::type(JsonValue value) const
{
    if (!value.exists())
        return Type::Missing;
    switch (m_text[value.begin]) {
    case '{':
        return Type::Object;
    case '[':
        return Type::Array;
    case '"':
        return Type::String;
    case 't':
    case 'f':
        return Type::Bool;
    case 'n':
        return Type::Null;
    default:
        return Type::Number;
    }
}

QString JsonReader::text(JsonValue value) const
{
    return QString::fromUtf8(m_text.constData() + value.begin, value.end - value.begin);
}

QString JsonReader::string(JsonValue value) const
{
    // The text was checked: every escape and sequence here is whole and
    // valid. A character takes no more UTF-16 units than it has bytes.
    const auto *s = reinterpret_cast<const uchar *>(m_text.constData());
    qsizetype i = value.begin + 1;
    const qsizetype end = value.end - 1;
    QString out(end - i, Qt::Uninitialized);
    auto *d = reinterpret_cast<char16_t *>(out.data());
    char16_t *const start = d;
    while (i < end) {
        const uchar c = s[i];
        if (c < 0x80 && c != '\\') {
            *d++ = c;
            ++i;
        } else if (c == '\\') {
            const uchar e = s[i + 1];
            i += 2;
            switch (e) {
            case 'b':
                *d++ = u'\b';
                break;
            case 'f':
                *d++ = u'\f';
                break;
            case 'n':
                *d++ = u'\n';
                break;
            case 'r':
                *d++ = u'\r';
                break;
            case 't':
                *d++ = u'\t';
                break;
            case 'u':
                *d++ = char16_t(hexValue(char(s[i])) << 12 | hexValue(char(s[i + 1])) << 8
                                | hexValue(char(s[i + 2])) << 4 | hexValue(char(s[i + 3])));
                i += 4;
                break;
            default:
                *d++ = e;
                break; // " \ /
            }
        } else if (c < 0xE0) {
            *d++ = char16_t((c & 0x1F) << 6 | (s[i + 1] & 0x3F));
            i += 2;
        } else if (c < 0xF0) {
            *d++ = char16_t((c & 0x0F) << 12 | (s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F));
            i += 3;
        } else {
            const char32_t u = char32_t(c & 0x07) << 18 | char32_t(s[i + 1] & 0x3F) << 12
                | char32_t(s[i + 2] & 0x3F) << 6 | char32_t(s[i + 3] & 0x3F);
            *d++ = QChar::highSurrogate(u);
            *d++ = QChar::lowSurrogate(u);
            i += 4;
        }
    }
    out.truncate(d - start);
    return out;
}

std::optional<double> JsonReader::number(JsonValue value) const
{
    bool ok = false;
    const double d = QByteArrayView(m_text.constData() + value.begin, value.end - value.begin).toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return d;
}

qsizetype JsonReader::skipSpace(qsizetype at) const
{
    while (at < m_text.size() && isSpace(m_text[at]))
        ++at;
    return at;
}

qsizetype JsonReader::skipString(qsizetype at) const
{
    // The text was checked, so the closing quote is there and no escape
    // is cut short.
    const char *s = m_text.constData();
    for (qsizetype p = at + 1;; ++p) {
        if (s[p] == '\\')
            ++p;
        else if (s[p] == '"')
            return p + 1;
    }
}

qsizetype JsonReader::skipValue(qsizetype at) const
{
    const char c = m_text[at];
    if (c == '"')
        return skipString(at);
    if (c == '{' || c == '[') {
        int depth = 0;
        for (qsizetype p = at;;) {
            const char d = m_text[p];
            if (d == '"') {
                p = skipString(p);
                continue;
            }
            if (d == '{' || d == '[') {
                ++depth;
            } else if ((d == '}' || d == ']') && --depth == 0) {
                return p + 1;
            }
            ++p;
        }
    }
    qsizetype p = at;
    while (p < m_text.size() && !isSpace(m_text[p]) && m_text[p] != ',' && m_text[p] != ']' && m_text[p] != '}')
        ++p;
    return p;
}

std::vector<JsonValue> JsonReader::elements(JsonValue array) const
{
    std::vector<JsonValue> out;
    qsizetype p = skipSpace(array.begin + 1);
    if (m_text[p] == ']')
        return out;
    for (;;) {
        const qsizetype end = skipValue(p);
        out.push_back({p, end});
        p = skipSpace(end);
        if (m_text[p] != ',')
            return out;
        p = skipSpace(p + 1);
    }
}

std::vector<JsonReader::Member> JsonReader::members(JsonValue object) const
{
    std::vector<Member> out;
    qsizetype p = skipSpace(object.begin + 1);
    if (m_text[p] == '}')
        return out;
    for (;;) {
        const qsizetype keyEnd = skipString(p);
        QString key = string({p, keyEnd});
        p = skipSpace(skipSpace(keyEnd) + 1); // past the colon
        const qsizetype end = skipValue(p);
        out.push_back({std::move(key), {p, end}});
        p = skipSpace(end);
        if (m_text[p] != ',')
            return out;
        p = skipSpace(p + 1);
    }
}

JsonValue JsonReader::find(const std::vector<Member> &members, QLatin1StringView key)
{
    for (auto m = members.rbegin(); m != members.rend(); ++m) {
        if (m->key == key)
            return m->value;
    }
    return {};
}
