#include "LayoutFile.h"

#include "JsonReader.h"
#include "LineBreaks.h"
#include "PageOutput.h"

#include "ScratchPlatform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace LayoutFile {

namespace {

// The characters after which a text continues on a new line, Unicode's
// mandatory breaks: a display name is one line.
bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool hasLineBreak(QStringView text)
{
    for (const QChar c : text) {
        if (isLineBreak(c.unicode()))
            return true;
    }
    return false;
}

// Builds the file's bytes: JSON text written straight as UTF-8, with room
// made for a whole string before it is written.
class JsonWriter
{
public:
    explicit JsonWriter(qsizetype expected) { m_bytes.reserve(expected); }

    void raw(const char *ascii)
    {
        const qsizetype n = qsizetype(std::strlen(ascii));
        std::memcpy(room(n), ascii, size_t(n));
        m_size += n;
    }

    // The text as the body of a JSON string: the quote, the backslash and
    // the control characters escaped, everything else as UTF-8. Returns the
    // position of the first unpaired surrogate, which UTF-8 has no bytes
    // for, or -1 when the text is stored exactly.
    qsizetype string(QStringView text)
    {
        static const char hex[] = "0123456789abcdef";
        // At most six bytes for a unit (\u001f), four for a pair.
        char *const start = room(6 * text.size());
        char *d = start;
        const char16_t *s = text.utf16();
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = s[i];
            if (c < 0x80) {
                if (c >= 0x20 && c != u'"' && c != u'\\') {
                    *d++ = char(c);
                    continue;
                }
                *d++ = '\\';
                switch (c) {
                case u'"':
                    *d++ = '"';
                    break;
                case u'\\':
                    *d++ = '\\';
                    break;
                case u'\n':
                    *d++ = 'n';
                    break;
                case u'\r':
                    *d++ = 'r';
                    break;
                case u'\t':
                    *d++ = 't';
                    break;
                case u'\b':
                    *d++ = 'b';
                    break;
                case u'\f':
                    *d++ = 'f';
                    break;
                default:
                    *d++ = 'u';
                    *d++ = '0';
                    *d++ = '0';
                    *d++ = hex[c >> 4];
                    *d++ = hex[c & 0xF];
                }
            } else if (c < 0x800) {
                *d++ = char(0xC0 | c >> 6);
                *d++ = char(0x80 | (c & 0x3F));
            } else if (c == 0xFEFF) {
                // Escaped: some readers take it at the start of a string for
                // a byte-order mark and drop it.
                std::memcpy(d, "\\ufeff", 6);
                d += 6;
            } else if (!QChar::isSurrogate(c)) {
                *d++ = char(0xE0 | c >> 12);
                *d++ = char(0x80 | (c >> 6 & 0x3F));
                *d++ = char(0x80 | (c & 0x3F));
            } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
                const char32_t u = QChar::surrogateToUcs4(c, s[++i]);
                *d++ = char(0xF0 | u >> 18);
                *d++ = char(0x80 | (u >> 12 & 0x3F));
                *d++ = char(0x80 | (u >> 6 & 0x3F));
                *d++ = char(0x80 | (u & 0x3F));
            } else {
                return i;
            }
        }
        m_size += d - start;
        return -1;
    }

    QByteArray take()
    {
        m_bytes.truncate(m_size);
        return std::move(m_bytes);
    }

private:
    char *room(qsizetype n)
    {
        if (m_bytes.size() < m_size + n)
            m_bytes.resize(std::max(m_size + n, 2 * m_bytes.size()));
        return m_bytes.data() + m_size;
    }

    QByteArray m_bytes;
    qsizetype m_size = 0;
};

// An item as messages name it: its position from 1 and its name on one
// line, shortened.
QString itemLabel(qsizetype index, const QString &name)
{
    QString shown = name.left(40);
    for (QChar &c : shown) {
        if (isLineBreak(c.unicode()))
            c = u'↵';
    }
    if (shown.size() < name.size())
        shown += u'…';
    return u"第 " % QString::number(index + 1) % u" 项（\"" % shown % u"\"）";
}

QString unpaired(qsizetype at)
{
    return u"第 " % QString::number(at + 1) % u" 个字符是不成对的 UTF-16 代理码元，布局文件无法原样保存它";
}

QString quoted(QLatin1StringView key)
{
    return u'"' % QString(key) % u'"';
}

QString missing(QLatin1StringView key)
{
    return u"缺少 " % quoted(key) % u" 字段";
}

// Reads the fields of a checked JSON text and words what is wrong with one.
class Fields
{
public:
    explicit Fields(const JsonReader &reader)
        : m_reader(reader)
    {
    }

    // A value as the file has it, for messages: its JSON text, shortened.
    QString shown(JsonValue value) const
    {
        // 200 bytes hold the 40 characters shown, whatever their length.
        const QString text = m_reader.text({value.begin, std::min(value.end, value.begin + 200)});
        return text.size() > 40 ? text.left(40) + u'…' : text;
    }

    QString wrongValue(QLatin1StringView key, const QString &expected, JsonValue value) const
    {
        return quoted(key) % u" 应为" % expected % u"，文件中为 " % shown(value);
    }

    // A JSON number with an integral value (1 and 1.0 alike); none beyond
    // a double's range, where 1e400 and 1e-400 would both read as 0.
    std::optional<qint64> integer(JsonValue value) const
    {
        if (m_reader.type(value) != JsonReader::Type::Number)
            return std::nullopt;
        const std::optional<double> number = m_reader.number(value);
        if (!number)
            return std::nullopt;
        const double d = *number;
        if (!(std::fabs(d) < 9.0e15) || d != std::trunc(d))
            return std::nullopt;
        return qint64(d);
    }

private:
    const JsonReader &m_reader;
};

QString nativePath(const QString &path)
{
    return ScratchPlatform::displayPath(path);
}

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// Puts the bytes in the place of the file at `path` in one step, flushed to
// disk: a seller's hour of work must outlive a power cut, unlike the
// scratch files. Returns the system's reason on failure, having changed
// nothing.
Result<qint64> writeWhole(const QString &path, const QByteArray &bytes)
{
    if (ScratchPlatform::fileStatus(path).kind == ScratchPlatform::FileStatus::Folder)
        return Failure{QStringLiteral("这个位置是一个文件夹")};
    return ScratchPlatform::writeFileWhole(path, bytes);
}

} // namespace

Result<QByteArray> toJson(const Layout &layout, const Origin *origin)
{
    if (!ShopType::isValid(layout.shopType))
        return Failure{u"店铺类型 " % QString::number(layout.shopType) % u" 无效"};
    if (layout.names.size() != layout.snippets.size())
        return Failure{QStringLiteral("名称与代码的数目不一致")};

    qsizetype expected = 160;
    for (qsizetype i = 0; i < layout.names.size(); ++i)
        expected += 3 * (layout.names.at(i).size() + layout.snippets.at(i).size()) / 2 + 40;
    JsonWriter out(expected);
    const QByteArray head = "{\n    \"format\": \"zanfor-layout\",\n    \"version\": " + QByteArray::number(Version)
        + ",\n    \"shopType\": " + QByteArray::number(layout.shopType) + ",\n    \"pageWidth\": \""
        + layout.pageWidth().toLatin1() + "\",\n    \"items\": [";
    out.raw(head.constData());
    for (qsizetype i = 0; i < layout.names.size(); ++i) {
        const QString &name = layout.names.at(i);
        if (hasLineBreak(name))
            return Failure{itemLabel(i, name) % u"的名称含有换行，名称只能是一行"};
        out.raw(i ? ",\n        {\"name\": \"" : "\n        {\"name\": \"");
        if (const qsizetype at = out.string(name); at >= 0)
            return Failure{itemLabel(i, name) % u"的名称中" % unpaired(at)};
        out.raw("\", \"html\": \"");
        if (const qsizetype at = out.string(layout.snippets.at(i)); at >= 0)
            return Failure{itemLabel(i, name) % u"的代码中" % unpaired(at)};
        out.raw("\"}");
    }
    out.raw(layout.names.isEmpty() ? "]" : "\n    ]");
    if (origin) {
        // A name that is not text keeps its U+FFFD: the file is found
        // again by locate().
        QString file = origin->file;
        for (QChar &c : file) {
            if (c.isSurrogate())
                c = QChar::ReplacementCharacter;
        }
        out.raw(",\n    \"recovery\": {\"file\": \"");
        (void)out.string(file);
        const FileStamp &stamp = origin->stamp;
        const QByteArray rest = "\", \"modified\": " + QByteArray(origin->modified ? "true" : "false")
            + ", \"size\": \"" + QByteArray::number(stamp.size) + "\", \"time\": \""
            + QByteArray::number(stamp.modified) + "\", \"sha256\": \"" + stamp.hash.toHex() + "\"}";
        out.raw(rest.constData());
    }
    out.raw("\n}\n");
    return out.take();
}

Result<Layout> fromJson(const QByteArray &json, Origin *origin)
{
    const Result<JsonReader> read = JsonReader::read(json);
    if (!read)
        return Failure{read.error()};
    const JsonReader &reader = *read;
    const Fields fields(reader);
    if (reader.type(reader.root()) != JsonReader::Type::Object)
        return Failure{QStringLiteral("不是布局文件（内容不是 JSON 对象）")};
    const std::vector<JsonReader::Member> top = reader.members(reader.root());
    const auto field = [&](const char *key) { return JsonReader::find(top, QLatin1StringView(key)); };

    const JsonValue format = field("format");
    if (!format.exists())
        return Failure{missing(QLatin1StringView("format")) % u"，不是布局文件"};
    if (reader.type(format) != JsonReader::Type::String || reader.string(format) != QLatin1StringView("zanfor-layout"))
        return Failure{u"格式为 " % fields.shown(format) % u"，不是布局文件"};

    const JsonValue versionValue = field("version");
    if (!versionValue.exists())
        return Failure{missing(QLatin1StringView("version"))};
    const std::optional<qint64> version = fields.integer(versionValue);
    if (!version || *version < 1)
        return Failure{fields.wrongValue(QLatin1StringView("version"), QStringLiteral("正整数"), versionValue)};
    if (*version > Version)
        return Failure{u"这个文件由更新版本的 Zanfor描述排版器 制作（格式版本 " % QString::number(*version)
                       % u"），本程序只能打开版本 " % QString::number(Version) % u" 的布局文件"};

    Layout layout;
    const JsonValue shopValue = field("shopType");
    if (!shopValue.exists())
        return Failure{missing(QLatin1StringView("shopType"))};
    const std::optional<qint64> shopType = fields.integer(shopValue);
    if (!shopType || *shopType < ShopType::None || *shopType > ShopType::Tmall)
        return Failure{fields.wrongValue(QLatin1StringView("shopType"), QStringLiteral(" -1、0 或 1"), shopValue)};
    layout.shopType = int(*shopType);

    const JsonValue widthValue = field("pageWidth");
    if (!widthValue.exists())
        return Failure{missing(QLatin1StringView("pageWidth"))};
    const QString width = reader.type(widthValue) == JsonReader::Type::String ? reader.string(widthValue) : QString();
    if (width != QLatin1StringView("750") && width != QLatin1StringView("790"))
        return Failure{
            fields.wrongValue(QLatin1StringView("pageWidth"), QStringLiteral(" \"750\" 或 \"790\""), widthValue)};
    if (width != layout.pageWidth())
        return Failure{u"\"pageWidth\" 为 \"" % width % u"\"，与 \"shopType\" " % QString::number(layout.shopType)
                       % u" 不符（应为 \"" % layout.pageWidth() % u"\"）"};

    const JsonValue itemsValue = field("items");
    if (!itemsValue.exists())
        return Failure{missing(QLatin1StringView("items"))};
    if (reader.type(itemsValue) != JsonReader::Type::Array)
        return Failure{fields.wrongValue(QLatin1StringView("items"), QStringLiteral("数组"), itemsValue)};
    const std::vector<JsonValue> items = reader.elements(itemsValue);
    layout.names.reserve(qsizetype(items.size()));
    layout.snippets.reserve(qsizetype(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto label = [i]() -> QString { return u"第 " % QString::number(i + 1) % u" 项"; };
        if (reader.type(items[i]) != JsonReader::Type::Object)
            return Failure{label() % u"应为 JSON 对象，文件中为 " % fields.shown(items[i])};
        const std::vector<JsonReader::Member> members = reader.members(items[i]);
        QString texts[2]; // the name, the snippet
        const QLatin1StringView keys[] = {QLatin1StringView("name"), QLatin1StringView("html")};
        for (int k = 0; k < 2; ++k) {
            const JsonValue value = JsonReader::find(members, keys[k]);
            if (!value.exists())
                return Failure{label() % missing(keys[k])};
            if (reader.type(value) != JsonReader::Type::String)
                return Failure{label() % u"的" % fields.wrongValue(keys[k], QStringLiteral("文本"), value)};
            texts[k] = reader.string(value);
        }
        if (hasLineBreak(texts[0]))
            return Failure{itemLabel(qsizetype(i), texts[0]) % u"的名称含有换行，名称只能是一行"};
        layout.names.append(std::move(texts[0]));
        layout.snippets.append(std::move(texts[1]));
    }
    if (origin) {
        const QString damaged = QStringLiteral("恢复信息不完整");
        const JsonValue recovery = field("recovery");
        if (reader.type(recovery) != JsonReader::Type::Object)
            return Failure{damaged};
        const std::vector<JsonReader::Member> members = reader.members(recovery);
        QString texts[4]; // the file, the size, the time, the hash
        const char *keys[] = {"file", "size", "time", "sha256"};
        for (int k = 0; k < 4; ++k) {
            const JsonValue value = JsonReader::find(members, QLatin1StringView(keys[k]));
            if (reader.type(value) != JsonReader::Type::String)
                return Failure{damaged};
            texts[k] = reader.string(value);
        }
        const JsonValue modified = JsonReader::find(members, QLatin1StringView("modified"));
        if (reader.type(modified) != JsonReader::Type::Bool)
            return Failure{damaged};
        bool sizeOk = false, timeOk = false;
        origin->file = texts[0];
        origin->modified = reader.text(modified) == u"true";
        origin->stamp = FileStamp{texts[1].toLongLong(&sizeOk), texts[2].toLongLong(&timeOk),
                                  QByteArray::fromHex(texts[3].toLatin1())};
        if (!sizeOk || !timeOk)
            return Failure{damaged};
    }
    return layout;
}

Result<QString> locate(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    Result<QString> found = ScratchPlatform::findFile(absolute);
    if (!found)
        return Failure{u"无法打开布局文件 \"" % nativePath(absolute) % u"\"：" % found.error()};
    return found;
}

Result<> save(const QString &path, const Layout &layout, FileStamp *stamp)
{
    const QString prefix = u"无法保存布局文件 \"" % nativePath(path) % u"\"：";
    const Result<QByteArray> json = toJson(layout);
    if (!json)
        return Failure{prefix % json.error()};
    const Result<qint64> written = writeWhole(path, *json);
    if (!written)
        return Failure{prefix % written.error()};
    if (stamp)
        *stamp = FileStamp{json->size(), *written, hashOf(*json)};
    return {};
}

Result<Layout> open(const QString &path, qint64 maxBytes, FileStamp *stamp)
{
    using ScratchPlatform::FileStatus;
    const QString prefix = u"无法打开布局文件 \"" % nativePath(path) % u"\"：";
    const FileStatus info = ScratchPlatform::fileStatus(path);
    switch (info.kind) {
    case FileStatus::Missing:
        return Failure{prefix % u"文件不存在"};
    case FileStatus::Unknown:
        return Failure{prefix % info.reason};
    case FileStatus::Folder:
        return Failure{prefix % u"这是一个文件夹，不是布局文件"};
    case FileStatus::Other:
        return Failure{prefix % u"这不是普通文件"};
    case FileStatus::Regular:
        break;
    }
    if (info.size > maxBytes)
        return Failure{prefix % u"文件有 " % QString::number(info.size) % u" 字节，超过布局文件 "
                       % QString::number(maxBytes / (1024 * 1024)) % u" MB 的上限"};

    // No more than the size just checked is read, even from a file that
    // grows meanwhile.
    FileStatus read;
    const Result<QByteArray> bytes = ScratchPlatform::readFile(path, info.size, &read);
    if (!bytes)
        return Failure{prefix % u"无法读取：" % bytes.error()};
    if (read.kind != FileStatus::Regular)
        return Failure{prefix % u"这不是普通文件"};

    Result<Layout> layout = fromJson(*bytes);
    if (!layout)
        return Failure{prefix % layout.error()};
    if (stamp)
        *stamp = FileStamp{read.size, read.modified, hashOf(*bytes)};
    return layout;
}

bool isUnchanged(const QString &path, const FileStamp &stamp)
{
    using ScratchPlatform::FileStatus;
    if (!stamp.isKnown())
        return true;
    const FileStatus now = ScratchPlatform::fileStatus(path);
    if (now.kind == FileStatus::Missing)
        return true;
    if (now.kind != FileStatus::Regular)
        return false;
    if (now.size == stamp.size && now.modified == stamp.modified)
        return true;
    // Touched but the same bytes (a backup tool, a copy with the same
    // content) is no change.
    if (now.size != stamp.size)
        return false;
    const Result<QByteArray> bytes = ScratchPlatform::readFile(path, now.size, nullptr);
    return bytes && hashOf(*bytes) == stamp.hash;
}

Result<> exportPage(const QString &path, const QStringList &snippets)
{
    const QByteArray page = normalizeLineBreakBytes(PageOutput::joinPage(snippets).toUtf8());
    if (const Result<qint64> written = writeWhole(path, page); !written)
        return Failure{u"无法导出页面 \"" % nativePath(path) % u"\"：" % written.error()};
    return {};
}

} // namespace LayoutFile
