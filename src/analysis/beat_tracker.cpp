#include "analysis/beat_tracker.h"

#include <algorithm>
#include <cmath>

#include "analysis/beat_curve.h"
#include "analysis/beat_settling.h"
#include "analysis/local_tempo.h"
#include "analysis/periodicity.h"
#include "analysis/tempo_candidates.h"

namespace quillex {

namespace {

// How dearly the chain pays for an interval away from the local period.
constexpr double kTightness = 100;
// An onset within this share of a period of a chain beat is that beat's sound.
constexpr double kCaptureShare = 0.15;
// Start tempos closer than this share track alike: one of them is enough.
constexpr double kSameTempoShare = 0.02;
// A track of fewer beats found no steady beat at its tempo: it does not compete.
constexpr std::size_t kFewestBeats = 8;
// Onsets weaker than this share of the typical beat's do not place a beat.
constexpr float kWeakestOnset = 0.25f;

// The chain of frames through the strength curve (normalised to unit spread) with the
// best sum of strengths less the penalties for uneven intervals.
std::vector<std::size_t> bestChain(const std::vector<float>& strength,
                                   const std::vector<double>& periods) {
    const std::size_t n = strength.size();
    double mean = 0, squares = 0;
    for (float v : strength) {
        mean += v;
        squares += static_cast<double>(v) * v;
    }
    mean /= static_cast<double>(n);
    const double spread =
        std::sqrt(std::max(squares / static_cast<double>(n) - mean * mean, 1e-18));
    std::vector<double> score(n);
    std::vector<std::ptrdiff_t> previous(n, -1);
    // log(interval / period) = log(interval) - log(period): the logs of the whole
    // intervals once, not per pair of frames.
    std::vector<double> logOf(1, 0.0);
    for (std::size_t t = 0; t < n; ++t) {
        const double local = strength[t] / spread;
        const double period = periods[t];
        const double logPeriod = std::log(period);
        while (static_cast<double>(logOf.size()) <= 1.6 * period + 1)
            logOf.push_back(std::log(static_cast<double>(logOf.size())));
        const auto from =
            static_cast<std::ptrdiff_t>(t) - static_cast<std::ptrdiff_t>(std::round(1.6 * period));
        const auto to =
            static_cast<std::ptrdiff_t>(t) - static_cast<std::ptrdiff_t>(std::round(0.6 * period));
        double best = 0;
        for (std::ptrdiff_t p = std::max<std::ptrdiff_t>(from, 0); p <= to; ++p) {
            const double l =
                logOf[static_cast<std::size_t>(static_cast<std::ptrdiff_t>(t) - p)] - logPeriod;
            const double candidate = score[static_cast<std::size_t>(p)] - kTightness * l * l;
            if (previous[t] < 0 || candidate > best) {
                best = candidate;
                previous[t] = p;
            }
        }
        score[t] = local + (previous[t] >= 0 ? best : 0);
    }
    // The chain ends at the best score within the last period.
    const auto tail = static_cast<std::size_t>(std::round(periods.back()));
    std::size_t end = n - 1;
    for (std::size_t t = n > tail ? n - tail : 0; t < n; ++t)
        if (score[t] > score[end])
            end = t;
    std::vector<std::size_t> chain;
    for (std::ptrdiff_t t = static_cast<std::ptrdiff_t>(end); t >= 0;
         t = previous[static_cast<std::size_t>(t)])
        chain.push_back(static_cast<std::size_t>(t));
    std::reverse(chain.begin(), chain.end());
    return chain;
}

// The strongest onset near each chain beat, if strong enough: a beat's onset is
// trusted when it is at least kWeakestOnset of the typical one on the chain, so the
// noise and the swells of an intro without drums do not place beats.
std::vector<TrackedBeat> placeOnOnsets(const std::vector<std::size_t>& chain,
                                       const OnsetFeatures& features,
                                       const std::vector<double>& periods) {
    std::vector<TrackedBeat> beats;
    std::vector<float> strengths;
    const auto& onsets = features.onsets;
    for (std::size_t frame : chain) {
        const double at = features.frameToSample(static_cast<double>(frame));
        const double capture = kCaptureShare * periods[frame] * features.hop;
        auto it = std::lower_bound(onsets.begin(), onsets.end(), at - capture,
                                   [](const Onset& o, double s) { return o.sample < s; });
        const Onset* best = nullptr;
        for (; it != onsets.end() && it->sample <= at + capture; ++it)
            if (!best || it->strength > best->strength)
                best = &*it;
        beats.push_back({best ? best->sample : at, best != nullptr});
        strengths.push_back(best ? best->strength : 0.0f);
    }
    std::vector<float> found;
    for (float v : strengths)
        if (v > 0)
            found.push_back(v);
    if (found.empty())
        return beats;
    const auto middle = found.begin() + static_cast<std::ptrdiff_t>(found.size() / 2);
    std::nth_element(found.begin(), middle, found.end());
    for (std::size_t i = 0; i < beats.size(); ++i)
        if (strengths[i] < kWeakestOnset * *middle) {
            beats[i].heard = false;
            beats[i].sample = features.frameToSample(static_cast<double>(chain[i]));
        }
    return beats;
}

// The mean of up to `count` intervals between heard beats from index `from` on
// in direction `step` (+1 or -1).
double meanInterval(const std::vector<TrackedBeat>& beats, std::size_t from, int step, int count) {
    double sum = 0;
    int n = 0;
    for (auto i = static_cast<std::ptrdiff_t>(from); n < count; i += step) {
        const std::ptrdiff_t j = i + step;
        if (j < 0 || j >= static_cast<std::ptrdiff_t>(beats.size()))
            break;
        if (beats[static_cast<std::size_t>(i)].heard && beats[static_cast<std::size_t>(j)].heard) {
            sum += std::abs(beats[static_cast<std::size_t>(j)].sample -
                            beats[static_cast<std::size_t>(i)].sample);
            ++n;
        }
    }
    return n > 0 ? sum / n : 0;
}

// The beats from the first heard one to the last, with the unheard stretches between
// them re-spaced evenly at the tempo around them.
std::vector<TrackedBeat> fillGaps(const std::vector<TrackedBeat>& beats) {
    std::vector<std::size_t> heard;
    for (std::size_t i = 0; i < beats.size(); ++i)
        if (beats[i].heard)
            heard.push_back(i);
    if (heard.size() < 2)
        return {};
    // Where no two heard beats are neighbours, the average over all of them serves.
    const double overall = (beats[heard.back()].sample - beats[heard.front()].sample) /
                           static_cast<double>(heard.back() - heard.front());
    if (!(overall >= 1))
        return {};
    const auto interval = [&](std::size_t from, int step, int count) {
        const double mean = meanInterval(beats, from, step, count);
        return mean >= 1 ? mean : overall;
    };
    std::vector<TrackedBeat> out;
    for (std::size_t k = 0; k < heard.size(); ++k) {
        const double here = beats[heard[k]].sample;
        out.push_back({here, true});
        if (k + 1 == heard.size() || heard[k + 1] == heard[k] + 1)
            continue;
        const double next = beats[heard[k + 1]].sample;
        const double around = 0.5 * (interval(heard[k], -1, 4) + interval(heard[k + 1], 1, 4));
        const double gaps = std::max(1.0, std::round((next - here) / around));
        for (double g = 1; g < gaps; ++g)
            out.push_back({here + (next - here) * g / gaps, false});
    }
    return out;
}

} // namespace

namespace {

std::vector<double> trackAt(const OnsetFeatures& features, double bpm) {
    const double period = 60.0 * features.sampleRate / bpm / features.hop;
    const std::vector<double> periods = localPeriods(features, period);
    const std::vector<std::size_t> chain = bestChain(features.strength, periods);
    std::vector<TrackedBeat> placed = placeOnOnsets(chain, features, periods);
    dropUnevenBeats(placed, chain, periods, features.hop);
    dropLoneBeats(placed);
    // Beats go back to the start of the music, but not into the silence before its
    // first sound.
    const double firstSound =
        std::max(0.0, features.onsets.front().sample - 0.25 * period * features.hop);
    std::vector<TrackedBeat> beats = fillGaps(placed);
    // The sounds as heard, before the strays among them are moved.
    std::vector<double> sounds;
    for (const TrackedBeat& b : beats)
        if (b.heard)
            sounds.push_back(b.sample);
    settleStrays(beats, features.sampleRate);
    beats = extendToEdges(beats, sounds, firstSound, static_cast<double>(features.musicFrames),
                          features.sampleRate);
    // A chain beat on a sound that was no beat (the music's first swell, say) settles
    // outside the music or onto its neighbour: it goes.
    std::vector<double> samples;
    const double musicEnd = static_cast<double>(features.musicFrames);
    for (const TrackedBeat& b : beats) {
        const bool crowded =
            !samples.empty() && b.sample - samples.back() < 0.5 * period * features.hop;
        if (b.sample >= 0 && b.sample < musicEnd && !crowded)
            samples.push_back(b.sample);
    }
    return samples;
}

} // namespace

std::vector<double> trackBeats(const OnsetFeatures& features, std::optional<double> bpm) {
    if (features.strength.size() < 16 || features.onsets.size() < 8)
        return {};
    if (bpm)
        return trackAt(features, *bpm);
    // One stretch can mistake the octave, or a related tempo, where the tempo moves,
    // and the whole music's tempo can miss a stretch: the tracks at both, and at
    // twice, half, three times and a third of each, are judged whole.
    std::vector<double> starts;
    if (const auto local = localTempo(features))
        starts.push_back(*local);
    if (const auto whole = suggestTempos(features, 1); !whole.empty())
        starts.push_back(whole.front().bpm);
    std::vector<double> tried;
    std::vector<double> best;
    double bestScore = 0;
    for (double start : starts)
        for (double ratio : {1.0, 2.0, 0.5, 3.0, 1.0 / 3}) {
            const double bpm = start * ratio;
            const bool again = std::any_of(tried.begin(), tried.end(), [&](double t) {
                return std::abs(t - bpm) <= kSameTempoShare * bpm;
            });
            if (bpm < kSlowestBpm || bpm > kFastestBpm || again)
                continue;
            tried.push_back(bpm);
            std::vector<double> beats = trackAt(features, bpm);
            if (beats.size() < kFewestBeats)
                continue;
            const double score = beatListScore(features, beats);
            if (best.empty() || score > bestScore) {
                bestScore = score;
                best = std::move(beats);
            }
        }
    return best;
}

} // namespace quillex
