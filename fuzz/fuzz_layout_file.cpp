// Layout files against Qt's own JSON reader, and the writer against the
// reader. The input is read as a layout file's bytes, and also as UTF-16
// texts (any units, unpaired surrogates too) making a layout to save.
#include "FuzzInput.h"
#include "JsonReader.h"
#include "LayoutFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstring>
#include <optional>

namespace {

QString hexOf(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

bool hasLineBreak(const QString &name)
{
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == u'\v' || u == u'\f' || u == 0x85 || u == 0x2028 || u == 0x2029)
            return true;
    }
    return false;
}

// The same rules as LayoutFile::fromJson, written over QJsonDocument.
std::optional<Layout> reference(const QJsonDocument &document)
{
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject top = document.object();
    const auto integral = [](const QJsonValue &v, double &out) {
        out = v.toDouble();
        return v.isDouble() && std::fabs(out) < 9.0e15 && out == std::trunc(out);
    };
    double version = 0;
    double shopType = 0;
    if (top.value(QLatin1String("format")).toString() != QLatin1String("zanfor-layout")
        || !integral(top.value(QLatin1String("version")), version) || version != LayoutFile::Version
        || !integral(top.value(QLatin1String("shopType")), shopType) || shopType < -1 || shopType > 1)
        return std::nullopt;
    Layout layout;
    layout.shopType = int(shopType);
    const QJsonValue width = top.value(QLatin1String("pageWidth"));
    const QJsonValue items = top.value(QLatin1String("items"));
    if (!width.isString() || width.toString() != layout.pageWidth() || !items.isArray())
        return std::nullopt;
    for (const QJsonValue item : items.toArray()) {
        const QJsonValue name = item.toObject().value(QLatin1String("name"));
        const QJsonValue html = item.toObject().value(QLatin1String("html"));
        if (!item.isObject() || !name.isString() || !html.isString())
            return std::nullopt;
        if (hasLineBreak(name.toString()))
            return std::nullopt;
        layout.names.append(name.toString());
        layout.snippets.append(html.toString());
    }
    return layout;
}

bool hasUnpairedSurrogate(const QStringList &texts)
{
    for (const QString &text : texts) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            else if (text[i].isSurrogate())
                return true;
        }
    }
    return false;
}

// Saving the layout refuses exactly what cannot be stored; what is saved
// opens again as it was, and Qt's reader reads the same texts.
void checkWriter(const Layout &layout, const QString &input)
{
    const Result<QByteArray> json = LayoutFile::toJson(layout);
    bool breaks = false;
    for (const QString &name : layout.names)
        breaks = breaks || hasLineBreak(name);
    if (json.ok() == (breaks || hasUnpairedSurrogate(layout.names) || hasUnpairedSurrogate(layout.snippets)))
        fuzzFailure(json.ok() ? "saved what cannot be stored exactly" : "refused a layout that can be stored", input);
    if (!json.ok())
        return;
    const Result<Layout> opened = LayoutFile::fromJson(*json);
    if (!opened.ok() || opened.value() != layout)
        fuzzFailure("a saved layout does not open as it was", input);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(*json, &error);
    const std::optional<Layout> seen = reference(document);
    if (error.error != QJsonParseError::NoError || !seen || *seen != layout)
        fuzzFailure("Qt's reader reads a saved layout differently", input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The bytes themselves, with nothing after them, so that a read past
    // the end is caught.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const Result<JsonReader> read = JsonReader::read(bytes);
    const Result<Layout> opened = LayoutFile::fromJson(bytes);
    if (opened.ok() && !read.ok())
        fuzzFailure("a layout opened from text the reader refuses", hexOf(bytes));

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    // Qt refuses a document that is not an array or an object, what nests
    // 1024 deep and numbers beyond a double's range; otherwise nothing this
    // reader accepts may be refused by Qt's.
    const JsonReader::Type rootType = read.ok() ? read->type(read->root()) : JsonReader::Type::Missing;
    const bool container = rootType == JsonReader::Type::Object || rootType == JsonReader::Type::Array;
    if (container && error.error != QJsonParseError::NoError && error.error != QJsonParseError::DeepNesting
        && error.error != QJsonParseError::IllegalNumber)
        fuzzFailure("accepted what Qt's JSON reader refuses", hexOf(bytes));
    // Qt's reader drops an unescaped U+FEFF at the start of a string, taking
    // it for a byte-order mark, where the layout reader keeps every character.
    if (read.ok() && error.error == QJsonParseError::NoError && bytes.indexOf("\xEF\xBB\xBF", 1) < 0) {
        const std::optional<Layout> expected = reference(document);
        if (opened.ok() != expected.has_value() || (expected && opened.value() != *expected))
            fuzzFailure("the layout read differs from the one Qt's reader gives", hexOf(bytes));
    }
    if (opened.ok()) {
        const Result<QByteArray> saved = LayoutFile::toJson(opened.value());
        if (saved.ok() != !(hasUnpairedSurrogate(opened->names) || hasUnpairedSurrogate(opened->snippets)))
            fuzzFailure("an opened layout does not save, or saves an unpaired surrogate", hexOf(bytes));
        const Result<Layout> again = saved.ok() ? LayoutFile::fromJson(*saved) : opened;
        if (!again.ok() || again.value() != opened.value())
            fuzzFailure("an opened layout saved does not open as it was", hexOf(bytes));
    }

    // The same bytes as UTF-16 texts: a name, a snippet, a name... split
    // at U+001E, the shop type from the length.
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, size / 2 * 2);
    const QStringList texts = units.split(QChar(0x1E));
    Layout layout;
    layout.shopType = int(size % 3) - 1;
    for (qsizetype i = 0; i + 1 < texts.size(); i += 2) {
        layout.names.append(texts[i]);
        layout.snippets.append(texts[i + 1]);
    }
    checkWriter(layout, hexOf(bytes));
    return 0;
}
