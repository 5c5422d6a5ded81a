// The editor's own clipboard (the system clipboard is not used) and the commands around
// it: Cut, Copy, Paste and Delete. It holds one kind of data at a time: beats, or
// pauses, or delays, or the notes of one level (a warp is not copied: pasting one
// would renumber the markers after it). Cut only marks its items; they leave the song when
// the copies are pasted, so Cut then Paste moves them and a second Paste only copies.
#pragma once

#include <array>
#include <string_view>

#include "items/item_store.h"

namespace quillex {

inline constexpr std::string_view kOneKindToCutMessage =
    "Sorry, you can only Cut/Copy one kind of data from one level at one time.";
inline constexpr std::string_view kNotesDoNotFitMessage =
    "Notes that fit in this chart will be pasted.\n"
    "Notes that do not fit in this chart will be ignored.";
inline constexpr std::string_view kLockedBeatSelectedMessage =
    "I cannot do that if you've selected a Locked Beat!  Unlock the beat(s) first.";

class Clipboard {
  public:
    // Copies every selected beat, pause, delay and note (of any level). With `cut` the
    // originals are marked to go at the next paste. False when the selection holds
    // more than one kind of data or notes of two levels: then the clipboard and every
    // cut mark are cleared (the caller shows kOneKindToCutMessage).
    bool copy(ItemStore& store, bool cut);

    bool holdsSomething() const;

    // Pastes at the play position `position`. Returns false when notes of columns the
    // current level does not have were left out (the caller shows
    // kNotesDoNotFitMessage). The caller brackets it with the "Paste" undo entry.
    bool paste(ItemStore& store, SamplePosition position, SamplePosition musicLength);

    void clear();

  private:
    ItemList::Items beats_;
    ItemList::Items pauses_;
    ItemList::Items delays_;
    std::array<ItemList::Items, kLevelCount> notes_;
};

// What Delete would do with the current selection.
enum class DeleteCheck { LockedBeatSelected, NothingSelected, Deletable };
DeleteCheck checkDelete(const ItemStore& store);
// Removes the active selected beats (not under the one-layer lock and never locked
// ones), pauses and notes of the current level, then refreshes.
void deleteSelection(ItemStore& store);

} // namespace quillex
