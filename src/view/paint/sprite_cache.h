// Cells of pictures scaled to the size they are drawn at and turned, kept so that a
// frame only blits ready images: the same note picture is drawn hundreds of times a
// frame at one size and four turns.
#pragma once

#include <QImage>
#include <QRect>

#include <cstdint>
#include <unordered_map>

namespace quillex {

// How a cell is turned before drawing. The four rotations are clockwise on screen;
// the mirrors flip left-right or top-bottom.
enum class Turn : std::uint8_t { None, Clockwise, HalfTurn, CounterClockwise, MirrorX, MirrorY };

class SpriteCache {
  public:
    // The cell of `source` scaled to width × height and turned. `pictureId` with the
    // other arguments identifies the entry; the cache is emptied when it grows large.
    const QImage& get(const QImage& source, int pictureId, QRect cell, int width, int height,
                      Turn turn);
    void clear() { entries_.clear(); }
    std::size_t size() const { return entries_.size(); }

    struct Key {
        std::uint64_t picture; // picture id, turn and drawn size
        std::uint64_t cell;
        friend bool operator==(const Key&, const Key&) = default;
    };

  private:
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            return std::hash<std::uint64_t>()(k.picture * 0x9e3779b97f4a7c15ULL ^ k.cell);
        }
    };
    std::unordered_map<Key, QImage, KeyHash> entries_;
};

// Turns an image as the sprites do.
QImage turned(const QImage& image, Turn turn);

} // namespace quillex
