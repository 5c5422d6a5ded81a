#include "items/item_store.h"

#include "items/heap_reuse.h"

#include <algorithm>

namespace quillex {

namespace {

// Beats and pauses span this width of the editor.
constexpr int kMarkerLeft = 90;
constexpr int kMarkerRight = 710;
constexpr int kMarkerHalfHeight = 3;
// Cursor line and editor area span this width.
constexpr int kAreaLeft = 100;
constexpr int kAreaRight = 700;

} // namespace

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
    case ItemKind::Beat: return layerOn(Layer::Beat);
    case ItemKind::Pause: return layerOn(Layer::Pause);
    case ItemKind::Note:
    case ItemKind::TargetRow: return layerOn(Layer::Arrow);
    case ItemKind::CursorLine: return layerOn(Layer::Wave);
    case ItemKind::PositionBar:
    case ItemKind::EditorArea: return true;
    default: return false;
    }
}

ScreenBox ItemStore::beatBox(SamplePosition sample) const {
    const int row = geometry_.screenRowOfSample(sample);
    return {kMarkerLeft, row - kMarkerHalfHeight, kMarkerRight, row + kMarkerHalfHeight};
}

ScreenBox ItemStore::noteBox(int column, SamplePosition sample) const {
    const int row = geometry_.screenRowOfSample(sample);
    const int x = geometry_.columnCentre(column);
    const int h = geometry_.noteHalfSize;
    return {x - h, row - h, x + h, row + h};
}

ScreenBox ItemStore::regionBox(ItemKind kind) const {
    const ItemGeometry& g = geometry_;
    switch (kind) {
    case ItemKind::PositionBar: return g.positionBar;
    case ItemKind::CursorLine: return {kAreaLeft, g.cursorRow - 3, kAreaRight, g.cursorRow + 3};
    case ItemKind::EditorArea: return {kAreaLeft, 0, kAreaRight, g.windowHeight};
    case ItemKind::TargetRow: {
        const int h = g.noteHalfSize;
        const int last = std::clamp(g.columnCount, 1, kMaxColumns) - 1;
        return {g.columnCentre(0) - h, g.cursorRow - h, g.columnCentre(last) + h,
                g.cursorRow + h};
    }
    default: return {};
    }
}

int ItemStore::addItem(ItemKind kind, int index, int selectFlag, int data, int variant,
                       RowPosition start, RowPosition length) {
    EditItem item;
    item.kind = kind;
    item.priority = priorityOf(kind);
    item.selected = selectFlag == 1;
    item.layerActive = layerOfKindOn(kind);

    std::lock_guard lock(listsMutex_);
    switch (kind) {
    case ItemKind::Beat: {
        item.sample = index;
        item.locked = data == 1;
        item.colour = variant == 1 ? kWhiteMarker : kBlueMarker;
        if (start.fraction != 0) {
            item.isSubBeat = true;
            item.beat = start.beat;
            item.fraction = start.fraction;
        }
        item.box = beatBox(item.sample);
        beats_.append(item);
        setModified(true);
        return static_cast<int>(beats_.size());
    }
    case ItemKind::Pause: {
        item.beat = start.beat;
        item.fraction = start.fraction;
        item.lengthBeats = length.beat;
        item.lengthFraction = length.fraction;
        const TimingMap map = timing();
        item.sample = map.rowToSample(start);
        const SamplePosition endSample = map.rowToSample(start.plusRows(length.row()));
        item.box = {kMarkerLeft, geometry_.screenRowOfSample(item.sample), kMarkerRight,
                    geometry_.screenRowOfSample(endSample)};
        pauses_.append(item);
        setModified(true);
        return static_cast<int>(pauses_.size());
    }
    case ItemKind::Note: {
        if (!isValidLevel(data))
            return -1;
        item.column = index;
        item.beat = start.beat;
        item.fraction = start.fraction;
        item.lengthBeats = length.beat;
        item.lengthFraction = length.fraction;
        item.isHold = length.row() > 0;
        item.divisionClass =
            variant == 1 ? kMineDivisionClass : divisionClassOfFraction(start.fraction);
        item.sample = timing().rowToSample(start);
        item.box = noteBox(item.column, item.sample);
        if (data != currentLevel_)
            item.layerActive = false;
        notes_[data].append(item);
        setModified(true);
        return static_cast<int>(notes_[data].size());
    }
    case ItemKind::PositionBar:
    case ItemKind::CursorLine:
    case ItemKind::EditorArea:
    case ItemKind::TargetRow:
        item.box = regionBox(kind);
        regions_.push_back(item);
        return static_cast<int>(regions_.size());
    default: return -1;
    }
}

int ItemStore::addNote(LevelIndex level, int column, RowPosition start, RowPosition length,
                       NoteKind kind, bool selected) {
    const NoteKindFields fields = fieldsOfNoteKind(kind);
    const int count =
        addItem(ItemKind::Note, column, selected ? 1 : 0, level, fields.mineLike ? 1 : 0, start,
                length);
    if (count > 0 && fields.altKind != 0) {
        std::lock_guard lock(listsMutex_);
        ItemList& notes = notes_[level];
        notes.editAt(notes.size() - 1).altKind = fields.altKind;
    }
    return count;
}

void ItemStore::layoutRegions() {
    for (EditItem& r : regions_)
        r.box = regionBox(r.kind);
}

void ItemStore::clearAllSelection() {
    std::lock_guard lock(listsMutex_);
    for (EditItem& r : regions_)
        r.selected = false;
    auto clear = [](ItemList& list) {
        bool any = std::any_of(list.begin(), list.end(), [](const EditItem& e) { return e.selected; });
        if (!any)
            return; // leave an untouched list shared
        for (EditItem& e : list.edit())
            e.selected = false;
    };
    clear(beats_);
    clear(pauses_);
    for (ItemList& level : notes_)
        clear(level);
}

void ItemStore::setLayer(Layer layer, bool on) {
    layers_[static_cast<int>(layer)] = on;
    std::lock_guard lock(listsMutex_);
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
    case Layer::Beat: apply(beats_, on); break;
    case Layer::Pause: apply(pauses_, on); break;
    case Layer::Arrow: apply(notes_[currentLevel_], on); break;
    case Layer::Wave:
    case Layer::Status: break;
    }
}

void ItemStore::setCurrentLevel(LevelIndex level) {
    if (!isValidLevel(level))
        return;
    {
        std::lock_guard lock(listsMutex_);
        currentLevel_ = level;
        geometry_.columnCount = columnCountOfLevel(level);
    }
    setLayer(Layer::Arrow, layerOn(Layer::Arrow));
    layoutRegions();
    rebuildNoteTimes();
}

void ItemStore::clearSong() {
    std::lock_guard lock(listsMutex_);
    beats_.clear();
    pauses_.clear();
    for (ItemList& level : notes_)
        level.clear();
    hasSubBeats_ = false;
    noteTimes_.clear();
    noteTimesOf_.clear();
    ++revision_;
}

ItemSnapshot ItemStore::snapshot() const {
    std::lock_guard lock(listsMutex_);
    return ItemSnapshot{beats_, pauses_, notes_};
}

void ItemStore::restore(const ItemSnapshot& snapshot) {
    BusyGuard busy(busy_);
    {
        std::lock_guard lock(listsMutex_);
        beats_ = snapshot.beats;
        pauses_ = snapshot.pauses;
        notes_ = snapshot.notes;
        hasSubBeats_ = std::any_of(beats_.begin(), beats_.end(),
                                   [](const EditItem& b) { return b.isSubBeat; });
    }
    rebuildNoteTimes();
}

TimingMap ItemStore::timing() const {
    return TimingMap(beats_, hasSubBeats_, music_.sampleRate(), music_.musicLength());
}

void ItemStore::rebuildNoteTimes() {
    std::lock_guard lock(listsMutex_);
    rebuildNoteTimesLocked();
}

void ItemStore::rebuildNoteTimesLocked() {
    ++revision_;
    const ItemList& list = notes_[currentLevel_];
    if (list.sharesStorageWith(noteTimesOf_))
        return; // the times of these very notes are there already
    std::vector<SamplePosition> times;
    times.reserve(list.size());
    for (const EditItem& note : list)
        if (times.empty() || times.back() != note.sample)
            times.push_back(note.sample);
    noteTimes_ = std::move(times);
    noteTimesOf_ = list;
}

} // namespace quillex
