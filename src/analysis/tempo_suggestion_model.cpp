#include "analysis/tempo_suggestion_model.h"

#include <cmath>

#include "base/number_format.h"

namespace quillex {

namespace {

constexpr double kHighestBpm = 10000;
constexpr double kLowestBpm = 1;

TempoCandidate withPeriod(const TempoCandidate& c, double origin, double period, int sampleRate) {
    TempoCandidate out = c;
    const double first = origin - std::floor(origin / period) * period;
    out.grid = {first, period};
    out.bpm = 60.0 * sampleRate / period;
    out.firstBeatSeconds = first / sampleRate;
    return out;
}

} // namespace

TempoCandidate doubledTempo(const TempoCandidate& c, int sampleRate) {
    return withPeriod(c, c.grid.origin, c.grid.period / 2, sampleRate);
}

TempoCandidate halvedTempo(const TempoCandidate& c, int sampleRate) {
    return withPeriod(c, c.grid.origin, c.grid.period * 2, sampleRate);
}

std::string tempoText(const TempoCandidate& candidate) {
    return formatFixed(candidate.bpm, 3);
}

std::string firstBeatSecondsText(const TempoCandidate& candidate) {
    return formatFixed(candidate.firstBeatSeconds, 6);
}

std::string TempoSuggestionModel::bpmText(std::size_t row) const {
    return tempoText(candidates_.at(row));
}

std::string TempoSuggestionModel::firstBeatText(std::size_t row) const {
    return firstBeatSecondsText(candidates_.at(row));
}

std::string TempoSuggestionModel::confidenceText(std::size_t row) const {
    return formatFixed(candidates_.at(row).confidence, 2);
}

void TempoSuggestionModel::doubleRow(std::size_t row) {
    TempoCandidate& c = candidates_.at(row);
    if (c.bpm * 2 <= kHighestBpm)
        c = doubledTempo(c, sampleRate_);
}

void TempoSuggestionModel::halveRow(std::size_t row) {
    TempoCandidate& c = candidates_.at(row);
    if (c.bpm / 2 >= kLowestBpm)
        c = halvedTempo(c, sampleRate_);
}

} // namespace quillex
