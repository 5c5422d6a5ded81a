// The selection commands of the Edit menu: all, none, invert, by note type, by beat
// colour, locked beats, and the two-press region. They only set or toggle the selected
// flag of items whose layer is active; beats and pauses stay out of reach while the
// one-layer lock holds.
#pragma once

#include "items/item_store.h"

namespace quillex {

enum class SelectionChange { Set, Clear, Toggle };

// Select All, Select None and Invert Selection: beats, pauses and the current level's
// notes.
void changeSelection(ItemStore& store, SelectionChange change);

// Toggles every beat of one colour, or every locked beat.
enum class BeatGroup { White, Blue, Locked };
void toggleBeats(ItemStore& store, BeatGroup group);

// Toggles every note of the current level of one division class (0..8, or -1 for
// mines and lifts), whether its layer is active or not.
void toggleNotesOfClass(ItemStore& store, std::int32_t divisionClass);

// The region of Ctrl+Space: the first press sets its begin at the play position, the
// second its end, and selects the beats and notes between.
class RegionSelection {
  public:
    enum class State { None, BeginSet, RegionSet };

    // One press at the play position `position`.
    void press(ItemStore& store, SamplePosition position);
    // Back to no region (a song or music was loaded).
    void reset();

    State state() const { return state_; }
    SamplePosition begin() const { return begin_; }
    SamplePosition end() const { return end_; }
    // Both ends set: the region a command such as Set to Song Preview may use.
    bool complete() const { return state_ == State::RegionSet; }

  private:
    State state_ = State::None;
    SamplePosition begin_ = 0;
    SamplePosition end_ = 0;
};

} // namespace quillex
