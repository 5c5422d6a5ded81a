// Laid-out texts kept from frame to frame: the grid labels and the status texts are
// mostly the same strings every frame, and laying out text is the slow part of
// drawing it.
#pragma once

#include <QFont>
#include <QStaticText>
#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quillex {

class TextCache {
  public:
    // The laid-out text for `font` (0 or 1, the renderer's two fonts).
    const QStaticText& get(std::string_view text, int font, const QFont& qfont);
    std::size_t size() const { return entries_[0].size() + entries_[1].size(); }

  private:
    // Looked up by string_view, so a frame's lookups make no strings.
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>()(text);
        }
    };
    std::unordered_map<std::string, QStaticText, Hash, std::equal_to<>> entries_[2];
};

} // namespace quillex
