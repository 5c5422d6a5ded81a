// The song's time base: beat markers at sample positions and the warps (stretches of
// rows that take no time), and the conversions between musical rows and samples that
// follow from them. Tempo is never stored; BPMs are computed from the spacing of
// neighbouring markers. Pauses and delays need nothing here: their rows take the time
// the markers around them give.
#pragma once

#include "items/item_list.h"
#include "items/tempo_runs.h"
#include "model/row_position.h"

namespace quillex {

// A read-only view of the beat and warp lists as the last refresh left them (markers
// sorted by sample, numbered, no duplicates, first and last markers regular beats, no
// marker on a row a warp skips; warps sorted by row, merged where they overlap).
// Copying it is cheap and keeps the lists it was made from alive.
class TimingMap {
  public:
    TimingMap() = default;
    TimingMap(ItemList beats, bool hasSubBeats, int sampleRate, SamplePosition musicLength,
              ItemList warps = {})
        : beats_(std::move(beats)), warps_(std::move(warps)), hasSubBeats_(hasSubBeats),
          sampleRate_(sampleRate), musicLength_(musicLength) {}

    const ItemList& beats() const { return beats_; }
    const ItemList& warps() const { return warps_; }
    bool hasSubBeats() const { return hasSubBeats_; }
    int sampleRate() const { return sampleRate_; }
    SamplePosition musicLength() const { return musicLength_; }
    std::size_t markerCount() const { return beats_.size(); }

    // The sample where a row of the grid sounds. Rows before beat 1 give 0; rows past
    // the last marker give the last marker's sample (with sub-beats or warps) or 0
    // (without). Every row of a warp and the row after it give the warp start's sample.
    SamplePosition rowToSample(RowPosition row) const;
    SamplePosition rowToSample(std::int32_t beat, std::int32_t fraction) const {
        return rowToSample(RowPosition{beat, fraction});
    }
    // The nearest row of the grid at a sample; row 0 with fewer than two markers. At a
    // warp's sample it is the row after the warp, the first one played there.
    RowPosition sampleToRow(SamplePosition sample) const;

    // True when a row lies inside a warp (from its start row up to, not including, its
    // end row): its notes are drawn faded and are neither played, ticked nor judged.
    bool insideWarp(std::int32_t row) const;
    bool insideWarp(RowPosition row) const { return insideWarp(row.row()); }
    // The row itself, or the end row of the warp holding it: the row played at its time.
    RowPosition playedRow(RowPosition row) const;
    // Rows from row 0 up to `row` that take time: `row` less the warp rows before it.
    std::int32_t timedRow(std::int32_t row) const;

    // Tempo between marker i and marker i + 1 as their samples and the timed rows
    // between them give it; 0 when i is not such a pair.
    double intervalBpm(std::size_t i) const;
    // The tempos shown: the simplest tempo of each run of markers (see TempoRuns).
    // Valid while this map lives.
    TempoRuns tempoRuns() const { return TempoRuns(beats_, sampleRate_, warps_); }
    // Shown tempo of the interval holding a sample; 0 outside the marked range.
    double bpmAt(SamplePosition sample) const;
    // Lowest and highest shown tempo: 1000000 and 0 with fewer than two markers.
    double lowestBpm() const;
    double highestBpm() const;
    // The single tempo of markers first..last, averaged over samples per beat rather
    // than over BPMs. first = last = -1 means the whole list. 0 with at most one marker.
    double averageBpm(int first = -1, int last = -1) const;
    // Duration in seconds of a pause or delay item (start row plus its length in rows);
    // 0 for a warp.
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
        // span `rows_` timed rows and `samples_` samples; firstRow_ is timed row
        // firstTimed_. Empty until the first conversion.
        std::int32_t firstRow_ = 0;
        std::int32_t firstTimed_ = 0;
        std::int32_t endRow_ = 0;
        SamplePosition firstSample_ = 0;
        double rows_ = 1;
        double samples_ = 0;
        std::size_t interval_ = 0;
    };

  private:
    SamplePosition rowToSampleByBeatIndex(std::int32_t beat, std::int32_t fraction) const;
    // Markers are found by their index only when every beat has one in turn.
    bool byBeatIndex() const { return !hasSubBeats_ && warps_.empty(); }

    ItemList beats_;
    ItemList warps_;
    bool hasSubBeats_ = false;
    int sampleRate_ = 44100;
    SamplePosition musicLength_ = 0;
};

} // namespace quillex
