// The undo/redo history: a chain of whole editable states S0, S1, S2 … where S0 is the
// state before the first edit and Sk the state after edit k. Every edit opens an entry
// with a label before it changes anything and commits it afterwards; Undo and Redo hand
// back the state to restore.
//
// A state shares every unchanged list with the states around it (lists are copied on
// write). A list an edit did change is kept, in every state but the newest, as a patch
// against the same list one state later: the items before and after the edited stretch
// are shared with that later list, only the stretch itself is stored. So a one-note
// edit of a 100,000-note chart keeps one note, not a copy of the chart.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "items/item_store.h"
#include "model/game_type.h"
#include "model/row_position.h"

namespace quillex {

// One copy of the editable state: the lists, the play position, the current level and
// whether note mode (the arrow layer) was on.
struct EditState {
    ItemSnapshot items;
    SamplePosition cursor = 0;
    LevelIndex level = 0;
    bool arrowLayerOn = false;
};

// Undo entries that span many steps: one "Record" entry for a whole recording (the B
// key while playing, or Record), one "Drag Item(s)" entry for a whole mouse drag. While
// either is open no command opens or commits an entry of its own. The input timer
// thread reads and sets `recording`.
struct OpenEntryFlags {
    std::atomic<bool> recording{false};
    std::atomic<bool> drag{false};
    bool any() const { return recording.load() || drag.load(); }
    void reset() {
        recording = false;
        drag = false;
    }
};

// The texts and greying of the Undo and Redo menu items.
struct UndoMenuState {
    std::string undoCaption; // "Undo <label>\tCtrl+Z"; the label part empty when greyed
    std::string redoCaption;
    bool canUndo = false;
    bool canRedo = false;
};

class UndoHistory {
  public:
    // Starts an entry for an edit about to happen. `current` is the state now; it is
    // kept only for the first entry (the state before every edit). An entry opened
    // earlier and never committed is committed first with the same state, so it never
    // restores an empty state. Any redo tail is dropped.
    void open(std::string_view label, const EditState& current);
    // Stores the state after the edit in the entry opened last. Committing the same
    // entry again (a grouped nudge adds steps to one entry) replaces its state; with
    // nothing opened it does nothing.
    void commit(const EditState& current);
    // True from open() until the next commit().
    bool pending() const;

    // The state to restore for Undo or Redo, or nothing when there is none. A pending
    // entry is committed first with `current`.
    std::optional<EditState> undo(const EditState& current);
    std::optional<EditState> redo(const EditState& current);

    // Forgets every entry. A pending entry is dropped with the rest.
    void clear();

    UndoMenuState menuState() const;
    // Entries ever allocated (they are reused after an undo) and entries that count.
    std::size_t allocatedCount() const;
    std::size_t activeCount() const;
    std::size_t position() const;

  private:
    // beats, pauses, notes, delays, warps
    static constexpr std::size_t kListCount = 4 + kLevelCount;

    // A list as a state keeps it: whole (shared with whoever else holds it), or as the
    // same list of the next state with [prefix, size - suffix) replaced by `middle`.
    struct Patch {
        std::size_t prefix = 0;
        std::size_t suffix = 0;
        ItemList::Items middle;
    };
    struct StoredList {
        // 0 beats, 1 pauses, 2 + level for notes, then delays and warps
        std::size_t index = 0;
        ItemList whole;
        std::unique_ptr<Patch> patch;
    };
    // The newest state keeps all its lists; an older one only those that differ from
    // the state after it (the others are that state's).
    struct StoredState {
        std::vector<StoredList> lists;
        SamplePosition cursor = 0;
        LevelIndex level = 0;
        bool arrowLayerOn = false;
    };

    static StoredState store(const EditState& state);
    // The list `list` of state s, rebuilt from the later states when it is patched;
    // the result is kept whole in state s.
    const ItemList& wholeList(std::size_t s, std::size_t list);
    EditState materialise(std::size_t s);
    // Makes state s keep all its lists whole, as the newest state does.
    void makeComplete(std::size_t s);
    // Keeps the lists of state s that differ from state s + 1 as patches against them.
    void compress(std::size_t s);
    void commitLocked(const EditState& current);

    mutable std::mutex mutex_;
    // labels_[k] names entry k; states_[0] is the state before the first entry and
    // states_[k] the state after entry k - 1. Both only grow (Clear empties them).
    std::vector<std::string> labels_;
    std::vector<StoredState> states_;
    std::size_t position_ = 0;
    std::size_t count_ = 0;
    bool pending_ = false;
};

} // namespace quillex
