// What the "Suggest Tempo..." dialog (and the Autofill dialog's "Suggest" button)
// shows and applies, without the widgets: one row per candidate with its BPM to three
// decimals, its first beat in seconds and its confidence; each row can be doubled or
// halved in place; the chosen row gives the BPM and offset Autofill runs with. Numbers
// are written with "." whatever the locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/tempo_candidates.h"

namespace quillex {

// The candidate at twice or half the tempo: the same beats, every other one added or
// dropped; the first beat stays the earliest at or after 0 s.
TempoCandidate doubledTempo(const TempoCandidate& candidate, int sampleRate);
TempoCandidate halvedTempo(const TempoCandidate& candidate, int sampleRate);

// A candidate's BPM to three decimals and its first beat in seconds to the
// microsecond, as the table shows them and the Autofill fields take them.
std::string tempoText(const TempoCandidate& candidate);
std::string firstBeatSecondsText(const TempoCandidate& candidate);

class TempoSuggestionModel {
  public:
    TempoSuggestionModel(std::vector<TempoCandidate> candidates, int sampleRate)
        : candidates_(std::move(candidates)), sampleRate_(sampleRate) {}

    // No rows: the dialog says kNoRhythmMessage instead.
    bool empty() const { return candidates_.empty(); }
    std::size_t rows() const { return candidates_.size(); }
    std::string bpmText(std::size_t row) const;
    std::string firstBeatText(std::size_t row) const;
    std::string confidenceText(std::size_t row) const;

    // The ×2 and ÷2 buttons: the row is replaced by its sibling (within 1..10000 BPM).
    void doubleRow(std::size_t row);
    void halveRow(std::size_t row);

    const TempoCandidate& candidate(std::size_t row) const { return candidates_.at(row); }

  private:
    std::vector<TempoCandidate> candidates_;
    int sampleRate_;
};

} // namespace quillex
