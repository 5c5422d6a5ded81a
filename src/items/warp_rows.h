// The rows that take time. A warp is a stretch of rows of the grid that takes none:
// rows start .. start + length - 1 are skipped (their notes are not played) and the
// row after them sounds where the warp's start row does. These functions count rows
// along the time axis ("timed rows") over a warp list sorted by start row, in which no
// two warps overlap or touch (as the refresh leaves it).
#pragma once

#include <cstdint>

#include "items/item_list.h"

namespace quillex {

// Rows from row 0 up to `row` that take time: `row` less the warp rows before it. Every
// row of a warp and the row after it give the same count.
std::int32_t timedRowOf(const ItemList& warps, std::int32_t row);

// The row that is played where `timed` timed rows have passed: the first row after a
// warp rather than the warp's skipped start.
std::int32_t playedRowAt(const ItemList& warps, std::int64_t timed);

// The warp whose rows [start, start + length) hold `row`, or null.
const EditItem* warpHolding(const ItemList& warps, std::int32_t row);

// True when a regular beat marker cannot sit on `row`: it lies after a warp's start up to
// and including its end, so it sounds where the warp's start row does.
bool rowSwallowedByWarp(const ItemList& warps, std::int32_t row);

} // namespace quillex
