// The song's time base: beat markers at sample positions, and the conversions between
// musical rows and samples that follow from them. Tempo is never stored; BPMs are
// computed from the spacing of neighbouring markers.
#pragma once

#include "items/item_list.h"
#include "items/tempo_runs.h"
#include "model/row_position.h"

namespace quillex {

// A read-only view of the beat list as the last refresh left it (sorted by sample,
// numbered, no duplicates, first and last markers regular beats). Copying it is cheap
// and keeps the list it was made from alive.
class TimingMap {
  public:
    TimingMap() = default;
    TimingMap(ItemList beats, bool hasSubBeats, int sampleRate, SamplePosition musicLength)
        : beats_(std::move(beats)), hasSubBeats_(hasSubBeats), sampleRate_(sampleRate),
          musicLength_(musicLength) {}

    const ItemList& beats() const { return beats_; }
    bool hasSubBeats() const { return hasSubBeats_; }
    int sampleRate() const { return sampleRate_; }
    SamplePosition musicLength() const { return musicLength_; }
    std::size_t markerCount() const { return beats_.size(); }

    // The sample where a row of the grid sounds. Rows before beat 1 give 0; rows past
    // the last marker give the last marker's sample (with sub-beats) or 0 (without).
    SamplePosition rowToSample(RowPosition row) const;
    SamplePosition rowToSample(std::int32_t beat, std::int32_t fraction) const {
        return rowToSample(RowPosition{beat, fraction});
    }
    // The nearest row of the grid at a sample; row 0 with fewer than two markers.
    RowPosition sampleToRow(SamplePosition sample) const;

    // Tempo between marker i and marker i + 1 as their samples give it; 0 when i is not
    // such a pair.
    double intervalBpm(std::size_t i) const;
    // The tempos shown: the simplest tempo of each run of markers (see TempoRuns).
    // Valid while this map lives.
    TempoRuns tempoRuns() const { return TempoRuns(beats_, sampleRate_); }
    // Shown tempo of the interval holding a sample; 0 outside the marked range.
    double bpmAt(SamplePosition sample) const;
    // Lowest and highest shown tempo: 1000000 and 0 with fewer than two markers.
    double lowestBpm() const;
    double highestBpm() const;
    // The single tempo of markers first..last, averaged over samples per beat rather
    // than over BPMs. first = last = -1 means the whole list. 0 with at most one marker.
    double averageBpm(int first = -1, int last = -1) const;
    // Duration in seconds of a pause item (start row plus its length in rows).
    double pauseSeconds(const EditItem& pause) const;

    // Converts many rows in a row: fast when the rows come in ascending order (each
    // conversion continues from the interval of the one before), correct in any order.
    class SequentialConverter {
      public:
        explicit SequentialConverter(const TimingMap& map) : map_(map) {}
        SamplePosition operator()(RowPosition row);

      private:
        // Finds the interval of markers holding `row` (before the last marker's row)
        // and keeps what converting inside it needs.
        void enterIntervalOf(std::int32_t row);

        const TimingMap& map_;
        // The interval last used: rows [firstRow_, endRow_) start at firstSample_ and
        // span `rows_` rows and `samples_` samples. Empty until the first conversion.
        std::int32_t firstRow_ = 0;
        std::int32_t endRow_ = 0;
        SamplePosition firstSample_ = 0;
        double rows_ = 1;
        double samples_ = 0;
        std::size_t interval_ = 0;
    };

  private:
    SamplePosition rowToSampleWithSubBeats(std::int32_t row) const;
    SamplePosition rowToSampleByBeatIndex(std::int32_t beat, std::int32_t fraction) const;

    ItemList beats_;
    bool hasSubBeats_ = false;
    int sampleRate_ = 44100;
    SamplePosition musicLength_ = 0;
};

} // namespace quillex
