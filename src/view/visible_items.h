// Finding the items in view without walking the whole list: beats, pauses and notes
// are kept sorted so that their samples never decrease, so the items in view are one
// run found by two binary searches.
#pragma once

#include <algorithm>
#include <cstddef>

#include "items/item_list.h"
#include "view/view_geometry.h"

namespace quillex {

struct IndexRange {
    std::size_t first = 0;
    std::size_t last = 0; // one past the end
    bool empty() const { return first >= last; }
};

// Indices of the items whose sample lies strictly inside the view. The list must be
// ordered by sample (as the refresh leaves it).
inline IndexRange visibleRange(const ItemList& items, const ViewGeometry& view) {
    const double begin = view.visibleBegin();
    const double end = view.visibleEnd();
    auto first = std::partition_point(items.begin(), items.end(),
                                      [begin](const EditItem& e) { return e.sample <= begin; });
    auto last = std::partition_point(first, items.end(),
                                     [end](const EditItem& e) { return e.sample < end; });
    return {static_cast<std::size_t>(first - items.begin()),
            static_cast<std::size_t>(last - items.begin())};
}

} // namespace quillex
