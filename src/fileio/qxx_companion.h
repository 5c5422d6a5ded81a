// The companion file of the own song format (".qxx" beside the ".qx"): the exact beat
// markers with their properties, the pauses, delays, warps and notes in rows, the meters, the
// preview region in samples and the cursor, one "#KEY:value;" statement per line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fileio/song_file_context.h"
#include "model/kept_charts.h"

namespace quillex {

inline constexpr std::string_view kMissingCompanionMessage =
    "I can't find the corresponding QXX file.  Beat and step data will not be loaded at "
    "this time.";

inline constexpr std::string_view kNotLoaded =
    "The beats, pauses and notes of the song are not loaded.";

// The companion as found beside the song file: its joined text when it could be read.
struct CompanionFile {
    enum class State { Read, Missing, Folder, Unreadable };
    State state = State::Missing;
    std::string text;
};
CompanionFile readCompanionFile(const std::string& path);

// Puts a companion read by readCompanionFile into the item store, the meters and the
// preview region and refreshes the store. One that is missing, a folder, unreadable or
// empty shows a message naming it (the missing-companion message when it is not there)
// and leaves a song without beats: false. One that is damaged, or that is not the one
// saved with the song file (its check value differs from `expectedCheck`, which is
// empty for a song file of an older version), opens with what could be read and a
// message naming what was lost.
bool readCompanion(SongFileContext& context, const std::string& companionPath,
                   const CompanionFile& file, std::string_view expectedCheck);

// The same from text already joined (lines put together without separators). Returns
// what could not be read, one sentence each; empty for a whole companion.
std::vector<std::string> applyCompanionText(SongFileContext& context, std::string_view joinedText);

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
