// The tempos the editor shows. Beat markers sit on whole samples, so the tempo between
// two of them is rarely the one they were placed at (Autofill at 160 BPM gives
// intervals of 159.995 and 160.005 in turn). The markers are therefore taken in runs:
// from the first marker on, a run takes in marker after marker while one tempo keeps
// every marker of the run within half a sample of its own sample, counted from the
// run's first marker. The run's tempo is the simplest such tempo (the fewest decimals
// up to three, then six significant digits), as a written `.sm` file has it.
#pragma once

#include <cstddef>

#include "items/item_list.h"

namespace quillex {

class TempoRuns {
  public:
    // `markers`: the refreshed beat list (ascending rows and samples); `warps`: the rows
    // that take no time, left out of each interval's rows. Both kept by reference.
    TempoRuns(const ItemList& markers, int sampleRate, const ItemList& warps = kNoWarps)
        : markers_(markers), warps_(warps), rate_(sampleRate) {}

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
    // The rows from a marker's row to another's that take time.
    double timedRowsBetween(const EditItem& a, const EditItem& b) const;

    const ItemList& markers_;
    const ItemList& warps_;
    int rate_;
    std::size_t first_ = 0;
    std::size_t last_ = 0; // first_ == last_: before the first run
    double lowSlope_ = 0;  // samples per row the run allows
    double highSlope_ = 0;
    double bpm_ = -1; // -1 until asked
};

} // namespace quillex
