// A constant tempo fitted through onsets: beat i lies at origin + i * period (samples).
// The fit starts in the stretch of the music where the onsets are strongest, assigns
// each onset there to its nearest beat, fits a line of onset time against beat index,
// and widens the stretch step by step until it covers the whole music, each step with
// the line of the last. Onsets far from their beat (hats between the beats, fills)
// drop out and stray ones are down-weighted, so a few hundred beats with a few
// milliseconds of jitter give the period to a few parts per million.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "analysis/onset_features.h"

namespace quillex {

struct BeatGrid {
    double origin = 0;
    double period = 0;
    double at(double index) const { return origin + index * period; }
};

struct GridFit {
    BeatGrid grid;
    std::size_t matched = 0; // onsets that carried the final fit
    double rmsResidual = 0;  // their spread around the line, samples
    double from = 0, to = 0; // the stretch of the music the fit covers, samples
};

// The fit for a period known roughly (within about 1 %). `phase`, when given, is a
// sample the beats should start near; otherwise the strongest onsets choose it. The
// stretch grows to the whole music, or only to about `spanBeats` beats for a local
// tempo. Nothing when fewer than eight onsets fall on the grid.
std::optional<GridFit> fitBeatGrid(const std::vector<Onset>& onsets, double period, int sampleRate,
                                   std::optional<double> phase = std::nullopt,
                                   double spanBeats = 1e12);

// Weighted least-squares line through (index, sample) pairs: sample = origin + index *
// period. Nothing for fewer than two distinct indices.
struct IndexedSample {
    double index;
    double sample;
    double weight;
};
std::optional<BeatGrid> fitLine(const std::vector<IndexedSample>& points);

} // namespace quillex
