// Where a tempo run of a written `.sm` file may begin when nothing before it fixes its
// start: at the file's beat 0 (the #OFFSET) and after a stop (its seconds). Markers sit
// on whole samples, so a steady tempo's markers rarely lie on its line; they are one
// run when some straight line passes within half a sample of each, and the run's start
// must then be placed to a small part of a sample, which a number of six digits
// seldom reaches.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "fileio/sm_tempo_entries.h"
#include "fileio/sm_tempo_fit.h"

namespace quillex::sm_fit {

struct LineStart {
    WrittenNumber bpm; // the simplest tempo of a line through the run
    // The reader's positions on the start row from which that tempo keeps the run.
    double low = 0;
    double high = 0;

    // Whether the tempo, from the reader's position x on the start row, brings every
    // marker of the run back on its sample, computed as the reader does.
    bool keeps(double x) const;

    int rate = 0;
    struct Marker {
        std::int64_t rows; // after the start row
        double sample;
    };
    std::vector<Marker> markers;
};

// The run of the markers from points[next] on, starting on `row`: up to a pause, a
// sub-beat (taken in) or the first marker that no line keeps with those before it.
// Nothing when fewer than two markers make it or no tempo of up to
// kMostSignificantDigits digits leaves room for its start.
std::optional<LineStart> lineStart(const std::vector<SmTimingPoint>& points, std::size_t next,
                                   std::int64_t row, int rate);

} // namespace quillex::sm_fit
