// Autosync: a beat marker on every beat the analysis found, from a starting marker (or
// the start of the music) to the end. The beats come as plain sample positions, so
// this tool does not depend on how they were found. Markers at or before the start
// stay, and so do locked markers after it: a found beat within half a beat of a locked
// marker gives way to it. Notes keep their rows and are re-timed by the refresh. The
// caller brackets the edit with one undo entry labelled kAutosyncLabel.
#pragma once

#include <string_view>
#include <vector>

#include "items/item_store.h"

namespace quillex {

inline constexpr std::string_view kAutosyncLabel = "Autosync";

// The sample of the lowest selected marker, or -1 (before the music) with none selected.
SamplePosition autosyncStart(const ItemStore& store);

// Replaces the unlocked markers after `from` with the `beats` after it (ascending
// samples, fractional) and refreshes. Returns the number of markers added.
std::size_t placeFoundBeats(ItemStore& store, SamplePosition from,
                            const std::vector<double>& beats);

} // namespace quillex
