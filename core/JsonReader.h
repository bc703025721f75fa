#pragma once

#include "Result.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// A value inside the text a JsonReader holds: where its JSON text begins
// and ends. A default one stands for a value that is not there.
struct JsonValue
{
    qsizetype begin = -1;
    qsizetype end = -1;

    bool exists() const { return begin >= 0; }
};

// Reads a JSON document (RFC 8259) kept as UTF-8, fast enough for a
// layout of many megabytes: read() checks the whole text once, after which
// values are found by position and only the strings asked for are decoded.
// Beyond the RFC it accepts one leading byte-order mark and control
// characters left unescaped inside strings, which are kept as they are.
// Nothing recurses, so no depth of nesting can exhaust the stack.
class JsonReader
{
public:
    enum class Type { Missing, Null, Bool, Number, String, Array, Object };

    struct Member
    {
        QString key;
        JsonValue value;
    };

    // The reader, or what is wrong with the text, in Chinese: empty,
    // cut off before its end, not UTF-8, or not JSON (with the byte).
    static Result<JsonReader> read(const QByteArray &text);

    JsonValue root() const { return m_root; }

    Type type(JsonValue value) const;
    // The value's JSON text as it stands in the document.
    QString text(JsonValue value) const;

    // Each of these expects a value of its type.
    QString string(JsonValue value) const;
    // None when the number lies beyond a double's range, too large or too
    // small to tell from 0: no value read from it would be the file's.
    std::optional<double> number(JsonValue value) const;
    std::vector<JsonValue> elements(JsonValue array) const;
    std::vector<Member> members(JsonValue object) const;
    // The member's value, the last one when the key repeats, as most
    // readers take it; a missing value when there is none.
    static JsonValue find(const std::vector<Member> &members, QLatin1StringView key);

private:
    explicit JsonReader(const QByteArray &text, JsonValue root);

    qsizetype skipValue(qsizetype at) const;
    qsizetype skipString(qsizetype at) const;
    qsizetype skipSpace(qsizetype at) const;

    QByteArray m_text;
    JsonValue m_root;
};
