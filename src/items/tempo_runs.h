// The tempos the editor shows. Beat markers sit on whole samples, so the tempo between
// two of them is rarely the one they were placed at (Autofill at 160 BPM gives
// intervals of 159.995 and 160.005 in turn). The markers are therefore taken in runs:
// from the first marker on, a run takes in marker after marker while one straight line
// (one tempo, starting anywhere within the first marker's sample) passes within half a
// sample of every marker of the run. The run's tempo is the simplest such tempo (the fewest
// decimals up to three, then six significant digits), as a written `.sm` file has it.
#pragma once

#include <cstddef>

#include "base/line_band.h"
#include "items/item_list.h"

namespace quillex {

class TempoRuns {
  public:
    // `markers`: the refreshed beat list (ascending rows and samples); `warps`: the rows
    // that take no time, left out of each interval's rows. Both kept by reference.
    TempoRuns(const ItemList& markers, int sampleRate, const ItemList& warps = kNoWarps)
        : markers_(markers), warps_(warps), rate_(sampleRate), band_(kHalfSample) {}

    // The tempo shown for the interval from marker i to marker i + 1; 0 when there is
    // no such interval. Quick for ascending i: the walk goes on from the run before.
    double bpmOfInterval(std::size_t i);

    // The first run, then the next one; false after the last. Each run covers the
    // intervals [firstMarker(), lastMarker()).
    bool nextRun();
    std::size_t firstMarker() const { return first_; }
    std::size_t lastMarker() const { return last_; }
    double bpm();

  private:
    void restart();

    static const ItemList kNoWarps;
    // How far a run's markers may lie from its line: half a sample, and a little more
    // for the rounding of the sums that placed them.
    static constexpr double kHalfSample = 0.5 + 1e-6;
    // The rows from a marker's row to another's that take time.
    double timedRowsBetween(const EditItem& a, const EditItem& b) const;

    const ItemList& markers_;
    const ItemList& warps_;
    int rate_;
    std::size_t first_ = 0;
    std::size_t last_ = 0; // first_ == last_: before the first run
    LineBand band_;        // the lines through the current run
    double lowSlope_ = 0;  // samples per row the run allows
    double highSlope_ = 0;
    double bpm_ = -1; // -1 until asked
};

} // namespace quillex
