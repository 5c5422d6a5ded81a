// The text of a `.sm` song file (also the content of the own `.qx` song file): the
// header from the song's properties, one BPM per beat interval or one for the song,
// the pauses as stops with their rows taken out of the chart, the kept tags, the
// charts measure by measure and the foreign charts as they were read.
#pragma once

#include <string>
#include <string_view>

#include "items/item_store.h"
#include "model/game_type.h"
#include "model/song.h"

namespace quillex {

// The names a song's header gives its files, relative to the folder it is written to.
struct SongFileNames {
    std::string music;
    std::string banner;
    std::string background;
};

struct SmWriteInput {
    const Song& song;
    const ItemStore& store; // refreshed, with at least two beat markers
    const MeterTable& meters;
    std::string_view musicPath;
    int sampleRate;
    int previewStart;
    int previewEnd;
    // When set, the header names these files; otherwise the music's file name and
    // the banner and background as the properties name them.
    const SongFileNames* names = nullptr;
};

// The whole file, line breaks written as CR LF.
std::string smSongText(const SmWriteInput& input);

} // namespace quillex
