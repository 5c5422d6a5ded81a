#include "items/stretch_rows.h"

#include <algorithm>

namespace quillex {

StretchRows::StretchRows(const ItemList& pauses, const ItemList& delays) {
    std::vector<EditItem> stretches(pauses.begin(), pauses.end());
    stretches.insert(stretches.end(), delays.begin(), delays.end());
    std::stable_sort(stretches.begin(), stretches.end(),
                     [](const EditItem& a, const EditItem& b) { return a.row() < b.row(); });
    std::int64_t total = 0;
    removedBefore_.push_back(0);
    for (const EditItem& s : stretches) {
        delays_.push_back(s.kind == ItemKind::Delay);
        starts_.push_back(s.row());
        lengths_.push_back(s.lengthRows());
        startsWithout_.push_back(s.row() - total);
        total += s.lengthRows();
        removedBefore_.push_back(total);
    }
}

std::size_t StretchRows::startingBefore(std::int32_t row) const {
    return static_cast<std::size_t>(std::lower_bound(starts_.begin(), starts_.end(), row) -
                                    starts_.begin());
}

bool StretchRows::inside(std::int32_t row) const {
    const std::size_t before = startingBefore(row);
    return before > 0 &&
           row < static_cast<std::int64_t>(starts_[before - 1]) + lengths_[before - 1];
}

std::int64_t StretchRows::withoutStretches(std::int32_t row) const {
    const std::size_t before = startingBefore(row);
    if (before > 0 && row < static_cast<std::int64_t>(starts_[before - 1]) + lengths_[before - 1])
        return startsWithout_[before - 1];
    return row - removedBefore_[before];
}

std::int64_t StretchRows::withStretches(std::int64_t row) const {
    const auto before = static_cast<std::size_t>(
        std::lower_bound(startsWithout_.begin(), startsWithout_.end(), row) -
        startsWithout_.begin());
    return row + removedBefore_[before];
}

} // namespace quillex
