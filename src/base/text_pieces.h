// Pieces of a text: trimming blanks, and splitting a value at a separator into its
// non-empty pieces, as every song and settings file value is split (";" statements,
// "," lists, ":" pairs).
#pragma once

#include <string_view>
#include <vector>

namespace quillex {

// Spaces, tabs and line-break characters.
inline constexpr std::string_view kBlanks = " \t\r\n\v\f";

constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Removes spaces at both ends (and nothing else).
inline std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// Removes blanks at both ends.
inline std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

inline std::vector<std::string_view> splitNonEmpty(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find(separator, pos);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > pos)
            pieces.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return pieces;
}

} // namespace quillex
