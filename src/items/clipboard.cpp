#include "items/clipboard.h"

#include "items/warp_edits.h"

#include <algorithm>

#include "model/note_kind.h"

namespace quillex {

namespace {

using Items = ItemList::Items;

// Removes the items `drop` accepts, copying the list only when one goes.
template <typename Drop> void removeWhere(ItemList& list, Drop drop) {
    if (std::none_of(list.begin(), list.end(), drop))
        return;
    Items& items = list.edit();
    items.erase(std::remove_if(items.begin(), items.end(), drop), items.end());
}

void clearCutMarks(ItemStore& store) {
    const auto marked = [](const EditItem& e) { return e.cutMark; };
    auto clear = [&](ItemList& list) {
        if (std::any_of(list.begin(), list.end(), marked))
            for (EditItem& e : list.edit())
                e.cutMark = false;
    };
    clear(store.beatList());
    for (ItemList* stretches : store.stretchLists())
        clear(*stretches);
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        clear(store.noteList(level));
}

// The selected items of a list, marked as cut first when `cut` is set.
Items takeSelected(ItemList& list, bool cut) {
    Items taken;
    const auto selected = [](const EditItem& e) { return e.selected; };
    if (std::none_of(list.begin(), list.end(), selected))
        return taken;
    if (cut)
        for (EditItem& e : list.edit())
            e.cutMark = e.cutMark || e.selected;
    for (const EditItem& e : list)
        if (e.selected)
            taken.push_back(e);
    return taken;
}

// The row of the last beat marker: nothing may end past it.
std::int32_t lastMarkerRow(const ItemStore& store) {
    return store.beats().empty() ? 0 : store.beats().items().back().row();
}

} // namespace

bool Clipboard::copy(ItemStore& store, bool cut) {
    clear();
    store.setModified(true);
    clearCutMarks(store);
    beats_ = takeSelected(store.beatList(), cut);
    pauses_ = takeSelected(store.pauseList(), cut);
    delays_ = takeSelected(store.delayList(), cut);
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        notes_[level] = takeSelected(store.noteList(level), cut);

    int kinds = !beats_.empty() + !pauses_.empty() + !delays_.empty();
    for (const Items& level : notes_)
        kinds += !level.empty();
    if (kinds < 2)
        return true;
    clear();
    clearCutMarks(store);
    return false;
}

bool Clipboard::holdsSomething() const {
    return !beats_.empty() || !pauses_.empty() || !delays_.empty() ||
           std::any_of(notes_.begin(), notes_.end(), [](const Items& l) { return !l.empty(); });
}

void Clipboard::clear() {
    beats_.clear();
    pauses_.clear();
    delays_.clear();
    for (Items& level : notes_)
        level.clear();
}

bool Clipboard::paste(ItemStore& store, SamplePosition position, SamplePosition musicLength) {
    store.setModified(true);
    store.clearAllSelection();
    const bool selectPasted = store.options().selectPasted;
    const bool override = store.options().pasteOverride;
    const std::int32_t row = store.timing().sampleToRow(position).row();
    const LevelIndex level = store.currentLevel();
    const auto cutMarked = [](const EditItem& e) { return e.cutMark; };

    // Beats keep their spacing from the play position on. Locked beats are never
    // removed, by the override or by a cut, and a pasted beat does not land on one.
    std::vector<SamplePosition> lockedSamples;
    if (override && !beats_.empty()) {
        const SamplePosition last = position + (beats_.back().sample - beats_.front().sample);
        removeWhere(store.beatList(), [&](const EditItem& b) {
            return !b.locked && b.sample >= position && b.sample <= last;
        });
    }
    for (const EditItem& b : store.beats())
        if (b.locked)
            lockedSamples.push_back(b.sample);
    for (const EditItem& b : beats_) {
        const SamplePosition sample = position + (b.sample - beats_.front().sample);
        if (sample >= musicLength ||
            std::find(lockedSamples.begin(), lockedSamples.end(), sample) != lockedSamples.end())
            continue;
        store.addBeatAtRow(
            sample, b.isSubBeat ? b.start() : RowPosition{},
            {.locked = b.locked, .white = b.colour == kWhiteMarker, .selected = selectPasted});
    }
    removeWhere(store.beatList(), [&](const EditItem& b) { return b.cutMark && !b.locked; });
    if (override)
        for (const Items& clip : notes_)
            if (!clip.empty()) {
                const std::int32_t last = row + (clip.back().row() - clip.front().row());
                removeWhere(store.noteList(level),
                            [&](const EditItem& n) { return n.row() >= row && n.row() <= last; });
            }

    const std::int32_t endLimit = lastMarkerRow(store);
    // Pauses and delays keep their spacing from the play position's row.
    const auto pasteStretches = [&](const Items& clip, auto add) {
        for (const EditItem& s : clip) {
            const RowPosition start = RowPosition::fromRow(row + (s.row() - clip.front().row()));
            if (start.row() + s.lengthRows() <= endLimit)
                (store.*add)(start, RowPosition::fromRow(s.lengthRows()), selectPasted);
        }
    };
    pasteStretches(pauses_, &ItemStore::addPause);
    pasteStretches(delays_, &ItemStore::addDelay);
    removeWhere(store.pauseList(), cutMarked);
    removeWhere(store.delayList(), cutMarked);

    bool allFit = true;
    const int columns = columnCountOfLevel(level);
    for (const Items& clip : notes_) {
        for (const EditItem& n : clip) {
            if (n.column >= columns) {
                allFit = false;
                continue;
            }
            const RowPosition start = RowPosition::fromRow(row + (n.row() - clip.front().row()));
            NoteKind kind = noteKindOf(n);
            RowPosition length{};
            if (n.isHold && !n.isMineLike()) {
                if (start.row() + n.lengthRows() > endLimit)
                    kind = NoteKind::Tap;
                else
                    length = RowPosition::fromRow(n.lengthRows());
            }
            store.addNote(level, n.column, start, length, kind, selectPasted);
        }
    }
    for (LevelIndex l = 0; l < kLevelCount; ++l)
        removeWhere(store.noteList(l), cutMarked);
    store.refresh();
    return allFit;
}

DeleteCheck checkDelete(const ItemStore& store) {
    const auto activeSelected = [](const EditItem& e) { return e.layerActive && e.selected; };
    const bool beatsInReach = !store.oneLayerLock();
    bool any = false;
    if (beatsInReach)
        for (const EditItem& b : store.beats()) {
            if (!activeSelected(b))
                continue;
            if (b.locked)
                return DeleteCheck::LockedBeatSelected;
            any = true;
        }
    for (const ItemList* stretches : store.stretchLists())
        any = any || std::any_of(stretches->begin(), stretches->end(), activeSelected);
    any = any || std::any_of(store.notes(store.currentLevel()).begin(),
                             store.notes(store.currentLevel()).end(), activeSelected);
    return any ? DeleteCheck::Deletable : DeleteCheck::NothingSelected;
}

void deleteSelection(ItemStore& store) {
    const auto activeSelected = [](const EditItem& e) { return e.layerActive && e.selected; };
    store.setModified(true);
    if (!store.oneLayerLock())
        removeWhere(store.beatList(),
                    [&](const EditItem& b) { return activeSelected(b) && !b.locked; });
    removeWhere(store.pauseList(), activeSelected);
    removeWhere(store.delayList(), activeSelected);
    removeWhere(store.noteList(store.currentLevel()), activeSelected);
    // A warp's rows close up again, so the chart after it keeps its time.
    for (std::size_t i = store.warps().size(); i-- > 0;)
        if (activeSelected(store.warps()[i]))
            closeWarpRows(store, i);
    store.refresh();
}

} // namespace quillex
