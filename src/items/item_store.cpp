#include "items/item_store.h"

#include "items/heap_reuse.h"
#include "items/note_order.h"

#include <algorithm>

namespace quillex {

ItemStore::ItemStore(const MusicInfo& music, BusyCounter& busy) : music_(music), busy_(busy) {
    keepFreedHeapForReuse();
}

const ItemList& ItemStore::notes(LevelIndex level) const {
    return notes_[isValidLevel(level) ? level : 0];
}

ItemList::Items& ItemStore::editNotes(LevelIndex level) {
    return notes_[isValidLevel(level) ? level : 0].edit();
}

EditItem* ItemStore::region(ItemKind kind) {
    for (EditItem& r : regions_)
        if (r.kind == kind)
            return &r;
    return nullptr;
}

bool ItemStore::layerOfKindOn(ItemKind kind) const {
    switch (kind) {
    case ItemKind::Beat:
        return layerOn(Layer::Beat);
    case ItemKind::Pause:
    case ItemKind::Delay:
    case ItemKind::Warp:
        return layerOn(Layer::Pause);
    case ItemKind::Note:
    case ItemKind::TargetRow:
        return layerOn(Layer::Arrow);
    case ItemKind::CursorLine:
        return layerOn(Layer::Wave);
    case ItemKind::PositionBar:
    case ItemKind::EditorArea:
        return true;
    default:
        return false;
    }
}

EditItem ItemStore::newItem(ItemKind kind, bool selected) const {
    EditItem item;
    item.kind = kind;
    item.priority = priorityOf(kind);
    item.selected = selected;
    item.layerActive = layerOfKindOn(kind);
    return item;
}

int ItemStore::append(ItemList& list, const EditItem& item) {
    // After every item of its place that is already there, as a stable sort of the list
    // with the item at its end would put it: the refresh's rules for two items on one
    // spot keep deciding by which came first. An item added in order goes to the end,
    // which copies at most the last chunk.
    const std::size_t at = insertionIndex(list, item);
    list.splice(at, at, {&item, 1});
    setModified(true);
    return static_cast<int>(at);
}

std::size_t ItemStore::insertionIndex(const ItemList& list, const EditItem& item) {
    const auto after = [&](auto key) {
        const auto k = key(item);
        if (list.empty() || key(list.back()) <= k)
            return list.size();
        return static_cast<std::size_t>(
            std::upper_bound(list.begin(), list.end(), k,
                             [&](auto value, const EditItem& e) { return value < key(e); }) -
            list.begin());
    };
    switch (item.kind) {
    case ItemKind::Note:
        return after([](const EditItem& e) { return noteKey(e); });
    case ItemKind::Beat:
        return after([](const EditItem& e) { return e.sample; });
    default:
        return after([](const EditItem& e) { return e.row(); });
    }
}

int ItemStore::reshapeNote(LevelIndex level, std::size_t index, RowPosition start,
                           RowPosition length) {
    ItemList& list = noteList(level);
    EditItem note = list[index];
    note.beat = start.beat;
    note.fraction = start.fraction;
    note.lengthBeats = length.beat;
    note.lengthFraction = length.fraction;
    note.isHold = length.row() > 0;
    if (!note.isMineLike())
        note.divisionClass = divisionClassOfFraction(start.fraction);
    note.sample = timing().rowToSample(start);
    list.splice(index, index + 1, {});
    return append(list, note);
}

int ItemStore::addBeat(SamplePosition sample, BeatFlags flags) {
    return addBeatAtRow(sample, {}, flags);
}

int ItemStore::addBeatAtRow(SamplePosition sample, RowPosition row, BeatFlags flags) {
    EditItem beat = newItem(ItemKind::Beat, flags.selected);
    beat.sample = sample;
    beat.locked = flags.locked;
    beat.colour = flags.white ? kWhiteMarker : kBlueMarker;
    if (row.fraction != 0) {
        beat.isSubBeat = true;
        beat.beat = row.beat;
        beat.fraction = row.fraction;
    }
    return append(beats_, beat);
}

int ItemStore::addStretch(ItemKind kind, ItemList& list, RowPosition start, RowPosition length,
                          bool selected) {
    EditItem stretch = newItem(kind, selected);
    stretch.beat = start.beat;
    stretch.fraction = start.fraction;
    stretch.lengthBeats = length.beat;
    stretch.lengthFraction = length.fraction;
    stretch.sample = timing().rowToSample(start);
    return append(list, stretch);
}

int ItemStore::addPause(RowPosition start, RowPosition length, bool selected) {
    return addStretch(ItemKind::Pause, pauses_, start, length, selected);
}

int ItemStore::addDelay(RowPosition start, RowPosition length, bool selected) {
    return addStretch(ItemKind::Delay, delays_, start, length, selected);
}

int ItemStore::addWarp(RowPosition start, RowPosition length, bool selected) {
    return addStretch(ItemKind::Warp, warps_, start, length, selected);
}

int ItemStore::addNote(LevelIndex level, int column, RowPosition start, RowPosition length,
                       NoteKind kind, bool selected) {
    if (!isValidLevel(level))
        return -1;
    const NoteKindFields fields = fieldsOfNoteKind(kind);
    EditItem note = newItem(ItemKind::Note, selected);
    note.column = column;
    note.beat = start.beat;
    note.fraction = start.fraction;
    note.lengthBeats = length.beat;
    note.lengthFraction = length.fraction;
    note.isHold = length.row() > 0;
    note.divisionClass =
        fields.mineLike ? kMineDivisionClass : divisionClassOfFraction(start.fraction);
    note.altKind = fields.altKind;
    if (level != currentLevel_)
        note.layerActive = false;
    note.sample = timing().rowToSample(start);
    return append(notes_[level], note);
}

void ItemStore::addScreenRegions() {
    if (!regions_.empty())
        return;
    for (ItemKind kind : kScreenRegions)
        regions_.push_back(newItem(kind, false));
}

void ItemStore::clearAllSelection() {
    for (EditItem& r : regions_)
        r.selected = false;
    auto clear = [](ItemList& list) {
        bool any =
            std::any_of(list.begin(), list.end(), [](const EditItem& e) { return e.selected; });
        if (!any)
            return; // leave an untouched list shared
        for (EditItem& e : list.edit())
            e.selected = false;
    };
    clear(beats_);
    clear(pauses_);
    clear(delays_);
    clear(warps_);
    for (ItemList& level : notes_)
        clear(level);
}

void ItemStore::setLayer(Layer layer, bool on) {
    layers_[static_cast<int>(layer)] = on;
    auto apply = [](ItemList& list, bool active) {
        bool differs = std::any_of(list.begin(), list.end(),
                                   [active](const EditItem& e) { return e.layerActive != active; });
        if (!differs)
            return;
        for (EditItem& e : list.edit())
            e.layerActive = active;
    };
    for (EditItem& r : regions_)
        r.layerActive = layerOfKindOn(r.kind);
    switch (layer) {
    case Layer::Beat:
        apply(beats_, on);
        break;
    case Layer::Pause:
        apply(pauses_, on);
        apply(delays_, on);
        apply(warps_, on);
        break;
    case Layer::Arrow:
        apply(notes_[currentLevel_], on);
        break;
    case Layer::Wave:
    case Layer::Status:
        break;
    }
}

void ItemStore::setCurrentLevel(LevelIndex level) {
    if (!isValidLevel(level))
        return;
    { currentLevel_ = level; }
    setLayer(Layer::Arrow, layerOn(Layer::Arrow));
    rebuildNoteTimes();
}

void ItemStore::clearSong() {
    beats_.clear();
    pauses_.clear();
    delays_.clear();
    warps_.clear();
    for (ItemList& level : notes_)
        level.clear();
    hasSubBeats_ = false;
    noteTimes_.clear();
    noteTimesOf_.clear();
    noteTimesWarps_.clear();
    ++revision_;
}

ItemSnapshot ItemStore::snapshot() const {
    return ItemSnapshot{beats_, pauses_, notes_, delays_, warps_};
}

void ItemStore::restore(const ItemSnapshot& snapshot) {
    BusyGuard busy(busy_);
    {
        beats_ = snapshot.beats;
        pauses_ = snapshot.pauses;
        notes_ = snapshot.notes;
        delays_ = snapshot.delays;
        warps_ = snapshot.warps;
        hasSubBeats_ = std::any_of(beats_.begin(), beats_.end(),
                                   [](const EditItem& b) { return b.isSubBeat; });
    }
    rebuildNoteTimes();
}

TimingMap ItemStore::timing() const {
    return TimingMap(beats_, hasSubBeats_, music_.sampleRate(), music_.musicLength(), warps_);
}

void ItemStore::rebuildNoteTimes() {
    ++revision_;
    const ItemList& list = notes_[currentLevel_];
    if (list.sharesStorageWith(noteTimesOf_) && warps_.sharesStorageWith(noteTimesWarps_))
        return; // the times of these very notes are there already
    // Notes inside a warp are not played, so they get no tick.
    const TimingMap map = timing();
    std::vector<SamplePosition> times;
    times.reserve(list.size());
    for (const EditItem& note : list)
        if ((times.empty() || times.back() != note.sample) &&
            (warps_.empty() || !map.insideWarp(note.row())))
            times.push_back(note.sample);
    noteTimes_ = std::move(times);
    noteTimesOf_ = list;
    noteTimesWarps_ = warps_;
}

} // namespace quillex
