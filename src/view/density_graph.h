// The density graph beside the song-position bar: the current chart's notes per
// second, a bar per measure along the whole song on the position bar's scale, with the
// densest measure marked. A click on it seeks as a click on the bar does.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "items/item_store.h"
#include "tools/chart_statistics.h"
#include "view/position_bar.h"

namespace quillex {

class DensityGraph {
  public:
    static constexpr int kWidth = 22;
    // Its left edge; its bars grow rightwards towards the position bar.
    static constexpr int kX = PositionBar::kX - kWidth - 2;

    // The row where the song file's measures begin (see measureOriginRow).
    void setMeasureOrigin(int originRow) { originRow_ = originRow; }
    // Takes the current chart's figures again when its notes, the timing, the level or
    // the measure origin changed since the last time (the store's revision tells).
    void update(const ItemStore& store);
    const ChartStatistics& statistics() const { return stats_; }

    // True for an x strictly inside the graph's columns.
    static bool contains(int x) { return kX < x && x < kX + kWidth; }

    // A run of rows whose bars are one length (in pixels, 0 for none), top to bottom.
    struct Span {
        int top = 0;
        int bottom = 0; // inclusive
        int length = 0;
    };
    // The bars as drawn for a window client height: each row shows the densest measure
    // over it, on the position bar's row scale.
    std::vector<Span> spans(const PositionBar& bar, int clientHeight) const;
    // The rows of the densest measure; nothing without notes.
    std::optional<Span> peak(const PositionBar& bar, int clientHeight) const;

  private:
    SamplePosition sampleOf(double seconds) const {
        return static_cast<SamplePosition>(std::llround(seconds * sampleRate_));
    }

    ChartStatistics stats_;
    double sampleRate_ = 0;
    int originRow_ = measureOriginRow(1);
    std::uint64_t revision_ = ~std::uint64_t{0};
    LevelIndex level_ = -1;
    int computedOrigin_ = 0;
};

} // namespace quillex
