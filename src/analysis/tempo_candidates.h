// The tempo suggestions for a music: a few constant tempos, best first, each with the
// first beat at or after the start of the music and a confidence. Candidates come from
// the periodicity of the onset strength together with their octave siblings (twice,
// half, three halves and two thirds the tempo); each is fitted exactly through the
// onsets and judged by how strong the onsets on its beats are against those halfway
// between them, so that hats on the off-beats do not win a doubled tempo and a snare
// on every other beat does not win a halved one.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "analysis/beat_grid_fit.h"
#include "analysis/onset_features.h"

namespace quillex {

inline constexpr std::string_view kNoRhythmMessage =
    "No rhythm found: the music is silent or has no steady beat.";

struct TempoCandidate {
    double bpm = 0;
    double firstBeatSeconds = 0; // the earliest beat at or after 0 s
    double confidence = 0;       // 0..1
    BeatGrid grid;               // beats in samples, index 0 the first beat
};

// Up to `count` candidates, best first; none when the music has no rhythm.
std::vector<TempoCandidate> suggestTempos(const OnsetFeatures& features, std::size_t count);

// The tempo of the strongest stretch of the music (some 32 beats, or 16 where no
// tempo holds over 32), judged as the
// candidates are: where a beat tracker starts when the tempo moves. Nothing when the
// music has no rhythm.
std::optional<double> localTempo(const OnsetFeatures& features);

// How well a list of beats (samples, ascending) is the beat of the music, judged as
// the candidates are: sounds with a body on the beats, few at the half or the thirds
// between them.
double beatListScore(const OnsetFeatures& features, const std::vector<double>& beats);

} // namespace quillex
