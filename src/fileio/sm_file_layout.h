// Where a song's rows lie in a written `.sm` or `.ssc` file and what is written
// there: the pause rows taken out of the grid, the tempo statements fitted to the beat
// markers, and each level's chart measure by measure. Both writers lay a song out
// alike, so that a song read from either kind of file comes back on the same samples.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/sm_tempo_fit.h"
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

inline constexpr std::string_view kFileLineBreak = "\r\n";

inline void appendFileLine(std::string& out, std::string_view text) {
    out.append(text).append(kFileLineBreak);
}

// The header lines from the song's properties, naming the files as `names` gives them
// or else the music's file name and the properties' banner and background.
std::vector<std::string> songHeaderLines(const SmWriteInput& in);

class StretchRows;
class FileGrid;

class SongFileLayout {
  public:
    // `withWarps`: the file holds the song's warps (`.ssc`). Without them (`.sm`) the
    // warp rows take time in the file, and the tempo between the markers around a warp
    // is fitted to keep them on their samples.
    SongFileLayout(const SmWriteInput& in, bool withWarps);
    ~SongFileLayout();
    SongFileLayout(const SongFileLayout&) = delete;
    SongFileLayout& operator=(const SongFileLayout&) = delete;

    // The #OFFSET, #BPMS and #STOPS values.
    const SmTempoText& tempo() const { return tempo_; }
    // Whether the file holds any of the level's notes (notes inside pauses it does not).
    bool holdsNotes(LevelIndex level) const;
    // The level's measures, a row a line, "," after each measure and ";" after the last.
    void appendMeasures(std::string& out, LevelIndex level) const;

  private:
    const SmWriteInput& in_;
    std::unique_ptr<StretchRows> pauses_;
    std::unique_ptr<FileGrid> grid_;
    SmTempoText tempo_;
    std::int64_t measures_ = 1;
};

} // namespace quillex
