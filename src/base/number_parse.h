// Strict number reading for what the user types in dialogs: the whole text (blanks
// around it aside) must be one number, written with "." whatever the user's locale.
// Unlike the forgiving file readers of statement_text.h, anything else is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillex {

// A finite decimal number ("12.5", "-3", "+0.25", "1e3"); nothing for "", "abc",
// "12abc", "inf" or "nan", or a value too large for a double.
std::optional<double> parseDecimal(std::string_view text);
// A whole number with an optional sign that fits 64 bits; nothing otherwise.
std::optional<std::int64_t> parseWhole(std::string_view text);

} // namespace quillex
