// The song's descriptive properties: the texts a game's song wheel shows, the
// picture files and how the BPM is displayed. The readers set them from the tags of
// a song file, the writers turn them back into header lines, and the Properties
// dialog edits them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/tag_map.h"

namespace quillex {

enum class DisplayBpmMode : std::int32_t { None = 0, Range = 1, Random = 2 };

struct SongProperties {
    std::string title;
    std::string subtitle;
    std::string artist;
    std::string genre;
    std::string credit;
    bool selectable = true;
    DisplayBpmMode displayBpmMode = DisplayBpmMode::None;
    std::string displayBpmLow = "100.000";
    std::string displayBpmHigh = "100.000";
    std::string banner;     // file name in the song folder
    std::string background; // file name in the song folder
    std::string cdTitle;

    // Back to the defaults (a song or a music file is being opened).
    // Swapped with fresh properties rather than assigned, so the texts of the last song
    // free their memory instead of keeping it for the next.
    void reset() {
        SongProperties fresh;
        std::swap(*this, fresh);
    }

    // Title, subtitle, artist, genre, credit, CD title, selectable, display BPM and
    // banner from the first value of their tags; values are used as they stand.
    void applyTags(const TagMap& tags);
    // The background is taken only once the music has loaded.
    void applyBackground(const TagMap& tags) { background = tags.first("#BACKGROUND"); }

    // The display BPM exactly as a "#DISPLAYBPM" value gives it: empty is mode None,
    // "*" is Random, anything else a range "low:high" (a value without ":" is both).
    void setDisplayBpmFromText(std::string_view value);
    void setDisplayBpm(DisplayBpmMode mode, std::string low, std::string high);

    // The property lines a song file starts with, in order and without line breaks:
    // title, subtitle, artist, the genre when there is one, credit, music
    // (`musicFileName`), selectable, background, banner, CD title and, unless the mode
    // is None, the display BPM.
    std::vector<std::string> headerLines(std::string_view musicFileName) const {
        return headerLines(musicFileName, banner, background);
    }
    // The same with the banner and background written under other names (the song
    // is being saved into another folder).
    std::vector<std::string> headerLines(std::string_view musicFileName,
                                         std::string_view bannerName,
                                         std::string_view backgroundName) const;

    friend bool operator==(const SongProperties&, const SongProperties&) = default;
};

} // namespace quillex
