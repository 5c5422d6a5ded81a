#include "analysis/beat_tracker.h"

#include <algorithm>
#include <cmath>

#include "analysis/beat_grid_fit.h"
#include "analysis/local_tempo.h"
#include "analysis/tempo_candidates.h"

namespace quillex {

namespace {

// How dearly the chain pays for an interval away from the local period.
constexpr double kTightness = 100;
// An onset within this share of a period of a chain beat is that beat's sound.
constexpr double kCaptureShare = 0.15;
// Onsets weaker than this share of a strong one do not place a beat.
constexpr double kWeakestOnset = 0.15;
// A beat further than this from the line through its neighbours is not trusted.
constexpr double kStraySeconds = 0.004;
constexpr int kNeighbours = 4;

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
    for (std::size_t t = 0; t < n; ++t) {
        const double local = strength[t] / spread;
        const double period = periods[t];
        const auto from =
            static_cast<std::ptrdiff_t>(t) - static_cast<std::ptrdiff_t>(std::round(1.6 * period));
        const auto to =
            static_cast<std::ptrdiff_t>(t) - static_cast<std::ptrdiff_t>(std::round(0.6 * period));
        double best = 0;
        for (std::ptrdiff_t p = std::max<std::ptrdiff_t>(from, 0); p <= to; ++p) {
            const double l =
                std::log(static_cast<double>(static_cast<std::ptrdiff_t>(t) - p) / period);
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

struct Beat {
    double sample;
    bool heard; // on an onset
};

// The strongest onset near each chain beat, if strong enough.
std::vector<Beat> placeOnOnsets(const std::vector<std::size_t>& chain,
                                const OnsetFeatures& features, const std::vector<double>& periods,
                                float strong) {
    std::vector<Beat> beats;
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
        if (best && best->strength >= kWeakestOnset * strong)
            beats.push_back({best->sample, true});
        else
            beats.push_back({at, false});
    }
    return beats;
}

// The line through up to kNeighbours heard beats either side of beat i (not i itself).
std::optional<BeatGrid> neighbourLine(const std::vector<Beat>& beats, std::size_t i) {
    std::vector<IndexedSample> points;
    int before = 0, after = 0;
    for (std::size_t j = i; j-- > 0 && before < kNeighbours;)
        if (beats[j].heard) {
            points.push_back({static_cast<double>(j), beats[j].sample, 1});
            ++before;
        }
    for (std::size_t j = i + 1; j < beats.size() && after < kNeighbours; ++j)
        if (beats[j].heard) {
            points.push_back({static_cast<double>(j), beats[j].sample, 1});
            ++after;
        }
    return fitLine(points);
}

// Heard beats that stray from their neighbours' line are put on it.
void settleStrays(std::vector<Beat>& beats, int sampleRate) {
    const double stray = kStraySeconds * sampleRate;
    std::vector<Beat> settled = beats;
    for (std::size_t i = 0; i < beats.size(); ++i) {
        if (!beats[i].heard)
            continue;
        const auto line = neighbourLine(beats, i);
        if (line && std::abs(line->at(static_cast<double>(i)) - beats[i].sample) > stray)
            settled[i] = {line->at(static_cast<double>(i)), false};
    }
    beats = std::move(settled);
}

// The mean of up to `count` intervals between heard beats from index `from` on
// in direction `step` (+1 or -1).
double meanInterval(const std::vector<Beat>& beats, std::size_t from, int step, int count) {
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

// Heard beats only, with the unheard stretches between them re-spaced evenly at the
// tempo around them and the ends carried on to the edges of the music.
std::vector<double> fillAndExtend(const std::vector<Beat>& beats, double musicEnd) {
    std::vector<std::size_t> heard;
    for (std::size_t i = 0; i < beats.size(); ++i)
        if (beats[i].heard)
            heard.push_back(i);
    if (heard.size() < 2)
        return {};
    // Where no two heard beats are neighbours, the average over all of them serves.
    const double overall = (beats[heard.back()].sample - beats[heard.front()].sample) /
                           static_cast<double>(heard.back() - heard.front());
    const auto interval = [&](std::size_t from, int step, int count) {
        const double mean = meanInterval(beats, from, step, count);
        return mean >= 1 ? mean : overall;
    };
    if (!(overall >= 1))
        return {};
    std::vector<double> out;
    const double startPeriod = interval(heard.front(), 1, 8);
    for (double s = beats[heard.front()].sample - startPeriod; s >= 0; s -= startPeriod)
        out.push_back(s);
    std::reverse(out.begin(), out.end());
    for (std::size_t k = 0; k < heard.size(); ++k) {
        const double here = beats[heard[k]].sample;
        out.push_back(here);
        if (k + 1 == heard.size() || heard[k + 1] == heard[k] + 1)
            continue;
        const double next = beats[heard[k + 1]].sample;
        const double around = 0.5 * (interval(heard[k], -1, 4) + interval(heard[k + 1], 1, 4));
        const double gaps = std::max(1.0, std::round((next - here) / around));
        for (double g = 1; g < gaps; ++g)
            out.push_back(here + (next - here) * g / gaps);
    }
    const double endPeriod = interval(heard.back(), -1, 8);
    for (double s = beats[heard.back()].sample + endPeriod; s < musicEnd; s += endPeriod)
        out.push_back(s);
    return out;
}

} // namespace

std::vector<double> trackBeats(const OnsetFeatures& features, std::optional<double> bpm) {
    if (features.strength.size() < 16 || features.onsets.size() < 8)
        return {};
    if (!bpm) {
        const auto best = suggestTempos(features, 1);
        if (best.empty())
            return {};
        bpm = best.front().bpm;
    }
    const double period = 60.0 * features.sampleRate / *bpm / features.hop;
    const std::vector<double> periods = localPeriods(features, period);
    const std::vector<std::size_t> chain = bestChain(features.strength, periods);
    float strong = 0;
    for (const Onset& o : features.onsets)
        strong = std::max(strong, o.strength);
    std::vector<Beat> beats = placeOnOnsets(chain, features, periods, 0.5f * strong);
    settleStrays(beats, features.sampleRate);
    return fillAndExtend(beats, static_cast<double>(features.musicFrames));
}

} // namespace quillex
