// A slowly changing tempo through a few beats: the parabola sample = a + b x + c x^2
// through (index, sample) pairs, and where the beats before the first heard one and
// after the last one lie when the music has no beat of its own there (an intro of
// pads, a fade): the tempo at that edge carried on, with its change when the beats
// there clearly speed up or slow down.
#pragma once

#include <optional>
#include <vector>

#include "analysis/beat_grid_fit.h"
#include "analysis/beat_settling.h"

namespace quillex {

struct Parabola {
    double a = 0, b = 0, c = 0;
    double curvatureError = 0; // the standard error of c
    double at(double x) const { return a + x * (b + x * c); }
};

// The least-squares parabola through the points (weights as given). Nothing for fewer
// than four points or three distinct indices.
std::optional<Parabola> fitParabola(const std::vector<IndexedSample>& points);

// `beats` (from the first heard beat to the last) trusted from the first run of a few
// heard, evenly spaced beats to the last, and carried on from there down to
// `musicStart` and up to `musicEnd` (samples) at the tempo heard nearest each edge.
// Beyond the trusted run a beat goes on one of `sounds` (samples, ascending) only where
// that tempo agrees with it within a few milliseconds: the swells and noises of an
// intro or an ending place none.
std::vector<TrackedBeat> extendToEdges(const std::vector<TrackedBeat>& beats,
                                       const std::vector<double>& sounds, double musicStart,
                                       double musicEnd, int sampleRate);

} // namespace quillex
