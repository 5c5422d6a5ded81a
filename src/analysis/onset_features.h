// What the analysis hears in the music: an onset-strength curve (how much new sound
// starts in each short window) and the onsets themselves, each placed on the sample
// where its sound starts. Everything later (tempo candidates, the beat tracker) works
// on these alone, so they are what the cache keeps.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "audio/audio_backend.h"

namespace quillex {

// One sound that starts: the sample where its attack begins (fractional, on the
// music's own timeline) and how strongly it starts. Low and middle frequencies weigh
// more than high ones, so kicks and snares count more than hats.
struct Onset {
    double sample = 0;
    float strength = 0;
    // The strength in the low and middle bands alone: kicks, snares, basses and
    // plucked notes have it, hats have next to none. It tells beats from off-beats.
    float body = 0;
};

struct OnsetFeatures {
    int sampleRate = 0;
    std::int64_t musicFrames = 0;
    int hop = 0; // samples between two values of the curve; value k is centred on k * hop
    std::vector<float> strength;
    std::vector<Onset> onsets;

    double frameToSample(double frame) const { return frame * hop; }
};

// Reports the share done (0..1); returns false to stop the work.
using AnalysisProgress = std::function<bool(double done)>;

// The onset-strength curve and the onsets of `music`. Nothing (an empty curve) when
// the progress callback asked to stop.
OnsetFeatures computeOnsetFeatures(const PcmData& music, const AnalysisProgress& progress);

} // namespace quillex
