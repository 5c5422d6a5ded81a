// The order of a note list: by row, then by column. Two notes of one key sit on one spot.
#pragma once

#include <cstdint>

#include "model/edit_item.h"

namespace quillex {

inline std::int64_t noteKey(std::int64_t row, std::int32_t column) {
    return row * kRowsPerBeat + column;
}

inline std::int64_t noteKey(const EditItem& n) {
    return noteKey(n.row(), n.column);
}

} // namespace quillex
