// The song as its files see it: the descriptive properties, the tags of the last file
// read, what it keeps as read (statements and charts the editor does not edit), and
// the tables and options the writer uses. The timing and the editable charts live in the ItemStore,
// the music and its preview region in the music player.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_type.h"
#include "model/kept_charts.h"
#include "model/note_kind.h"
#include "model/song_properties.h"
#include "model/tag_map.h"

namespace quillex {

// One entry of the measure resolution table: a measure written with `rowsPerMeasure`
// rows uses the 192-row grid positions where `pattern` holds '1'.
struct MeasureResolution {
    int rowsPerMeasure;
    std::string pattern; // 192 characters
};

inline constexpr int kRowsPerMeasure = 192;

// What a chart's "#NOTES" header says besides its type, difficulty and meter: the
// author's description and the radar values, kept as the file gave them (texts) so
// that a save writes them back unchanged. A chart no file described has neither.
struct ChartTexts {
    std::string description;
    std::vector<std::string> radarValues;

    friend bool operator==(const ChartTexts&, const ChartTexts&) = default;
};
using ChartTextTable = std::array<ChartTexts, kLevelCount>;

class Song {
  public:
    Song();

    SongProperties& properties() { return properties_; }
    const SongProperties& properties() const { return properties_; }

    // Every statement of the last file read that the reader did not interpret.
    TagMap& tags() { return tags_; }
    const TagMap& tags() const { return tags_; }

    // The description and radar values of each level's chart.
    ChartTextTable& chartTexts() { return chartTexts_; }
    const ChartTextTable& chartTexts() const { return chartTexts_; }

    // What the song file held that is written back as read.
    KeptSongData& kept() { return kept_; }
    const KeptSongData& kept() const { return kept_; }

    // 4, 8, 12, 16, 24, 32, 48, 64 and 96 rows per measure, in that order.
    const std::array<MeasureResolution, 9>& measureResolutions() const { return resolutions_; }

    // "Remove duplicate BPMs on save" (#REMOVEDUPLICATEBPMS).
    bool removeDuplicateBpms() const { return removeDuplicateBpms_; }
    void setRemoveDuplicateBpms(bool on) { removeDuplicateBpms_ = on; }
    // One BPM per beat interval (true) or a single BPM for the song; Save As sets it
    // from the chosen file type.
    bool perBeatBpm() const { return perBeatBpm_; }
    void setPerBeatBpm(bool on) { perBeatBpm_ = on; }

    // Whole beats of the file's beat grid that lie before the first beat marker: a
    // positive #OFFSET puts the file's first beats before the music's first sample,
    // where no marker can sit. The writer numbers the file's beats from there again,
    // so that every measure keeps its number and notes before marker 1 have a row.
    int beatsBeforeFirstMarker() const { return beatsBeforeFirstMarker_; }
    void setBeatsBeforeFirstMarker(int beats) { beatsBeforeFirstMarker_ = beats; }

    // The folder the banner and background names are relative to ("" for the working
    // folder): where the song was read from or last saved, or the music opened alone.
    const std::string& folder() const { return folder_; }
    void setFolder(std::string folder) { folder_ = std::move(folder); }

    // The music the song named did not load and the user chose another file in its
    // place: the song then names that file and has changed since it was read.
    bool musicLocated() const { return musicLocated_; }
    void setMusicLocated(bool located) { musicLocated_ = located; }

    // The markers were placed from the file's seconds at the rate of the silence that
    // stands in for music not found (a `.sm` or `.ssc` read), so music given later
    // scales them to its rate; a `.qx` companion's samples are its music's own.
    bool timedInSeconds() const { return timedInSeconds_; }
    void setTimedInSeconds(bool timed) { timedInSeconds_ = timed; }

    // Empties what a read fills: the tag map, the chart texts, what
    // a `.ssc` file kept, the beats before the first marker, whether the music was
    // located and how the markers were timed.
    void clearFileData();
    // A song or a music file is being opened: default properties, no file data.
    void reset();

  private:
    SongProperties properties_;
    TagMap tags_;
    ChartTextTable chartTexts_;
    KeptSongData kept_;
    std::array<MeasureResolution, 9> resolutions_;
    bool removeDuplicateBpms_ = true;
    bool perBeatBpm_ = true;
    int beatsBeforeFirstMarker_ = 0;
    bool musicLocated_ = false;
    bool timedInSeconds_ = false;
    std::string folder_;
};

} // namespace quillex
