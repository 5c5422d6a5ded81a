// The companion file of the own song format (".qxx" beside the ".qx"): the exact beat
// markers with their properties, the pauses, delays, warps and notes in rows, the meters, the
// preview region in samples and the cursor, one "#KEY:value;" statement per line.
#pragma once

#include <string>
#include <string_view>

#include "fileio/song_file_context.h"
#include "model/kept_charts.h"

namespace quillex {

inline constexpr std::string_view kMissingCompanionMessage =
    "I can't find the corresponding QXX file.  Beat and step data will not be loaded at "
    "this time.";

// Reads the companion into the item store, the meters and the preview region and
// refreshes the store. A companion that cannot be opened shows the missing-companion
// message and leaves a song without beats. Returns whether the file was opened.
bool readCompanion(SongFileContext& context, const std::string& companionPath);

// The same from text already joined (lines put together without separators).
void applyCompanionText(SongFileContext& context, std::string_view joinedText);

// The companion's text for the store's lists as they are (pauses included), with line
// breaks written as CR LF. The song's beats before its first marker, its delays, its
// warps and what it keeps from a `.ssc` are written only when there are any, and
// `standInRate` only when it is not 0: the rate of the silence standing in for music
// not found, at which the samples were counted (music loaded later scales them).
std::string companionText(const ItemStore& store, const MeterTable& meters, int previewStart,
                          int previewEnd, SamplePosition cursor,
                          std::int32_t beatsBeforeFirstMarker = 0, const KeptSongData& kept = {},
                          int standInRate = 0);

} // namespace quillex
