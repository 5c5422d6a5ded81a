// Straighten Beats: the selected markers put on the one constant tempo that fits them
// best (least squares of sample against row), so beats tapped with B land within a
// few milliseconds of the true beats where averaging neighbours cannot. Locked markers
// are part of the fit but stay where they are. Planned first and refused as a whole
// when a marker would leave the music or pass a neighbour, as the other moves are.
#pragma once

#include <string_view>
#include <variant>

#include "tools/beat_moves.h"

namespace quillex {

inline constexpr std::string_view kStraightenLabel = "Straighten Beats";
inline constexpr std::string_view kStraightenNeedsThreeMessage =
    "Select at least 3 beats to straighten.";

std::variant<BeatMove, std::string_view> planStraighten(const ItemStore& store);

} // namespace quillex
