// The order of a note list: by row, then by column. Two notes of one key sit on one spot.
#pragma once

#include <cstdint>

#include "model/edit_item.h"

namespace quillex {

inline std::int64_t noteKey(const EditItem& n) {
    return static_cast<std::int64_t>(n.row()) * kRowsPerBeat + n.column;
}

} // namespace quillex
