#include "tools/beat_moves.h"

#include <algorithm>
#include <cmath>

namespace quillex {

namespace {

constexpr int kSmallNudge = 50;
constexpr int kLargeNudge = 100;

// The planned samples must stay inside the music and keep rising, else the refresh
// would delete or merge markers.
bool fitsMusic(const std::vector<SamplePosition>& samples, SamplePosition musicLength) {
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] < 0 || samples[i] > musicLength)
            return false;
        if (i > 0 && samples[i] <= samples[i - 1])
            return false;
    }
    return true;
}

std::variant<BeatMove, std::string_view> checked(BeatMove move, const ItemStore& store) {
    const SamplePosition length = store.timing().musicLength();
    if (!fitsMusic(move.samples, length) ||
        !std::all_of(move.added.begin(), move.added.end(),
                     [length](SamplePosition s) { return s >= 0 && s <= length; }))
        return kMoveLeavesMusicMessage;
    return move;
}

// A position computed in 64 bits or double, kept in range so the check above sees it
// outside the music instead of a wrapped value.
SamplePosition clampedSample(double value) {
    return static_cast<SamplePosition>(std::clamp(value, -1.0, 2147483647.0));
}

// Beats that take time from marker `first` to marker `i`: their index distance, less
// what warps between them skip.
double timedBeatsBetween(const TimingMap& timing, std::size_t first, std::size_t i) {
    const ItemList& beats = timing.beats();
    return static_cast<double>(timing.timedRow(beats[i].row()) -
                               timing.timedRow(beats[first].row())) /
           kRowsPerBeat;
}

// The region's new samples followed by the markers after it, shifted as its end moved.
BeatMove withTailShifted(const ItemList& beats, const GrowRegion& region,
                         std::vector<SamplePosition> regionSamples) {
    BeatMove move{region.start, std::move(regionSamples), {}};
    const std::int64_t delta = std::int64_t{move.samples.back()} - beats[region.end].sample;
    for (std::size_t i = region.end + 1; i < beats.size(); ++i)
        move.samples.push_back(clampedSample(static_cast<double>(beats[i].sample + delta)));
    return move;
}

} // namespace

void applyMove(ItemStore& store, const BeatMove& move) {
    auto& beats = store.beatList().edit();
    for (std::size_t i = 0; i < move.samples.size() && move.first + i < beats.size(); ++i)
        beats[move.first + i].sample = move.samples[i];
    for (SamplePosition s : move.added)
        store.addBeat(s);
    store.setModified(true);
    store.refresh();
}

int nudgeDelta(int variant, bool basedOnZoom, int samplesPerPixel) {
    const bool large = variant == 0 || variant == 3;
    const int amount =
        basedOnZoom ? samplesPerPixel * (large ? 2 : 1) : (large ? kLargeNudge : kSmallNudge);
    return variant <= 1 ? amount : -amount;
}

std::variant<BeatMove, std::string_view> planNudge(const ItemStore& store, SamplePosition cursor,
                                                   std::int64_t delta) {
    const ItemList& beats = store.beats();
    if (beats.size() < 2)
        return kNudgeNeedsTwoMessage;
    auto first =
        std::find_if(beats.begin(), beats.end(), [](const EditItem& b) { return b.selected; });
    if (first == beats.end())
        first = std::find_if(beats.begin(), beats.end(),
                             [cursor](const EditItem& b) { return b.sample > cursor; });
    if (first == beats.end())
        return kNudgeAfterLastMessage;
    BeatMove move;
    move.first = static_cast<std::size_t>(first - beats.begin());
    move.samples.reserve(beats.size() - move.first);
    for (auto b = first; b != beats.end(); ++b)
        move.samples.push_back(clampedSample(static_cast<double>(b->sample + delta)));
    return checked(std::move(move), store);
}

std::variant<GrowRegion, std::string_view> growRegion(const ItemStore& store,
                                                      SamplePosition cursor) {
    const ItemList& beats = store.beats();
    if (beats.size() < 2)
        return kGrowNeedsTwoMessage;
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < beats.size(); ++i) {
        if (!beats[i].selected)
            continue;
        if (beats[i].isSubBeat)
            return kGrowSubBeatSelectedMessage;
        selected.push_back(i);
    }
    GrowRegion region;
    const std::size_t last = beats.size() - 1;
    if (selected.empty()) {
        if (cursor < beats[0].sample || cursor >= beats[last].sample)
            return kGrowOutsideMessage;
        const auto after =
            std::upper_bound(beats.begin(), beats.end(), cursor,
                             [](SamplePosition s, const EditItem& b) { return s < b.sample; });
        region.start = static_cast<std::size_t>(after - beats.begin()) - 1;
        region.end = last;
    } else if (selected.size() == 1) {
        if (selected[0] == last)
            return kGrowFromLastMessage;
        region.start = selected[0];
        region.end = last;
    } else {
        region.start = selected.front();
        region.end = selected.back();
    }
    for (std::size_t i = region.start; i <= region.end; ++i)
        if (beats[i].isSubBeat)
            return kGrowSubBeatsInsideMessage;
    const TimingMap timing = store.timing();
    region.averageBpm =
        timing.averageBpm(static_cast<int>(region.start), static_cast<int>(region.end));
    region.firstBpm = timing.intervalBpm(region.start);
    return region;
}

std::variant<BeatMove, std::string_view> planQuickGrow(const ItemStore& store,
                                                       const GrowRegion& region, int step) {
    const ItemList& beats = store.beats();
    const TimingMap timing = store.timing();
    const std::int64_t s0 = beats[region.start].sample;
    const std::int64_t interval = beats[region.start + 1].sample - s0 + step;
    // The first interval's new length, per beat that takes time (a warp may skip some).
    const double perBeat =
        static_cast<double>(interval) / timedBeatsBetween(timing, region.start, region.start + 1);
    std::vector<SamplePosition> samples;
    for (std::size_t j = 0; j <= region.end - region.start; ++j)
        samples.push_back(clampedSample(
            static_cast<double>(s0) +
            std::trunc(timedBeatsBetween(timing, region.start, region.start + j) * perBeat)));
    return checked(withTailShifted(beats, region, std::move(samples)), store);
}

std::variant<BeatMove, std::string_view>
planGrowTo(const ItemStore& store, const GrowRegion& region, double bpm, bool fillToEnd) {
    const ItemList& beats = store.beats();
    const TimingMap timing = store.timing();
    const double s0 = beats[region.start].sample;
    const double samplesPerBeat = timing.sampleRate() * 60.0 / bpm;
    std::vector<SamplePosition> samples;
    for (std::size_t j = 0; j <= region.end - region.start; ++j)
        samples.push_back(clampedSample(std::trunc(
            s0 + samplesPerBeat * timedBeatsBetween(timing, region.start, region.start + j))));
    BeatMove move = withTailShifted(beats, region, std::move(samples));
    if (fillToEnd && samplesPerBeat >= 1) {
        // From the region's new end, whose own marker the first one replaces.
        double x = move.samples[region.end - region.start];
        for (; std::trunc(x) <= timing.musicLength(); x += samplesPerBeat)
            move.added.push_back(static_cast<SamplePosition>(std::trunc(x)));
    }
    return checked(std::move(move), store);
}

std::variant<BeatMove, std::string_view> planSmooth(const ItemStore& store,
                                                    const GrowRegion& region, int window) {
    const ItemList& beats = store.beats();
    std::vector<double> p;
    for (std::size_t i = region.start; i <= region.end; ++i)
        p.push_back(beats[i].sample);
    const std::size_t n = p.size();
    const auto w = static_cast<std::size_t>(std::max(window, 1));
    const double wd = static_cast<double>(w);
    std::vector<SamplePosition> q(n);
    double x = p[0];
    q[0] = beats[region.start].sample;
    for (std::size_t i = 1; i < n; ++i) {
        const double d = p[i] - p[i - 1];
        if (w == 1)
            x = p[i];
        else if (n <= w)
            x += d / wd + (p[n - 1] - p[0]) / static_cast<double>(n - 1) * (wd - 1) / wd;
        else if (i < w)
            x += d / wd + (p[w - 1] - p[0]) / wd;
        else
            x += (p[i] - p[i - w]) / wd;
        q[i] = clampedSample(std::trunc(x + 0.5));
    }
    BeatMove move{region.start, std::move(q), {}};
    // Markers after the region stay where they are: the region must not pass them.
    if (region.end + 1 < beats.size())
        move.samples.push_back(beats[region.end + 1].sample);
    return checked(std::move(move), store);
}

} // namespace quillex
