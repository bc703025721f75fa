#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

// The fuzzer's bytes read as UTF-8 (invalid sequences become U+FFFD), copied
// into a heap block of exactly the text's length with no terminator after it:
// QString keeps a terminating NUL past its end that would hide a read one
// character too far, the block lets AddressSanitizer report it.
class FuzzText
{
public:
    FuzzText(const uint8_t *data, size_t size)
    {
        const QString decoded = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
        m_size = decoded.size();
        m_chars = std::make_unique<QChar[]>(size_t(m_size));
        std::copy(decoded.cbegin(), decoded.cend(), m_chars.get());
    }

    // A QString over the block itself, not a copy.
    QString string() const { return QString::fromRawData(m_chars.get(), m_size); }
    QStringView view() const { return QStringView(m_chars.get(), m_size); }

private:
    std::unique_ptr<QChar[]> m_chars;
    qsizetype m_size = 0;
};

// Stops the run with the broken property and the input as the fuzzer's
// artifact.
[[noreturn]] inline void fuzzFailure(const char *property, const QString &input)
{
    std::fprintf(stderr, "Broken: %s\nInput (UTF-8): %s\n", property, input.toUtf8().constData());
    std::abort();
}
