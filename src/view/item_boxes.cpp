// Screen boxes of beats, pauses, notes and the fixed regions.
#include "view/item_boxes.h"

#include <algorithm>

#include "model/game_type.h"
#include "view/column_layout.h"
#include "view/position_bar.h"
#include "view/visible_items.h"

namespace quillex {

ScreenBox markerBox(const EditItem& marker, const ViewGeometry& view) {
    const int row = view.rowOfSample(marker.sample);
    return {kMarkerLeft, row - 3, kMarkerRight, row + 3};
}

ScreenBox noteBox(const EditItem& note, SamplePosition endSample, const ViewGeometry& view,
                  const ArrowLayout& arrow) {
    const int h = noteHalfSize(arrow.noteSize);
    const int x = columnX(arrow.gameType, arrow.noteSize, note.column);
    const int head = view.rowOfSample(note.sample);
    const int end = note.isHold ? view.rowOfSample(endSample) : head;
    return {x - h, head - h, x + h, end + h};
}

ScreenBox holdTailBox(const EditItem& note, SamplePosition endSample, const ViewGeometry& view,
                      const ArrowLayout& arrow) {
    if (!note.isHold)
        return {};
    const int h = noteHalfSize(arrow.noteSize);
    const int x = columnX(arrow.gameType, arrow.noteSize, note.column);
    const int tailCentre = view.rowOfSample(endSample) + h / 2;
    return {x - h, tailCentre - h, x + h, tailCentre + h};
}

namespace {

struct ItemBoxes {
    ScreenBox box;
    ScreenBox tail;
    bool sameAs(const EditItem& item) const { return item.box == box && item.tailBox == tail; }
};

// Recomputes the boxes of the items in view, writing only the items whose boxes really
// changed (a write copies the chunk of a list the undo history shares).
template <typename Place>
void updateVisibleBoxes(ItemList& list, const ViewGeometry& view, Place place) {
    const IndexRange range = visibleRange(list, view);
    for (std::size_t i = range.first; i < range.last; ++i) {
        const ItemBoxes boxes = place(list[i]);
        if (boxes.sameAs(list[i]))
            continue;
        EditItem& item = list.editAt(i);
        item.box = boxes.box;
        item.tailBox = boxes.tail;
    }
}

} // namespace

void layoutItemBoxes(ItemStore& store, const ViewGeometry& view, const ArrowLayout& arrow,
                     bool beatsHaveBoxes) {
    auto marker = [&view](const EditItem& m) { return ItemBoxes{markerBox(m, view), m.tailBox}; };
    if (beatsHaveBoxes)
        updateVisibleBoxes(store.beatList(), view, marker);
    if (store.layerOn(Layer::Pause))
        for (ItemList* stretches : store.stretchLists())
            updateVisibleBoxes(*stretches, view, marker);
    if (!store.layerOn(Layer::Arrow))
        return;
    // The timing map shares the beat list, so it is made only after the beats' boxes
    // are written (a shared list would be copied).
    const TimingMap timing = store.timing();
    auto note = [&](const EditItem& n) {
        const SamplePosition end =
            n.isHold ? timing.rowToSample(RowPosition::fromRow(n.endRow())) : n.sample;
        return ItemBoxes{noteBox(n, end, view, arrow), holdTailBox(n, end, view, arrow)};
    };
    const LevelIndex level = store.currentLevel();
    updateVisibleBoxes(store.noteList(level), view, note);
}

ScreenBox regionBox(ItemKind kind, const ViewGeometry& view, const ArrowLayout& arrow) {
    // The cursor line and the editor area span the width the notes are drawn in.
    constexpr int kAreaLeft = 100;
    constexpr int kAreaRight = 700;
    const int cursor = view.cursorRow;
    switch (kind) {
    case ItemKind::PositionBar:
        return {PositionBar::kX, PositionBar::kTop, PositionBar::kX + PositionBar::kWidth,
                PositionBar::kTop + view.height - 2};
    case ItemKind::CursorLine:
        return {kAreaLeft, cursor - 3, kAreaRight, cursor + 3};
    case ItemKind::EditorArea:
        return {kAreaLeft, 0, kAreaRight, view.height};
    case ItemKind::TargetRow: {
        const int h = noteHalfSize(arrow.noteSize);
        const int last = std::clamp(columnCount(arrow.gameType), 1, kMaxColumns) - 1;
        return {columnX(arrow.gameType, arrow.noteSize, 0) - h, cursor - h,
                columnX(arrow.gameType, arrow.noteSize, last) + h, cursor + h};
    }
    default:
        return {};
    }
}

void layoutRegionBoxes(ItemStore& store, const ViewGeometry& view, const ArrowLayout& arrow) {
    for (ItemKind kind : kScreenRegions)
        if (EditItem* region = store.region(kind))
            region->box = regionBox(kind, view, arrow);
}

} // namespace quillex
