// The rows the pauses and delays take in the editor, which a song file does not have:
// the file's rows run on through a stop or delay as a game's beats do. A pause's notes
// lie on its start row and a delay's on its end row, so both land on the stretch's own
// file row; rows strictly inside a stretch have no file row of their own.
#pragma once

#include <cstdint>
#include <vector>

#include "items/item_list.h"

namespace quillex {

class StretchRows {
  public:
    StretchRows(const ItemList& pauses, const ItemList& delays);

    bool empty() const { return starts_.empty(); }
    std::size_t count() const { return starts_.size(); }
    // The stretches in row order (pauses before delays on one row).
    std::int32_t startRow(std::size_t i) const { return starts_[i]; }
    std::int32_t lengthRows(std::size_t i) const { return lengths_[i]; }
    bool isDelay(std::size_t i) const { return delays_[i]; }

    // Strictly inside a stretch: after its start and before its end.
    bool inside(std::int32_t row) const;
    // The row with the rows of every stretch that starts before it taken out; a row
    // inside a stretch goes to where the stretch starts.
    std::int64_t withoutStretches(std::int32_t row) const;
    // The editor row a row without stretches stands for: the first that maps to it,
    // so a stretch's row gives the stretch's start, before its time.
    std::int64_t withStretches(std::int64_t row) const;

  private:
    std::size_t startingBefore(std::int32_t row) const;

    std::vector<bool> delays_;
    std::vector<std::int32_t> starts_;
    std::vector<std::int32_t> lengths_;
    std::vector<std::int64_t> removedBefore_; // rows of the stretches before each, and in all
    std::vector<std::int64_t> startsWithout_; // each start without the stretches before it
};

} // namespace quillex
