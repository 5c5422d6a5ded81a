// Splitting a value at a separator into its non-empty pieces, as every song and
// settings file value is split (";" statements, "," lists, ":" pairs).
#pragma once

#include <string_view>
#include <vector>

namespace quillex {

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
