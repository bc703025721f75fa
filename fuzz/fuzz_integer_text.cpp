// parseInteger against a reference built on std::from_chars: an optional
// sign, then one or more ASCII digits and nothing else, within qint32.
#include "FuzzInput.h"
#include "IntegerText.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace {

std::optional<qint32> referenceInteger(QStringView text)
{
    std::string ascii;
    for (const QChar c : text) {
        if (c.unicode() > 0x7f)
            return std::nullopt;
        ascii += char(c.unicode());
    }
    const bool signedText = !ascii.empty() && (ascii[0] == '+' || ascii[0] == '-');
    const auto digits = ascii.cbegin() + (signedText ? 1 : 0);
    if (digits == ascii.cend() || !std::all_of(digits, ascii.cend(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;

    // from_chars reads a leading '-' itself but not '+'.
    const char *first = ascii.data() + (ascii[0] == '+' ? 1 : 0);
    const char *last = ascii.data() + ascii.size();
    long long value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range)
        return std::nullopt; // beyond 64 bits, so beyond 32 as well
    if (error != std::errc() || end != last)
        std::abort(); // the reference itself is wrong
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzText input(data, size);
    const std::optional<qint32> parsed = parseInteger(input.view());

    if (parsed != referenceInteger(input.view()))
        fuzzFailure("parseInteger differs from the from_chars reference", input.string());
    // Every value read back from its own decimal form.
    if (parsed && parseInteger(QString::number(*parsed)) != parsed)
        fuzzFailure("a parsed value does not read back from its decimal form", input.string());
    return 0;
}
