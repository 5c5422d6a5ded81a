#include "fileio/sm_tempo_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <tuple>
#include <utility>

#include "base/number_format.h"
#include "base/simplest_number.h"
#include "fileio/sm_line_start.h"
#include "fileio/sm_run_fit.h"
#include "fileio/sm_tempo_entries.h"
#include "fileio/sm_time_arithmetic.h"

namespace quillex {

namespace {

using namespace sm_fit;

// Decimals tried for a stop's seconds.
constexpr int kStopDecimals = 6;
// Tempos of a run tried for how far the next run reaches after them.
constexpr int kLookahead = 12;
// Tempos tried in a row without the next run reaching further before the search ends.
constexpr int kLookaheadPatience = 4;
// The significant digits of the tempos a fit tries first.
constexpr int kSixDigits = 6;
// Offsets tried before the best of them is taken.
constexpr int kOffsetCandidates = 64;

// A stop's seconds: the simplest number that brings the reader's position after the
// stop onto the sample where the pause ends (never zero: a stop of zero seconds makes
// no pause).
WrittenNumber stopSeconds(double x, double endSample, int rate) {
    constexpr double kShortest = 1e-6;
    const double lo = std::max((endSample - 0.5 - x) / rate, kShortest);
    const double hi = std::max((endSample + 0.5 - x) / rate, kShortest);
    const auto keeps = [&](double seconds) {
        return seconds > 0 && nearestSample(smAfterStop(x, seconds, rate)) == endSample;
    };
    if (auto w = simplestKept(lo, hi, kStopDecimals, keeps))
        return *std::move(w);
    return written(lo / 2 + hi / 2);
}

// Walks the markers and pauses as the reader will, ending a tempo run where no written
// tempo keeps its markers any longer, at a sub-beat and at a pause. Where several
// values keep a run's markers (a short run), the one after which the next run reaches
// furthest is taken, simplest among equals: the next run starts where this one ends.
class PerBeatFit {
  public:
    explicit PerBeatFit(const SmTempoFitInput& in)
        : in_(in), points_(in.points), rate_(in.sampleRate), fit_(rate_), probe_(rate_) {}

    SmTempoText run() {
        SmTempoText text;
        const WrittenNumber offset = chooseOffset();
        text.offset = offset.text;
        fit_.start(-offset.value * rate_, 0, lineDigits_);
        std::vector<Entry> stops;
        std::vector<Entry> delays;
        std::vector<WrittenNumber> stopValues;
        stopValues.reserve(points_.size());
        for (std::size_t i = 0; i < points_.size(); ++i) {
            const SmTimingPoint& p = points_[i];
            if (p.kind == SmTimingPoint::Kind::Pause) {
                closeRun(p.fileRow, i);
                pinned_ = false; // the stop puts a marker on its row anyway
                stopValues.push_back(stopSeconds(fit_.x(), p.sample, rate_));
                lineDigits_ = kSixDigits;
                if (auto line = secondsForLine(fit_.x(), i, stopValues.back()))
                    stopValues.back() = *std::move(line);
                (p.delay ? delays : stops).push_back({p.fileRow, &stopValues.back()});
                fit_.start(smAfterStop(fit_.x(), stopValues.back().value, rate_), p.fileRow,
                           lineDigits_);
                continue;
            }
            if (!fit_.add(p.fileRow, p.sample)) {
                closeRun(fit_.lastRow(), i);
                if (!fit_.add(p.fileRow, p.sample))
                    fit_.force(p.fileRow, p.sample);
            }
            if (p.subBeat && p.fileRow > fit_.startRow()) {
                closeRun(p.fileRow, i + 1);
                pinned_ = true;
            }
        }
        closeRun(fit_.lastRow(), points_.size());
        if (runs_.empty())
            runs_.push_back({0, written(in_.averageBpm), false});
        runs_.front().startRow = 0; // the reader needs a tempo on beat 0
        text.bpms = tempoList(in_, runs_);
        text.stops = entryList(in_, stops);
        text.delays = entryList(in_, delays);
        return text;
    }

  private:
    // How far a run starting at position x on `row` reaches, taking the points from
    // `next` on (a stop on `row` first): the last row it keeps, and whether it ran on to
    // a pause, a sub-beat or the end, where no start can do better. A marker on `row`
    // itself that x misses ends it before it starts. Its tempo may have up to
    // `maxDigits` significant digits; a run whose range of tempos holds none that keeps
    // its markers exactly is not complete.
    struct Reach {
        std::int64_t row;
        bool complete;
    };
    Reach reachFrom(double x, std::int64_t row, std::size_t next, int maxDigits = kSixDigits) {
        std::size_t j = next;
        if (j < points_.size() && points_[j].kind == SmTimingPoint::Kind::Pause &&
            points_[j].fileRow == row)
            x = smAfterStop(x, stopSeconds(x, points_[j++].sample, rate_).value, rate_);
        probe_.start(x, row, maxDigits);
        for (; j < points_.size(); ++j) {
            const SmTimingPoint& p = points_[j];
            if (p.kind == SmTimingPoint::Kind::Pause)
                return {p.fileRow, probe_.keepable()};
            if (p.fileRow <= row) {
                if (nearestSample(x) != p.sample)
                    return {row - 1, false};
                continue;
            }
            if (!probe_.add(p.fileRow, p.sample))
                return {probe_.lastRow(), false};
            if (p.subBeat)
                return {p.fileRow, probe_.keepable()};
        }
        return {probe_.lastRow(), probe_.keepable()};
    }

    // The #OFFSET: the simplest number (fewest decimals, nearest the likely value among
    // equals) whose first tempo run reaches furthest. Its window is where beat 0 can
    // lie: within half a sample of the first marker, or extrapolated back from it at the
    // first interval's tempo when the file has beats before the first marker.
    WrittenNumber chooseOffset() {
        const SmTimingPoint* first = nullptr;
        const SmTimingPoint* second = nullptr;
        for (const SmTimingPoint& p : points_) {
            if (p.kind == SmTimingPoint::Kind::Pause) {
                if (first)
                    break;
                continue;
            }
            if (!first) {
                first = &p;
            } else if (p.fileRow > first->fileRow) {
                second = &p;
                break;
            }
        }
        if (!first)
            return written(0);
        double slope = smSamplesPerRow(in_.averageBpm, rate_);
        double slopeDoubt = 0;
        if (second) {
            const double rows = static_cast<double>(second->fileRow - first->fileRow);
            slope = (second->sample - first->sample) / rows;
            slopeDoubt = 1 / rows;
        }
        const double before = static_cast<double>(first->fileRow);
        const double centre = first->sample - before * slope;
        const double half = 0.5 + before * slopeDoubt;
        const double lo = -(centre + half) / rate_, hi = -(centre - half) / rate_;
        const double magnitude = std::max(std::abs(lo), std::abs(hi));
        const int maxDecimals =
            magnitude > 0
                ? std::clamp(5 - static_cast<int>(std::floor(std::log10(magnitude))), 0, 9)
                : 0;

        std::optional<WrittenNumber> best;
        std::int64_t bestRow = -2;
        bool done = false;
        int left = kOffsetCandidates;
        double scale = 1;
        for (int d = 0; d <= maxDecimals && left > 0; ++d, scale *= 10) {
            const bool complete =
                nearestFirst(std::ceil(lo * scale), std::floor(hi * scale),
                             std::round(-centre / rate_ * scale), left, [&](double k) {
                                 --left;
                                 if (d > 0 && std::fmod(k, 10) == 0)
                                     return false; // tried with fewer decimals
                                 WrittenNumber candidate = written(k / scale);
                                 const Reach reach = reachFrom(-candidate.value * rate_, 0, 0);
                                 done = reach.complete && reach.row >= 0;
                                 if (reach.row > bestRow || done) {
                                     bestRow = reach.row;
                                     best = std::move(candidate);
                                 }
                                 return done;
                             });
            if (complete)
                break;
        }
        if (!done)
            if (auto line = lineStart(points_, 0, 0, rate_)) {
                const auto offset = simplestKept(
                    -line->high / rate_, -line->low / rate_, maxDecimals,
                    [&](double v) { return line->keeps(-v * rate_); }, kMostSignificantDigits);
                if (offset &&
                    reachFrom(-offset->value * rate_, 0, 0, kMostSignificantDigits).row > bestRow) {
                    lineDigits_ = kMostSignificantDigits;
                    return *offset;
                }
            }
        return best ? *best : written(-centre / rate_);
    }

    // A stop's seconds that start the run after the pause at points[pause] on a line
    // through its markers (see lineStart), when the run from `seconds` falls short of
    // the next pause, sub-beat or end and that one reaches further. x: where the stop
    // begins.
    std::optional<WrittenNumber> secondsForLine(double x, std::size_t pause,
                                                const WrittenNumber& seconds) {
        const std::int64_t row = points_[pause].fileRow;
        const Reach reach = reachFrom(smAfterStop(x, seconds.value, rate_), row, pause + 1);
        if (reach.complete)
            return std::nullopt;
        const auto line = lineStart(points_, pause + 1, row, rate_);
        if (!line)
            return std::nullopt;
        auto longer =
            simplestKept((line->low - x) / rate_, (line->high - x) / rate_, kStopDecimals,
                         [&](double v) { return v > 0 && line->keeps(smAfterStop(x, v, rate_)); },
                         kMostSignificantDigits);
        if (!longer ||
            reachFrom(smAfterStop(x, longer->value, rate_), row, pause + 1, kMostSignificantDigits)
                    .row <= reach.row)
            return std::nullopt;
        lineDigits_ = kMostSignificantDigits;
        return longer;
    }

    // Ends the current run on `endRow` with its tempo; the points from `next` on follow.
    void closeRun(std::int64_t endRow, std::size_t next) {
        if (endRow <= fit_.startRow())
            return;
        const std::int64_t rows = endRow - fit_.startRow();
        WrittenNumber bpm = runs_.empty() ? written(in_.averageBpm) : runs_.back().bpm;
        if (fit_.limited()) {
            bool found = false;
            Reach best{0, false};
            int sinceBest = 0;
            fit_.forEachTempo(kLookahead, [&](const WrittenNumber& candidate) {
                if (next >= points_.size()) {
                    bpm = candidate;
                    found = true;
                    return true;
                }
                const Reach reach =
                    reachFrom(smAdvance(fit_.x(), rows, candidate.value, rate_), endRow, next);
                if (!found || reach.row > best.row) {
                    bpm = candidate;
                    best = reach;
                    found = true;
                    sinceBest = 0;
                }
                return reach.complete || ++sinceBest >= kLookaheadPatience;
            });
            if (!found)
                bpm = written(fit_.middleTempo());
        }
        const double x = smAdvance(fit_.x(), rows, bpm.value, rate_);
        runs_.push_back({fit_.startRow(), std::move(bpm), pinned_});
        pinned_ = false;
        fit_.start(x, endRow, kSixDigits);
    }

    const SmTempoFitInput& in_;
    const std::vector<SmTimingPoint>& points_;
    int rate_;
    RunFit fit_;
    RunFit probe_; // tries runs ahead
    // The digits the next run's tempo may take: more only for a run started on a line
    // (see lineStart), whose tempo may need them. Elsewhere the run's start follows from
    // the tempos before it, and tempos of more digits stretch a run only to leave the
    // next one worse placed.
    int lineDigits_ = kSixDigits;
    std::vector<TempoRun> runs_;
    bool pinned_ = false;
};

// One tempo for the song; the offset extrapolated back from the first marker at that
// tempo, the stops as long as their pauses last.
SmTempoText fitSingle(const SmTempoFitInput& in) {
    SmTempoText text;
    const WrittenNumber bpm = written(in.averageBpm);
    text.bpms = "0=" + bpm.text;
    const auto first = std::find_if(in.points.begin(), in.points.end(), [](const SmTimingPoint& p) {
        return p.kind == SmTimingPoint::Kind::Marker;
    });
    const double firstSample = first == in.points.end() ? 0 : first->sample;
    const double before =
        first == in.points.end() ? 0 : smAdvance(0, first->fileRow, in.averageBpm, in.sampleRate);
    text.offset = formatNumber(-(firstSample - before) / in.sampleRate);
    std::vector<WrittenNumber> seconds;
    std::vector<Entry> stops;
    std::vector<Entry> delays;
    seconds.reserve(in.points.size());
    for (const SmTimingPoint& p : in.points) {
        if (p.kind != SmTimingPoint::Kind::Pause)
            continue;
        seconds.push_back(written((p.sample - p.startSample) / in.sampleRate));
        (p.delay ? delays : stops).push_back({p.fileRow, &seconds.back()});
    }
    text.stops = entryList(in, stops);
    text.delays = entryList(in, delays);
    return text;
}

} // namespace

SmTempoText fitSmTempo(const SmTempoFitInput& input) {
    return input.perBeatBpm ? PerBeatFit(input).run() : fitSingle(input);
}

} // namespace quillex
