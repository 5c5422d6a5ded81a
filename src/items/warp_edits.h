// Putting a warp in and taking one out without moving the chart in time. A warp's rows
// take no time, so opening one moves everything from its start on later by its length
// in rows (the beat markers keep their samples and are numbered past it), and closing
// one moves everything after it back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "items/item_store.h"

namespace quillex {

// Moves every note, hold end, pause, delay and warp from `start` on later by `rows` and
// adds a warp of `rows` rows at `start`. The caller refreshes.
void openWarpRows(ItemStore& store, RowPosition start, std::int32_t rows);

// Removes warp `index` with the notes inside it (they were never played) and moves
// everything after it back by its length. The caller refreshes.
void closeWarpRows(ItemStore& store, std::size_t index);

} // namespace quillex
