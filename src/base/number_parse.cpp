#include "base/number_parse.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "base/text_pieces.h"

namespace quillex {

namespace {

// The text without surrounding blanks and without a leading "+" (which from_chars
// does not take); empty when nothing numeric can be left.
std::string_view numberBody(std::string_view text) {
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return {};
    }
    return text;
}

} // namespace

std::optional<double> parseDecimal(std::string_view text) {
    text = numberBody(text);
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> parseWhole(std::string_view text) {
    text = numberBody(text);
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace quillex
