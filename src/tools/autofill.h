// Many beat markers at once: an even grid at one BPM from a first-beat time to the end
// of the music (the quickest start of a new song), or a number of equally spaced
// markers between each pair of consecutive selected markers (half notes made quarter
// notes). The caller brackets each with its undo entry; both refresh the store.
#pragma once

#include <cstdint>

#include "items/item_store.h"

namespace quillex {

// Replaces every beat marker with markers `60 / bpm` seconds apart from `offsetSeconds`
// to the end of the music. The position runs on in double and is truncated only where
// a marker goes, so a long song does not drift. Returns the number of markers; nothing
// is added for a spacing below one sample.
std::size_t fillAtAverageBpm(ItemStore& store, double bpm, double offsetSeconds);

// Adds `count` markers between each pair of consecutive selected markers, at equal
// integer steps from the earlier one (the remainder falls in the last step), all from
// the samples as they were before. A pair too close for a step of one sample gets
// none. Returns the number of markers added.
std::size_t insertBetweenSelected(ItemStore& store, std::int64_t count);

} // namespace quillex
