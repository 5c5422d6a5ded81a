// Scaled and turned picture cells.
#include "view/paint/sprite_cache.h"

#include <QTransform>

namespace quillex {

namespace {

constexpr std::size_t kMaxEntries = 4096;

SpriteCache::Key keyOf(int pictureId, QRect cell, int width, int height, Turn turn) {
    // Every coordinate and size stays below 65536 pixels.
    auto pack = [](int a, int b, int c, int d) {
        return (static_cast<std::uint64_t>(a & 0xffff) << 48) |
               (static_cast<std::uint64_t>(b & 0xffff) << 32) |
               (static_cast<std::uint64_t>(c & 0xffff) << 16) |
               static_cast<std::uint64_t>(d & 0xffff);
    };
    return {pack(pictureId, static_cast<int>(turn), width, height),
            pack(cell.x(), cell.y(), cell.width(), cell.height())};
}

} // namespace

QImage turned(const QImage& image, Turn turn) {
    switch (turn) {
    case Turn::None:
        return image;
    case Turn::Clockwise:
        return image.transformed(QTransform().rotate(90));
    case Turn::HalfTurn:
        return image.transformed(QTransform().rotate(180));
    case Turn::CounterClockwise:
        return image.transformed(QTransform().rotate(270));
    case Turn::MirrorX:
        return image.mirrored(true, false);
    case Turn::MirrorY:
        return image.mirrored(false, true);
    }
    return image;
}

const QImage& SpriteCache::get(const QImage& source, int pictureId, QRect cell, int width,
                               int height, Turn turn) {
    const Key key = keyOf(pictureId, cell, width, height, turn);
    auto found = entries_.find(key);
    if (found != entries_.end())
        return found->second;
    if (entries_.size() >= kMaxEntries)
        entries_.clear();
    // Turned a quarter, the cell's width becomes the drawn height.
    const bool quarter = turn == Turn::Clockwise || turn == Turn::CounterClockwise;
    QImage part = source.copy(cell).scaled(quarter ? height : width, quarter ? width : height,
                                           Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage ready = turned(part, turn).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return entries_.emplace(key, std::move(ready)).first->second;
}

} // namespace quillex
