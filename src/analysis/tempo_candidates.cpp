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
// A body of this share of a strong one makes a beat present: a snare a little weaker
// than the kick passes, the body of a hat does not, so that sixteenth-note hats do not
// make a grid three quarters of a beat apart look like the beat.
constexpr float kPresentBody = 0.35f;
// Below this a candidate is no rhythm at all.
constexpr double kLeastConfidence = 0.2;
// The largest spread of the onsets around the beats, as a share of a beat, that is
// still a rhythm (noise spreads about 0.05, played music well under 0.02).
constexpr double kLoosestFit = 0.03;
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
// a body, over the stretch of the fit: the mean over them of the strongest body
// on each, as a share of kPresentBody (at most 1). Bodies, not strengths: hats on the
// off-beats must not make the half beats look like beats, while a snare a little
// weaker than the kick on every other beat makes both beats.
double salience(const std::vector<Onset>& onsets, const GridFit& fit, double shift) {
    const BeatGrid& grid = fit.grid;
    const double tolerance = kOnBeatShare * grid.period;
    const double from = std::max(onsets.front().sample, fit.from);
    const double to = std::min(onsets.back().sample, fit.to);
    const double firstIndex = std::ceil((from - grid.origin) / grid.period - shift);
    const double lastIndex = std::floor((to - grid.origin) / grid.period - shift);
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

// How well a grid is the beat: strong onsets on it, weak ones halfway between and at
// the thirds between (a grid on every other or every third beat, or one and a half
// beats apart, finds the music's other beats there).
double beatScore(const std::vector<Onset>& onsets, const GridFit& fit) {
    const double between =
        std::max(salience(onsets, fit, 0.5),
                 0.5 * (salience(onsets, fit, 1.0 / 3) + salience(onsets, fit, 2.0 / 3)));
    return salience(onsets, fit, 0) - 0.5 * between;
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
                                                  int sampleRate, double spanBeats) {
    auto fit = fitBeatGrid(onsets, period, sampleRate, std::nullopt, spanBeats);
    if (!fit)
        return std::nullopt;
    double score = beatScore(onsets, *fit);
    GridFit shifted = *fit;
    shifted.grid.origin += 0.5 * shifted.grid.period;
    if (beatScore(onsets, shifted) > score) {
        if (auto other = fitBeatGrid(onsets, shifted.grid.period, sampleRate, shifted.grid.origin,
                                     spanBeats)) {
            const double otherScore = beatScore(onsets, *other);
            if (otherScore > score) {
                fit = other;
                score = otherScore;
            }
        }
    }
    return std::pair{*fit, score};
}

struct Scored {
    TempoCandidate candidate;
    double rank;
};

// Every candidate period fitted (over the whole music, or about `spanBeats` beats),
// best first; empty when the best is no rhythm.
std::vector<Scored> rankTempos(const OnsetFeatures& features, double spanBeats) {
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
    std::vector<Scored> scored;
    for (double period : periods) {
        const auto fit = bestFit(onsets, period, features.sampleRate, spanBeats);
        // Noise has onsets everywhere, so a grid of any tempo finds sounds near its
        // beats, but only scattered all over the window it looks in; the onsets of a
        // rhythm sit on the beats within a few milliseconds.
        if (!fit || fit->first.rmsResidual > kLoosestFit * fit->first.grid.period)
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
    if (!scored.empty() && scored.front().candidate.confidence < kLeastConfidence)
        scored.clear();
    return scored;
}

} // namespace

std::vector<TempoCandidate> suggestTempos(const OnsetFeatures& features, std::size_t count) {
    std::vector<TempoCandidate> out;
    for (const Scored& s : rankTempos(features, 1e12))
        if (out.size() < count)
            out.push_back(s.candidate);
    return out;
}

double beatListScore(const OnsetFeatures& features, const std::vector<double>& beats) {
    const std::vector<Onset> onsets = normalised(features.onsets);
    if (onsets.empty() || beats.size() < 2)
        return 0;
    const auto presence = [&](double at, double tolerance) {
        auto it = std::lower_bound(onsets.begin(), onsets.end(), at - tolerance,
                                   [](const Onset& o, double s) { return o.sample < s; });
        float strongest = 0;
        for (; it != onsets.end() && it->sample <= at + tolerance; ++it)
            strongest = std::max(strongest, it->body);
        return std::min(1.0f, strongest / kPresentBody);
    };
    // Between two beats the half and the thirds are looked at: a list on every other
    // or every third beat of the music finds its other beats there.
    double on = 0, between = 0;
    for (std::size_t i = 0; i + 1 < beats.size(); ++i) {
        const double tolerance = kOnBeatShare * (beats[i + 1] - beats[i]);
        const auto at = [&](double share) {
            return static_cast<double>(
                presence(beats[i] + share * (beats[i + 1] - beats[i]), tolerance));
        };
        on += presence(beats[i], tolerance);
        between += std::max(at(0.5), 0.5 * (at(1.0 / 3) + at(2.0 / 3)));
    }
    const auto count = static_cast<double>(beats.size() - 1);
    const double bpm = 60.0 * features.sampleRate * count / (beats.back() - beats.front());
    return (on - 0.5 * between) / count * tempoPrior(bpm);
}

std::optional<double> localTempo(const OnsetFeatures& features) {
    // Where the tempo drifts fast, 32 beats stray too far from any constant tempo to
    // fit; 16 beats still hold one.
    for (double beats : {32.0, 16.0})
        if (const auto ranked = rankTempos(features, beats); !ranked.empty())
            return ranked.front().candidate.bpm;
    return std::nullopt;
}

} // namespace quillex
