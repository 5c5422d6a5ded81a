#include "app/input/mouse_editing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "view/column_layout.h"
#include "view/player_bridge.h"

namespace quillex {

namespace {

constexpr int kBeatGrabRows = 3; // a beat is grabbed within three rows of its sample

bool strictlyInside(const ScreenBox& box, int x, int y) {
    return box.left < x && x < box.right && box.top < y && y < box.bottom;
}

bool spansStrictly(const ScreenBox& box, int x) {
    return box.left < x && x < box.right;
}

// Sets or toggles `selected` on the items that match, copying a list the undo
// history shares only when some item matches. The caller holds the lists' lock.
template <typename Match> void toggleWhere(ItemList& list, Match match) {
    if (std::none_of(list.begin(), list.end(), match))
        return;
    for (EditItem& item : list.edit())
        if (match(item))
            item.selected = !item.selected;
}

void select(ItemList& list, int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < list.size() && !list[index].selected)
        list.edit()[static_cast<std::size_t>(index)].selected = true;
}

SamplePosition shifted(SamplePosition sample, std::int64_t by) {
    constexpr auto lowest = std::numeric_limits<SamplePosition>::min();
    constexpr auto highest = std::numeric_limits<SamplePosition>::max();
    return static_cast<SamplePosition>(
        std::clamp<std::int64_t>(std::int64_t{sample} + by, lowest, highest));
}

// What a drag of beats or pauses moves: the selected beats that are not locked and
// the selected pauses, delays and warps, of the layers that are on.
bool movesWithDrag(const EditItem& item) {
    return item.selected && item.layerActive && !(item.kind == ItemKind::Beat && item.locked);
}

} // namespace

MouseEditing::MouseEditing(Editor& editor, EditorView& view, Dispatcher& dispatcher)
    : editor_(editor), view_(view), dispatcher_(dispatcher) {}

double MouseEditing::samplesPerRow() const {
    return editor_.waveView().samplesPerRow();
}

double MouseEditing::sampleAtRow(int y) const {
    return view_.geometry(editor_.player().position()).sampleOfRow(y);
}

void MouseEditing::press(int x, int y, bool ctrl) {
    state_ = MouseState{};
    state_.buttonDown = true;
    state_.mouseX = x;
    state_.mouseY = y;
    view_.band = {};
    view_.layoutBoxes(editor_.player().position());
    const Hit hit = hitTest();
    state_.hitKind = hit.kind;
    state_.hitIndex = hit.index;
    switch (hit.kind) {
    case ItemKind::Beat:
        pressBeat(hit.index, ctrl);
        break;
    case ItemKind::Pause:
    case ItemKind::Delay:
    case ItemKind::Warp:
        pressStretch(hit.kind, hit.index, ctrl);
        break;
    case ItemKind::Note:
        pressNote(hit.index, ctrl);
        break;
    case ItemKind::PositionBar:
        state_.positionBarPressed = true;
        clickPositionBar(view_, editor_.player(), x, y);
        break;
    case ItemKind::CursorLine:
        state_.cursorLinePressed = true;
        break;
    case ItemKind::TargetRow:
        state_.targetRowPressed = true;
        break;
    case ItemKind::EditorArea:
        pressArea(ctrl);
        break;
    case ItemKind::None:
        if (!ctrl)
            editor_.store().clearAllSelection();
        startBand();
        break;
    }
}

// Every active item under the mouse is a candidate; the highest priority wins, and of
// equal priorities the first found (regions, beats, pauses, notes in this order).
MouseEditing::Hit MouseEditing::hitTest() const {
    const ItemStore& store = editor_.store();
    const int x = state_.mouseX;
    const int y = state_.mouseY;
    const double under = sampleAtRow(y);
    const double spr = samplesPerRow();
    const ViewGeometry view = view_.geometry(editor_.player().position());
    Hit best;
    int bestPriority = -1;
    auto offer = [&](ItemKind kind, std::size_t index) {
        if (priorityOf(kind) > bestPriority) {
            best = {kind, static_cast<int>(index)};
            bestPriority = priorityOf(kind);
        }
    };
    auto near = [under](const EditItem& item, double reach) {
        return std::abs(item.sample - under) < reach;
    };

    const auto& regions = store.regions();
    for (std::size_t i = 0; i < regions.size(); ++i)
        if (regions[i].layerActive && strictlyInside(regions[i].box, x, y))
            offer(regions[i].kind, i);
    const ItemList& beats = store.beats();
    const bool onMarkers = kMarkerLeft < x && x < kMarkerRight;
    for (std::size_t i = 0; i < beats.size(); ++i)
        if (beats[i].layerActive && onMarkers && near(beats[i], kBeatGrabRows * spr))
            offer(ItemKind::Beat, i);
    // A pause, delay or warp out of view keeps the box it had when last seen: only
    // those in view count.
    for (const ItemList* stretches : store.stretchLists())
        for (std::size_t i = 0; i < stretches->size(); ++i) {
            const EditItem& s = (*stretches)[i];
            if (s.layerActive && view.inView(s.sample) && strictlyInside(s.box, x, y))
                offer(s.kind, i);
        }
    // A note is reached within its column and half a note picture of its head row.
    const ArrowLayout arrow = view_.arrowLayout();
    const double noteReach = noteHalfSize(arrow.noteSize) * spr;
    const ItemList& notes = store.notes(store.currentLevel());
    for (std::size_t i = 0; i < notes.size(); ++i)
        if (notes[i].layerActive && near(notes[i], noteReach) &&
            spansStrictly(noteBox(notes[i], notes[i].sample, view, arrow), x))
            offer(ItemKind::Note, i);
    return best;
}

void MouseEditing::startBand() {
    const int sample = static_cast<int>(sampleAtRow(state_.mouseY));
    view_.band = {state_.mouseX, sample, state_.mouseX, sample};
}

void MouseEditing::moveCursorLineToMouse() {
    editor_.waveView().cursorRow = state_.mouseY;
    editor_.waveView().homeRow = state_.mouseY;
}

void MouseEditing::pressBeat(int index, bool ctrl) {
    ItemStore& store = editor_.store();
    const SamplePosition sample = store.beats()[static_cast<std::size_t>(index)].sample;
    const bool selected = store.beats()[static_cast<std::size_t>(index)].selected;
    if (!ctrl && !selected)
        store.clearAllSelection();
    if (store.oneLayerLock()) {
        // Beats are out of reach while editing notes: the press is a band instead.
        state_.hitKind = ItemKind::None;
        state_.hitIndex = -1;
        startBand();
    } else {
        select(store.beatList(), index);
    }
    if (!store.layerOn(Layer::Arrow) || ctrl) {
        // The beat goes to the cursor line, which comes to the mouse: nothing on
        // screen moves.
        editor_.player().seek(sample);
        moveCursorLineToMouse();
    }
}

void MouseEditing::pressStretch(ItemKind kind, int index, bool ctrl) {
    ItemStore& store = editor_.store();
    ItemList& list = kind == ItemKind::Warp    ? store.warpList()
                     : kind == ItemKind::Delay ? store.delayList()
                                               : store.pauseList();
    const bool selected = list[static_cast<std::size_t>(index)].selected;
    if (!ctrl && !selected)
        store.clearAllSelection();
    if (!store.oneLayerLock())
        select(list, index);
}

void MouseEditing::pressNote(int index, bool ctrl) {
    ItemStore& store = editor_.store();
    const LevelIndex level = store.currentLevel();
    const bool selected = store.notes(level)[static_cast<std::size_t>(index)].selected;
    if (!ctrl && selected)
        return;
    if (!ctrl)
        store.clearAllSelection();
    ItemList& notes = store.noteList(level);
    notes.edit()[static_cast<std::size_t>(index)].selected = !selected;
}

void MouseEditing::pressArea(bool ctrl) {
    ItemStore& store = editor_.store();
    MusicPlayer& player = editor_.player();
    if (!ctrl)
        store.clearAllSelection();
    if (!store.layerOn(Layer::Arrow) || ctrl) {
        // The cursor line jumps to the mouse, and the play position with it.
        state_.areaPressed = true;
        const int rows = state_.mouseY - editor_.waveView().cursorRow;
        moveCursorLineToMouse();
        player.seek(shifted(player.position(), static_cast<std::int64_t>(rows * samplesPerRow())));
        if (player.snap(false) != 0) {
            player.snapRow(store.timing().sampleToRow(player.position()));
        }
        state_.targetRowPressed = true;
    }
    startBand();
}

void MouseEditing::motion(int x, int y, int scrollRows) {
    state_.dx = x - state_.mouseX;
    state_.dy = y - state_.mouseY + scrollRows;
    state_.mouseX = x;
    state_.mouseY = y;
    if (!state_.buttonDown)
        return;
    switch (state_.hitKind) {
    case ItemKind::Beat:
    case ItemKind::Pause:
    case ItemKind::Delay:
    case ItemKind::Warp:
        dragSelected();
        break;
    case ItemKind::Note:
        break; // a grabbed note only selects
    case ItemKind::PositionBar:
        if (state_.positionBarPressed)
            dragPositionBar(view_, editor_.player(), y);
        break;
    case ItemKind::CursorLine:
    case ItemKind::TargetRow:
        if (state_.cursorLinePressed || state_.targetRowPressed)
            moveCursorLineToMouse();
        break;
    default:
        if (view_.band.exists()) {
            view_.band.x2 = x;
            view_.band.sample2 = static_cast<int>(sampleAtRow(y));
        }
        break;
    }
}

void MouseEditing::dragSelected() {
    ItemStore& store = editor_.store();
    // Beats and pauses stay put while notes are edited on their own layer.
    if (state_.dy == 0 || store.oneLayerLock())
        return;
    const std::array<ItemList*, 4> movable{&store.beatList(), &store.pauseList(),
                                           &store.delayList(), &store.warpList()};
    if (std::none_of(movable.begin(), movable.end(), [](const ItemList* list) {
            return std::any_of(list->begin(), list->end(), movesWithDrag);
        }))
        return;
    OpenEntryFlags& entries = editor_.openEntries();
    if (!entries.any()) {
        // The whole drag is one undo step; a recording under way takes it instead.
        dispatcher_.openUndoEntry("Drag Item(s)");
        entries.drag = true;
    }
    const auto by = static_cast<std::int64_t>(state_.dy * samplesPerRow());
    for (ItemList* list : movable)
        if (std::any_of(list->begin(), list->end(), movesWithDrag))
            for (EditItem& item : list->edit())
                if (movesWithDrag(item))
                    item.sample = shifted(item.sample, by);
    store.setModified(true);
    state_.moved = true;
}

void MouseEditing::release() {
    if (!state_.buttonDown)
        return;
    state_.buttonDown = false;
    if (state_.moved) {
        editor_.store().refreshAfterPauseDrag();
        state_.moved = false;
    }
    OpenEntryFlags& entries = editor_.openEntries();
    if (entries.drag) {
        // Cleared first: no entry is committed while one is marked open.
        entries.drag = false;
        dispatcher_.commitUndoEntry();
    }
    state_.positionBarPressed = state_.cursorLinePressed = false;
    state_.targetRowPressed = state_.areaPressed = false;
    applyBand();
    view_.band = {};
}

// The band toggles what it covers: beats and pauses whose sample lies inside it, and
// the current level's notes it encloses, with a little give for the smaller sizes.
void MouseEditing::applyBand() {
    SelectionBand band = view_.band;
    if (!band.exists())
        return;
    if (band.x1 > band.x2)
        std::swap(band.x1, band.x2);
    if (band.sample1 > band.sample2)
        std::swap(band.sample1, band.sample2);
    if (band.x1 == band.x2 || band.sample1 == band.sample2)
        return; // a band without area covers nothing
    ItemStore& store = editor_.store();
    const int noteSize = view_.noteSize();
    const std::int64_t give = static_cast<std::int64_t>(samplesPerRow()) * noteSize / 2;
    const double margin = 1.5 * noteSize;
    const ArrowLayout arrow = view_.arrowLayout();
    const int half = noteHalfSize(arrow.noteSize);
    auto within = [](std::int64_t sample, std::int64_t low, std::int64_t high) {
        return low < sample && sample < high;
    };

    if (!store.oneLayerLock()) {
        auto marker = [&](const EditItem& m) {
            return m.layerActive && within(m.sample, band.sample1, band.sample2);
        };
        toggleWhere(store.beatList(), marker);
        toggleWhere(store.pauseList(), marker);
    }
    toggleWhere(store.noteList(store.currentLevel()), [&](const EditItem& n) {
        const int centre = columnX(arrow.gameType, arrow.noteSize, n.column);
        return n.layerActive &&
               within(n.sample, band.sample1 - give, std::int64_t{band.sample2} + give) &&
               band.x1 < centre - half + margin && band.x2 > centre + half - margin;
    });
}

} // namespace quillex
