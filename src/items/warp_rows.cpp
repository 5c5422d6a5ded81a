#include "items/warp_rows.h"

#include <algorithm>

namespace quillex {

namespace {

// The first warp whose start lies after `row`.
ItemList::const_iterator firstWarpAfter(const ItemList& warps, std::int32_t row) {
    return std::upper_bound(warps.begin(), warps.end(), row,
                            [](std::int32_t r, const EditItem& w) { return r < w.row(); });
}

} // namespace

std::int32_t timedRowOf(const ItemList& warps, std::int32_t row) {
    std::int32_t skipped = 0;
    for (auto it = warps.begin(), end = firstWarpAfter(warps, row); it != end; ++it)
        skipped += std::min(row - it->row(), it->lengthRows());
    return row - skipped;
}

std::int32_t playedRowAt(const ItemList& warps, std::int64_t timed) {
    std::int64_t row = timed;
    for (const EditItem& w : warps) {
        if (w.row() > row)
            break;
        row += w.lengthRows();
    }
    return static_cast<std::int32_t>(row);
}

const EditItem* warpHolding(const ItemList& warps, std::int32_t row) {
    const auto after = firstWarpAfter(warps, row);
    if (after == warps.begin())
        return nullptr;
    const EditItem& w = *std::prev(after);
    return row < w.endRow() ? &w : nullptr;
}

bool rowSwallowedByWarp(const ItemList& warps, std::int32_t row) {
    const auto after = firstWarpAfter(warps, row - 1);
    if (after == warps.begin())
        return false;
    const EditItem& w = *std::prev(after);
    return w.row() < row && row <= w.endRow();
}

} // namespace quillex
