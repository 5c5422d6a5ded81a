#include "items/undo_history.h"

namespace quillex {

void UndoHistory::open(std::string_view label, const EditState& current) {
    std::lock_guard lock(mutex_);
    if (pending_)
        commitLocked(current);
    if (position_ == entries_.size())
        entries_.emplace_back();
    Entry& entry = entries_[position_];
    entry.label = std::string(label);
    if (position_ == 0)
        entry.before = current;
    entry.after = current; // until committed, restoring this entry changes nothing
    ++position_;
    count_ = position_;
    pending_ = true;
}

void UndoHistory::commit(const EditState& current) {
    std::lock_guard lock(mutex_);
    commitLocked(current);
}

void UndoHistory::commitLocked(const EditState& current) {
    if (position_ == 0)
        return;
    entries_[position_ - 1].after = current;
    pending_ = false;
}

bool UndoHistory::pending() const {
    std::lock_guard lock(mutex_);
    return pending_;
}

std::optional<EditState> UndoHistory::undo(const EditState& current) {
    std::lock_guard lock(mutex_);
    if (pending_)
        commitLocked(current);
    if (position_ == 0)
        return std::nullopt;
    --position_;
    return position_ == 0 ? entries_[0].before : entries_[position_ - 1].after;
}

std::optional<EditState> UndoHistory::redo(const EditState& current) {
    std::lock_guard lock(mutex_);
    if (pending_)
        commitLocked(current);
    if (position_ == count_)
        return std::nullopt;
    ++position_;
    return entries_[position_ - 1].after;
}

void UndoHistory::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
    entries_.shrink_to_fit();
    position_ = count_ = 0;
    pending_ = false;
}

UndoMenuState UndoHistory::menuState() const {
    std::lock_guard lock(mutex_);
    UndoMenuState state;
    state.canUndo = position_ > 0;
    state.canRedo = position_ < count_;
    state.undoCaption = "Undo " + (state.canUndo ? entries_[position_ - 1].label : std::string()) +
                        "\tCtrl+Z";
    state.redoCaption =
        "Redo " + (state.canRedo ? entries_[position_].label : std::string()) + "\tCtrl+Y";
    return state;
}

std::size_t UndoHistory::allocatedCount() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::size_t UndoHistory::activeCount() const {
    std::lock_guard lock(mutex_);
    return count_;
}

std::size_t UndoHistory::position() const {
    std::lock_guard lock(mutex_);
    return position_;
}

} // namespace quillex
