#include "items/selection.h"

#include <algorithm>
#include <utility>

namespace quillex {

namespace {

bool apply(bool selected, SelectionChange change) {
    switch (change) {
    case SelectionChange::Set:
        return true;
    case SelectionChange::Clear:
        return false;
    case SelectionChange::Toggle:
        return !selected;
    }
    return selected;
}

// Changes the selected flag of the items `pick` accepts, copying the list only when
// some flag really changes (an unchanged list stays shared with the undo history).
template <typename Pick> void changeWhere(ItemList& list, SelectionChange change, Pick pick) {
    const bool changes = std::any_of(list.begin(), list.end(), [&](const EditItem& e) {
        return pick(e) && apply(e.selected, change) != e.selected;
    });
    if (!changes)
        return;
    for (EditItem& e : list.edit())
        if (pick(e))
            e.selected = apply(e.selected, change);
}

bool active(const EditItem& e) {
    return e.layerActive;
}

} // namespace

void changeSelection(ItemStore& store, SelectionChange change) {
    if (!store.oneLayerLock()) {
        changeWhere(store.beatList(), change, active);
        for (ItemList* stretches : store.stretchLists())
            changeWhere(*stretches, change, active);
    }
    changeWhere(store.noteList(store.currentLevel()), change, active);
}

void toggleBeats(ItemStore& store, BeatGroup group) {
    if (store.oneLayerLock())
        return;
    changeWhere(store.beatList(), SelectionChange::Toggle, [group](const EditItem& b) {
        if (!b.layerActive)
            return false;
        switch (group) {
        case BeatGroup::White:
            return b.colour == kWhiteMarker;
        case BeatGroup::Blue:
            return b.colour == kBlueMarker;
        case BeatGroup::Locked:
            return b.locked;
        }
        return false;
    });
}

void toggleNotesOfClass(ItemStore& store, std::int32_t divisionClass) {
    changeWhere(store.noteList(store.currentLevel()), SelectionChange::Toggle,
                [divisionClass](const EditItem& n) { return n.divisionClass == divisionClass; });
}

void RegionSelection::press(ItemStore& store, SamplePosition position) {
    if (state_ != State::BeginSet) {
        state_ = State::BeginSet;
        begin_ = position;
        end_ = 0;
        return;
    }
    end_ = position;
    if (end_ == begin_) {
        reset();
        return;
    }
    state_ = State::RegionSet;
    if (begin_ > end_)
        std::swap(begin_, end_);
    const TimingMap map = store.timing();
    const std::int32_t firstRow = map.sampleToRow(begin_).row();
    const std::int32_t lastRow = map.sampleToRow(end_).row();
    if (!store.oneLayerLock())
        changeWhere(store.beatList(), SelectionChange::Set, [this](const EditItem& b) {
            return b.layerActive && b.sample >= begin_ && b.sample <= end_;
        });
    changeWhere(store.noteList(store.currentLevel()), SelectionChange::Set,
                [firstRow, lastRow](const EditItem& n) {
                    return n.layerActive && n.row() >= firstRow && n.row() <= lastRow;
                });
}

void RegionSelection::reset() {
    state_ = State::None;
    begin_ = end_ = 0;
}

} // namespace quillex
