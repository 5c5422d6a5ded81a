#include "items/undo_history.h"

#include <algorithm>

#include "items/list_diff.h"

namespace quillex {

namespace {

// A patch pays only for long lists of which an edit changed a small stretch.
constexpr std::size_t kShortestPatchedList = 64;

ItemList& listOf(ItemSnapshot& items, std::size_t list) {
    if (list == 0)
        return items.beats;
    if (list == 1)
        return items.pauses;
    if (list == 2 + kLevelCount)
        return items.delays;
    if (list == 3 + kLevelCount)
        return items.warps;
    return items.notes[list - 2];
}

} // namespace

UndoHistory::StoredState UndoHistory::store(const EditState& state) {
    StoredState stored;
    ItemSnapshot items = state.items;
    stored.lists.resize(kListCount);
    for (std::size_t i = 0; i < kListCount; ++i) {
        stored.lists[i].index = i;
        stored.lists[i].whole = listOf(items, i);
    }
    stored.cursor = state.cursor;
    stored.level = state.level;
    stored.arrowLayerOn = state.arrowLayerOn;
    return stored;
}

const ItemList& UndoHistory::wholeList(std::size_t s, std::size_t list) {
    std::vector<StoredList>& lists = states_[s].lists;
    const auto kept = std::find_if(lists.begin(), lists.end(),
                                   [list](const StoredList& l) { return l.index == list; });
    if (kept == lists.end())
        return wholeList(s + 1, list);
    StoredList& stored = *kept;
    if (!stored.patch)
        return stored.whole;
    const ItemList& later = wholeList(s + 1, list);
    const Patch& patch = *stored.patch;
    ItemList rebuilt = later;
    rebuilt.splice(patch.prefix, later.size() - patch.suffix, patch.middle);
    stored.whole = std::move(rebuilt);
    stored.patch.reset();
    return stored.whole;
}

EditState UndoHistory::materialise(std::size_t s) {
    EditState state;
    for (std::size_t i = 0; i < kListCount; ++i)
        listOf(state.items, i) = wholeList(s, i);
    const StoredState& stored = states_[s];
    state.cursor = stored.cursor;
    state.level = stored.level;
    state.arrowLayerOn = stored.arrowLayerOn;
    return state;
}

void UndoHistory::makeComplete(std::size_t s) {
    const std::vector<StoredList>& lists = states_[s].lists;
    const bool complete = lists.size() == kListCount &&
                          std::none_of(lists.begin(), lists.end(),
                                       [](const StoredList& l) { return l.patch != nullptr; });
    if (!complete)
        states_[s] = store(materialise(s));
}

void UndoHistory::compress(std::size_t s) {
    StoredState& older = states_[s];
    const StoredState& newer = states_[s + 1];
    std::vector<StoredList> differing;
    for (StoredList& list : older.lists) {
        const StoredList& next = newer.lists[list.index]; // the newer state is complete
        if (list.whole.sharesStorageWith(next.whole))
            continue; // the newer state's list serves both
        const ItemList& a = list.whole;
        const ItemList& b = next.whole;
        if (a.size() >= kShortestPatchedList) {
            const std::size_t prefix = equalFront(a, b, a.size());
            const std::size_t suffix = equalBack(a, b, std::min(a.size(), b.size()) - prefix);
            // Keep a patch only when the edit changed a small stretch of the list.
            if ((a.size() - prefix - suffix) * 2 <= a.size()) {
                list.patch = std::make_unique<Patch>(
                    Patch{prefix, suffix, ItemList::Items(a.begin() + prefix, a.end() - suffix)});
                list.whole.clear();
            }
        }
        differing.push_back(std::move(list));
    }
    older.lists = std::move(differing);
}

void UndoHistory::open(std::string_view label, const EditState& current) {
    std::lock_guard lock(mutex_);
    if (pending_)
        commitLocked(current);
    if (position_ < count_) {
        // The redo tail goes: the state reached now must stand on its own.
        makeComplete(position_);
        for (std::size_t s = position_ + 1; s <= count_; ++s)
            states_[s] = {};
    }
    if (position_ == labels_.size()) {
        labels_.emplace_back();
        states_.resize(labels_.size() + 1);
    }
    labels_[position_] = std::string(label);
    if (position_ == 0)
        states_[0] = store(current);
    states_[position_ + 1] = store(current); // until committed, restoring it changes nothing
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
    // The state before this entry may lean on the state being replaced.
    makeComplete(position_ - 1);
    states_[position_] = store(current);
    compress(position_ - 1);
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
    return materialise(position_);
}

std::optional<EditState> UndoHistory::redo(const EditState& current) {
    std::lock_guard lock(mutex_);
    if (pending_)
        commitLocked(current);
    if (position_ == count_)
        return std::nullopt;
    ++position_;
    return materialise(position_);
}

void UndoHistory::clear() {
    std::lock_guard lock(mutex_);
    labels_.clear();
    labels_.shrink_to_fit();
    states_.clear();
    states_.shrink_to_fit();
    position_ = count_ = 0;
    pending_ = false;
}

UndoMenuState UndoHistory::menuState() const {
    std::lock_guard lock(mutex_);
    UndoMenuState state;
    state.canUndo = position_ > 0;
    state.canRedo = position_ < count_;
    state.undoCaption =
        "Undo " + (state.canUndo ? labels_[position_ - 1] : std::string()) + "\tCtrl+Z";
    state.redoCaption = "Redo " + (state.canRedo ? labels_[position_] : std::string()) + "\tCtrl+Y";
    return state;
}

std::size_t UndoHistory::allocatedCount() const {
    std::lock_guard lock(mutex_);
    return labels_.size();
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
