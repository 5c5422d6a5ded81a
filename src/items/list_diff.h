// Where two item lists differ: the lengths of their equal front and back, found a chunk
// at a time. Chunks the lists share are equal without looking at them, so comparing a
// list with an edited copy of it costs the chunks the edit touched.
#pragma once

#include <cstddef>

#include "items/item_list.h"

namespace quillex {

// How many items from the front of `a` and `b` are equal, up to `most`.
std::size_t equalFront(const ItemList& a, const ItemList& b, std::size_t most);
// How many items from the back of `a` and `b` are equal, up to `most`.
std::size_t equalBack(const ItemList& a, const ItemList& b, std::size_t most);

} // namespace quillex
