// Where a rhythm game plays the rows of a chart under a `.ssc` timing, worked out from
// the timing statements alone: for the charts kept as read, which the beat markers do
// not time when they have timing of their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fileio/ssc_parser.h"

namespace quillex {

class SscTimeline {
  public:
    explicit SscTimeline(const SscTiming& timing);

    // Seconds from the music's first sample to where the notes of a file row (48 per
    // beat, row 0 on beat 0) sound: after every earlier stop and the delays up to and
    // on the row. Nothing for a row inside a warp, whose notes are not played.
    std::optional<double> noteSeconds(std::int64_t row) const;
    // Seconds to where the music reaches a row: after the stops and delays before it,
    // before those on it; a row inside a warp is reached where the warp starts.
    double rowSeconds(std::int64_t row) const;

  private:
    bool insideWarp(std::int64_t row) const;
    bool strictlyInsideWarp(std::int64_t row) const;

    double offsetSeconds_ = 0;
    std::vector<std::pair<std::int64_t, double>> tempos_; // row order, one per row
    std::vector<std::pair<std::int64_t, double>> stops_;
    std::vector<std::pair<std::int64_t, double>> delays_;
    std::vector<std::pair<std::int64_t, std::int64_t>> warps_; // [start, end), merged
};

// A note of a kept chart as the game reads it.
struct KeptNote {
    std::int64_t row; // file row
    int column;
    char character;          // '1', '2', '4', 'M' or 'L'
    std::int64_t lengthRows; // holds and rolls
    std::optional<double> seconds;
};

// The notes of a chart section (keysounds and note attributes skipped) timed by the
// section's own timing, or the song's where it has none.
std::vector<KeptNote> keptChartNotes(std::string_view sectionText, int columns,
                                     const SscTiming& songTiming);

} // namespace quillex
