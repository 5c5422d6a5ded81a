// Opening a song file: `.sm` files with the conversion of their tempo description
// into beat markers, and the own `.qx` song file with its `.qxx` companion.
#pragma once

#include <string>
#include <string_view>

#include "fileio/sm_timing.h"
#include "fileio/song_file_context.h"

namespace quillex {

inline constexpr std::string_view kNoBpmsMessage =
    "Song loaded, but I can't do anything now because I don't see any #BPMS information.";
inline constexpr std::string_view kNoBeatZeroMessage =
    "Song loaded, but I can't do anything now because Beat 0 is not defined in the #BPMS "
    "information.";
inline constexpr std::string_view kStopsMessage =
    "I found pauses while reading this SM file. I will try to convert the pauses to the "
    "Quillex format.\nWARNING: Depending on the number and nature of the pauses, this may "
    "shift beats and arrows incorrectly.\nFor best results when working with pauses, edit "
    "using the Quillex (QX) format, or the SM editor.";
// The same for a song file of another kind ("SSC"), which names it.
std::string stopsMessage(std::string_view fileKind);
inline constexpr std::string_view kForeignChartsMessage =
    "I found notes other than 'dance' and 'pump'. You won't be able to edit those in this "
    "version of quillex.";

// The chart runs past the longest time a sample position holds: what is lost.
std::string timelineCutMessage(std::size_t notesLost, std::int32_t lastBeat, int sampleRate);

inline std::string missingFileMessage(const std::string& path) {
    return "I can't open " + path + ": the file does not exist.";
}
inline std::string cannotReadMessage(const std::string& path) {
    return "I can't open " + path + ": the file could not be read.";
}
inline std::string notASongMessage(const std::string& path) {
    return "I can't open " + path + ": it is not a song file.";
}

// Reads a song file, chosen by the extension: ".sm", ".ssc" or ".qx" (exactly,
// case-sensitive); any other extension returns false without a message. The song's
// properties are reset first and its music is loaded from the song's folder, which
// replaces the previous music, beats, pauses and notes. True when a song with music
// (and, for ".sm" and ".ssc", beat markers) was built; on false whatever was loaded
// stays, and the reason has been shown. A ".sm" or ".ssc" file whose timing the
// timeline cannot hold (timingRefusal) is refused before anything changes.
bool readSong(SongFileContext& context, const std::string& path);

// The part of reading a `.sm` file after its music has loaded: the preview region from
// the song's tags, the tempo checks with their messages, the timing conversion, the
// beat markers, pauses, notes and meters, and the foreign-chart message. The song's
// tags and foreign charts are already in place.
bool buildSmSong(SongFileContext& context, SmTimingInput& input, std::string_view fileKind = "SM");

} // namespace quillex
