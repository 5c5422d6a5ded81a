// Texts drawn once into pictures and kept from frame to frame: the grid labels and the
// status texts are mostly the same strings every frame, and blitting a picture costs a
// fraction of laying out and drawing the glyphs again (at the densest zoom the grid
// alone draws some four hundred labels a frame).
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quillex {

// A text in opaque white on a transparent picture; `offset` is where the picture's
// top-left corner lies from the point the text is drawn at (glyphs may reach a little
// left of and above it).
struct RenderedText {
    QImage image;
    QPoint offset;
};

class TextCache {
  public:
    // The text in `font` (0 or 1, the renderer's two fonts), drawn for a surface of
    // device pixel ratio `ratio`.
    const RenderedText& get(std::string_view text, int font, const QFont& qfont, qreal ratio);
    std::size_t size() const { return entries_[0].size() + entries_[1].size(); }

  private:
    // Looked up by string_view, so a frame's lookups make no strings.
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>()(text);
        }
    };
    std::unordered_map<std::string, RenderedText, Hash, std::equal_to<>> entries_[2];
};

} // namespace quillex
