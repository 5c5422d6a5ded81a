// A chart kept as read because it has timing of its own, moved onto the song's
// timing on request: each note goes to the row of the song's grid that sounds at the
// time the chart's own timing gives it, on the chart's level. A note that lands off
// the grid (more than a quarter of a row from any 192nd) goes to the nearest row and
// is named in a message.
#pragma once

#include <cstddef>
#include <string>

#include "fileio/song_file_context.h"

namespace quillex {

inline constexpr std::string_view kNoChartToConvertMessage =
    "There is no chart kept as read with that number.";

// Whether a chart kept as read is still written as read: it was not converted, or its
// level has no notes (the conversion was undone).
bool writtenAsRead(const KeptChart& chart, const ItemStore& store);

// Why kept chart `index` (see KeptSongData::charts) cannot be converted: there is no
// such chart, it has no level the editor edits, or that level has notes. Empty when it
// can.
std::string conversionRefusal(const Song& song, const ItemStore& store, std::size_t index);

// Converts kept chart `index`; false, with the refusal shown, when it cannot be. The
// caller opens the undo entry; the store is refreshed.
bool convertKeptChart(SongFileContext& context, std::size_t index);

} // namespace quillex
