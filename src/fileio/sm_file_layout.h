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

// "KEY:value;" and a line break.
void appendStatement(std::string& out, std::string_view key, std::string_view value);
// The song statements kept as read, in their order.
void appendKeptSongStatements(std::string& out, const Song& song);

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
    // The charts the file holds, in the order the song's file gave them: each level
    // with notes in the first place it had (levels no file placed follow in level
    // order), each chart kept as read in its place, or its level there when it was
    // moved onto it.
    std::vector<ChartSlot> charts() const;

  private:
    const SmWriteInput& in_;
    std::unique_ptr<StretchRows> pauses_;
    std::unique_ptr<FileGrid> grid_;
    SmTempoText tempo_;
    std::int64_t measures_ = 1;
};

} // namespace quillex
