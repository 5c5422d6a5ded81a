#include "analysis/tempo_candidates.h"

#include <algorithm>
#include <cmath>

#include "analysis/periodicity.h"

namespace quillex {

namespace {

constexpr std::size_t kPeriodicPeaks = 4;
constexpr double kSiblingRatios[] = {1.0, 2.0, 0.5, 1.5, 2.0 / 3.0};
// Onsets within this share of a period of a beat count as on it.
constexpr double kOnBeatShare = 0.07;
// A body of this share of a strong one makes a beat present.
constexpr float kPresentBody = 0.25f;
// Below this a candidate is no rhythm at all.
constexpr double kLeastConfidence = 0.2;
// Two candidates closer than this share of their tempo are one.
constexpr double kSameTempoShare = 0.004;

// The share of a strong value (the 98th percentile) of each value, at most 1.
void normaliseField(std::vector<Onset>& onsets, float Onset::*field) {
    std::vector<float> values;
    for (const Onset& o : onsets)
        values.push_back(o.*field);
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(values.size() * 49 / 50);
    std::nth_element(values.begin(), at, values.end());
    const float strong = std::max(*at, 1e-9f);
    for (Onset& o : onsets)
        o.*field = std::min(1.0f, o.*field / strong);
}

// Onset strengths and bodies as shares of a strong one.
std::vector<Onset> normalised(const std::vector<Onset>& onsets) {
    std::vector<Onset> out(onsets);
    if (out.empty())
        return out;
    normaliseField(out, &Onset::strength);
    normaliseField(out, &Onset::body);
    return out;
}

// How regularly the beats of the grid (shifted by `shift` periods) carry a sound with
// a body, from the first onset to the last: the mean over them of the strongest body
// on each, as a share of kPresentBody (at most 1). Bodies, not strengths: hats on the
// off-beats must not make the half beats look like beats, while a snare a little
// weaker than the kick on every other beat makes both beats.
double salience(const std::vector<Onset>& onsets, const BeatGrid& grid, double shift) {
    const double tolerance = kOnBeatShare * grid.period;
    const double firstIndex =
        std::ceil((onsets.front().sample - grid.origin) / grid.period - shift);
    const double lastIndex = std::floor((onsets.back().sample - grid.origin) / grid.period - shift);
    if (lastIndex < firstIndex)
        return 0;
    double sum = 0;
    auto cursor = onsets.begin();
    for (double i = firstIndex; i <= lastIndex; ++i) {
        const double beat = grid.at(i + shift);
        cursor = std::lower_bound(cursor, onsets.end(), beat - tolerance,
                                  [](const Onset& o, double s) { return o.sample < s; });
        float strongest = 0;
        for (auto it = cursor; it != onsets.end() && it->sample <= beat + tolerance; ++it)
            strongest = std::max(strongest, it->body);
        sum += std::min(1.0f, strongest / kPresentBody);
    }
    return sum / (lastIndex - firstIndex + 1);
}

// How well a grid is the beat: strong onsets on it, weak ones halfway between.
double beatScore(const std::vector<Onset>& onsets, const BeatGrid& grid) {
    return salience(onsets, grid, 0) - 0.5 * salience(onsets, grid, 0.5);
}

// A gentle preference for tempos near 120 BPM when two octaves score alike.
double tempoPrior(double bpm) {
    const double octaves = std::log2(bpm / 120.0) / 1.5;
    return std::exp(-0.5 * octaves * octaves);
}

TempoCandidate candidateOf(const BeatGrid& grid, int sampleRate, double confidence) {
    TempoCandidate c;
    c.bpm = 60.0 * sampleRate / grid.period;
    const double first = grid.origin - std::floor(grid.origin / grid.period) * grid.period;
    c.grid = {first, grid.period};
    c.firstBeatSeconds = first / sampleRate;
    c.confidence = std::clamp(confidence, 0.0, 1.0);
    return c;
}

// The fit of a period with the phase that scores best: the strongest onsets' phase,
// or half a beat from it when the beats are really between those.
std::optional<std::pair<GridFit, double>> bestFit(const std::vector<Onset>& onsets, double period,
                                                  int sampleRate) {
    auto fit = fitBeatGrid(onsets, period, sampleRate);
    if (!fit)
        return std::nullopt;
    double score = beatScore(onsets, fit->grid);
    BeatGrid shifted = fit->grid;
    shifted.origin += 0.5 * shifted.period;
    if (beatScore(onsets, shifted) > score) {
        if (auto other = fitBeatGrid(onsets, shifted.period, sampleRate, shifted.origin)) {
            const double otherScore = beatScore(onsets, other->grid);
            if (otherScore > score) {
                fit = other;
                score = otherScore;
            }
        }
    }
    return std::pair{*fit, score};
}

} // namespace

std::vector<TempoCandidate> suggestTempos(const OnsetFeatures& features, std::size_t count) {
    const std::vector<Onset> onsets = normalised(features.onsets);
    if (onsets.size() < 8)
        return {};
    std::vector<double> periods;
    const double shortest = 60.0 * features.sampleRate / kFastestBpm;
    const double longest = 60.0 * features.sampleRate / kSlowestBpm;
    for (double peak : periodicPeaks(features, kPeriodicPeaks))
        for (double ratio : kSiblingRatios) {
            const double period = peak / ratio;
            if (period < shortest * 0.99 || period > longest * 1.01)
                continue;
            const bool known = std::any_of(periods.begin(), periods.end(), [&](double p) {
                return std::abs(p - period) < kSameTempoShare * period;
            });
            if (!known)
                periods.push_back(period);
        }
    struct Scored {
        TempoCandidate candidate;
        double rank;
    };
    std::vector<Scored> scored;
    for (double period : periods) {
        const auto fit = bestFit(onsets, period, features.sampleRate);
        if (!fit)
            continue;
        const TempoCandidate c = candidateOf(fit->first.grid, features.sampleRate, fit->second);
        if (c.bpm < kSlowestBpm * 0.99 || c.bpm > kFastestBpm * 1.01)
            continue;
        const double rank = fit->second * tempoPrior(c.bpm);
        auto same = std::find_if(scored.begin(), scored.end(), [&](const Scored& s) {
            return std::abs(s.candidate.bpm - c.bpm) < kSameTempoShare * c.bpm;
        });
        if (same == scored.end())
            scored.push_back({c, rank});
        else if (rank > same->rank)
            *same = {c, rank};
    }
    std::sort(scored.begin(), scored.end(),
              [](const Scored& a, const Scored& b) { return a.rank > b.rank; });
    std::vector<TempoCandidate> out;
    if (scored.empty() || scored.front().candidate.confidence < kLeastConfidence)
        return out;
    for (const Scored& s : scored)
        if (out.size() < count)
            out.push_back(s.candidate);
    return out;
}

std::optional<TempoCandidate> candidateAtBpm(const OnsetFeatures& features, double bpm) {
    const std::vector<Onset> onsets = normalised(features.onsets);
    if (onsets.size() < 8 || !(bpm > 0))
        return std::nullopt;
    const auto fit = bestFit(onsets, 60.0 * features.sampleRate / bpm, features.sampleRate);
    if (!fit || fit->second < kLeastConfidence)
        return std::nullopt;
    TempoCandidate c = candidateOf(fit->first.grid, features.sampleRate, fit->second);
    return c;
}

} // namespace quillex
