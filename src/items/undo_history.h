// The undo/redo history: a chain of whole editable states S0, S1, S2 … where S0 is the
// state before the first edit and Sk the state after edit k. Every edit opens an entry
// with a label before it changes anything and commits it afterwards; Undo and Redo hand
// back the state to restore. A state shares every list with the item store until one
// of them changes, so keeping one per edit costs only the lists each edit touched.
#pragma once

#include <cstddef>
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
    struct Entry {
        std::string label;
        EditState before; // filled only for the first entry
        EditState after;
    };
    void commitLocked(const EditState& current);

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    std::size_t position_ = 0;
    std::size_t count_ = 0;
    bool pending_ = false;
};

} // namespace quillex
