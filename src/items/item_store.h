// The editable form of the song's timing and charts: one list of beat markers, one each
// of pauses, delays and warps, one note list per level, and the fixed screen regions
// the mouse can grab.
// Every edit changes these lists and then calls refresh(), which restores their order
// and removes whatever may not exist.
#pragma once

#include <array>
#include <atomic>
#include <vector>

#include "items/busy_counter.h"
#include "items/item_list.h"
#include "items/timing_map.h"
#include "model/edit_item.h"
#include "model/game_type.h"
#include "model/music_info.h"
#include "model/note_kind.h"

namespace quillex {

// The layer switches. Wave, beat, pause and arrow decide which items can be hit,
// selected and deleted (delays and warps go with the pauses); the status layer has no
// items.
enum class Layer { Wave, Beat, Pause, Arrow, Status };

// Editing options held by the store (their values come from options.ini).
struct EditOptions {
    bool oneLayerEdit = true;     // "Edit on one layer at a time"
    bool selectPasted = true;     // "Select newly pasted items"
    bool pasteOverride = true;    // "Pasting will overwrite old items with the new"
    bool nudgeBasedOnZoom = true; // "Nudge beats based on zoom level"
};

// How a new beat marker looks and whether it is locked or selected.
struct BeatFlags {
    bool locked = false;
    bool white = false; // else blue
    bool selected = false;
};

// Copies of the song lists, cheap to take and to keep (lists are shared until
// changed). The undo history stores these.
struct ItemSnapshot {
    ItemList beats;
    ItemList pauses;
    std::array<ItemList, kLevelCount> notes;
    ItemList delays;
    ItemList warps;
};

class ItemStore {
  public:
    ItemStore(const MusicInfo& music, BusyCounter& busy);

    // Each add puts one item into its place in the list's order (notes by row and
    // column, beats by sample, stretches by start row), after any item already on that
    // place, so a list that can be read is always in order. It marks the song modified
    // and returns the new item's index, or -1 when there is no such list. What else the
    // refresh settles (duplicates, holds over notes, numbering) waits for it.

    // A beat marker at a sample, blue unless white.
    int addBeat(SamplePosition sample, BeatFlags flags = {});
    // A beat marker at a sample and a row; a row with a non-zero fraction makes it a
    // sub-beat there.
    int addBeatAtRow(SamplePosition sample, RowPosition row, BeatFlags flags = {});
    // A pause of `length` rows from `start`; its sample follows from the start row.
    int addPause(RowPosition start, RowPosition length, bool selected = false);
    // A delay of `length` rows from `start`: those rows take their time from the
    // markers like a pause's, and the notes of the delay lie on its end row, so they
    // sound when it ends. Its sample follows from the start row.
    int addDelay(RowPosition start, RowPosition length, bool selected = false);
    // A warp of `length` rows from `start`: rows start .. start + length - 1 take no
    // time and their notes are not played; the end row sounds where the start does.
    // Add warps before the refresh that numbers the markers they skip.
    int addWarp(RowPosition start, RowPosition length, bool selected = false);
    // A note of a kind in a column of a level; a positive `length` makes it a hold (or
    // a roll), whatever the kind.
    int addNote(LevelIndex level, int column, RowPosition start, RowPosition length, NoteKind kind,
                bool selected = false);

    // Gives note `index` of a level a new start and length (a hold when the length is
    // above zero) and moves it to its place in the order; returns its new index.
    int reshapeNote(LevelIndex level, std::size_t index, RowPosition start, RowPosition length);

    // Adds the fixed screen regions, once; the view gives them their boxes.
    void addScreenRegions();

    // Puts the lists back into canonical order and removes what may not exist.
    void refresh();
    // The same after a mouse drag moved the selected pauses in time: their start rows
    // follow their new samples (on the beats as the refresh orders them), where every
    // other pause keeps its row and takes its sample from it.
    void refreshAfterPauseDrag();

    void clearAllSelection();

    // The lists. Reading is free; editing copies a list that a snapshot still shares.
    const ItemList& beats() const { return beats_; }
    const ItemList& pauses() const { return pauses_; }
    const ItemList& delays() const { return delays_; }
    const ItemList& warps() const { return warps_; }
    const ItemList& notes(LevelIndex level) const;
    ItemList::Items& editBeats() { return beats_.edit(); }
    ItemList::Items& editPauses() { return pauses_.edit(); }
    ItemList::Items& editNotes(LevelIndex level);
    // The lists themselves, for edits that copy a list only when they really change
    // it.
    ItemList& beatList() { return beats_; }
    ItemList& pauseList() { return pauses_; }
    ItemList& delayList() { return delays_; }
    ItemList& warpList() { return warps_; }
    // The lists of the pause layer: pauses, delays and warps.
    std::array<ItemList*, 3> stretchLists() { return {&pauses_, &delays_, &warps_}; }
    std::array<const ItemList*, 3> stretchLists() const { return {&pauses_, &delays_, &warps_}; }
    ItemList& noteList(LevelIndex level) { return notes_[isValidLevel(level) ? level : 0]; }
    const std::vector<EditItem>& regions() const { return regions_; }
    EditItem* region(ItemKind kind);

    // Empties beats, pauses, delays, warps and every note list (a song closed or
    // replaced).
    void clearSong();

    ItemSnapshot snapshot() const;
    void restore(const ItemSnapshot& snapshot);

    // The timing map of the beat and warp lists as the last refresh left them.
    TimingMap timing() const;
    bool hasSubBeats() const { return hasSubBeats_; }

    // The current level: its notes are the ones the layer switches and ticks act on.
    LevelIndex currentLevel() const { return currentLevel_; }
    void setCurrentLevel(LevelIndex level);
    // Distinct sample times of the current level's played notes (none inside a warp),
    // in order (for note ticks).
    const std::vector<SamplePosition>& noteTimes() const { return noteTimes_; }
    void rebuildNoteTimes();
    // Counts the rebuilds of the note times (every refresh, undo, level change and
    // clearing): whoever keeps copies of the lists compares it to know they are stale.
    std::uint64_t revision() const { return revision_; }

    // Layer switches: each sets layerActive on every item of its kinds.
    void setLayer(Layer layer, bool on);
    bool layerOn(Layer layer) const { return layers_[static_cast<int>(layer)]; }
    // Beats and pauses are out of reach of selection while editing notes, when the
    // option asks for one layer at a time.
    bool oneLayerLock() const { return options_.oneLayerEdit && layerOn(Layer::Arrow); }

    EditOptions& options() { return options_; }
    const EditOptions& options() const { return options_; }
    // Run-time value of "Inserting the same arrow will delete it"; the note
    // transforms switch it off around their own refresh.
    bool toggleDelete() const { return toggleDelete_; }
    void setToggleDelete(bool on) { toggleDelete_ = on; }

    bool modified() const { return modified_.load(std::memory_order_acquire); }
    void setModified(bool on) { modified_.store(on, std::memory_order_release); }

    BusyCounter& busyCounter() const { return busy_; }

  private:
    bool layerOfKindOn(ItemKind kind) const;
    EditItem newItem(ItemKind kind, bool selected) const;
    int append(ItemList& list, const EditItem& item);
    static std::size_t insertionIndex(const ItemList& list, const EditItem& item);
    int addStretch(ItemKind kind, ItemList& list, RowPosition start, RowPosition length,
                   bool selected);

    void refreshBeats();
    void refreshAll(bool selectedPausesFollowSamples);
    // Sorts the warps and merges those that overlap or touch; with `selectedFollowSamples`
    // the selected ones first take their start rows from their dragged samples.
    void refreshWarps(bool selectedFollowSamples);
    void removeWarpsPastTheBeats();
    // Pauses or delays: timed from their rows, none past the last marker, none
    // overlapping an earlier one.
    void refreshStretches(ItemList& list, bool selectedFollowSamples);
    void refreshNotes(LevelIndex level, const TimingMap& timing);
    // Refreshes a long note list by the notes changed since its last refresh; false when
    // the whole list must be looked at.
    bool refreshChangedNotes(LevelIndex level, const TimingMap& timing);
    // Counts a change of the beat or warp list or the music length since the last
    // refresh.
    void noteTimingChange();

    const MusicInfo& music_;
    BusyCounter& busy_;

    std::vector<EditItem> regions_;
    ItemList beats_;
    ItemList pauses_;
    ItemList delays_;
    ItemList warps_;
    std::array<ItemList, kLevelCount> notes_;
    bool hasSubBeats_ = false;

    // What the last refreshes found, kept so that the next one can skip what has not
    // changed since: the beats as a refresh found them in order, the beats the notes
    // were timed by, and each note list as its last refresh left it (tidy and timed
    // by the timing of `timingRevision`, its holds at most `longestHold` rows long).
    struct BeatsSeen {
        ItemList beats;
        SamplePosition musicLength = -1;
        ItemList warps;
    };
    struct RefreshedNotes {
        ItemList list;
        std::int32_t longestHold = 0;
        std::uint64_t timingRevision = 0;
    };
    BeatsSeen beatsInOrder_;
    BeatsSeen timedBy_;
    std::uint64_t timingRevision_ = 1;
    std::array<RefreshedNotes, kLevelCount> refreshedNotes_;

    LevelIndex currentLevel_ = 0;
    std::vector<SamplePosition> noteTimes_;
    ItemList noteTimesOf_;    // the note list noteTimes_ was taken from
    ItemList noteTimesWarps_; // and the warps it left out the notes of
    std::uint64_t revision_ = 0;

    std::array<bool, 5> layers_{};
    EditOptions options_;
    bool toggleDelete_ = true;
    std::atomic<bool> modified_{false};
};

} // namespace quillex
