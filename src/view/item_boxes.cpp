// Screen boxes of beats, pauses, notes and the fixed regions.
#include "view/item_boxes.h"

#include <mutex>

#include "model/game_type.h"
#include "view/column_layout.h"
#include "view/position_bar.h"
#include "view/visible_items.h"

namespace quillex {

ScreenBox markerBox(const EditItem& marker, const ViewGeometry& view) {
    const int row = view.rowOfSample(marker.sample);
    return {marker.box.left, row - 3, marker.box.right, row + 3};
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
    std::lock_guard lock(store.listsMutex());
    auto marker = [&view](const EditItem& m) { return ItemBoxes{markerBox(m, view), m.tailBox}; };
    if (beatsHaveBoxes)
        updateVisibleBoxes(store.beatList(), view, marker);
    if (store.layerOn(Layer::Pause))
        updateVisibleBoxes(store.pauseList(), view, marker);
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

void syncStoreGeometry(ItemStore& store, const ViewGeometry& view, const ArrowLayout& arrow) {
    // The input timer reads the layout when it inserts items.
    std::lock_guard lock(store.listsMutex());
    ItemGeometry& g = store.geometry();
    g.playPosition = view.position;
    g.samplesPerRow = view.samplesPerRow;
    g.cursorRow = view.cursorRow;
    g.windowHeight = view.height;
    g.noteHalfSize = noteHalfSize(arrow.noteSize);
    g.columnCount = columnCount(arrow.gameType);
    for (int c = 0; c < kMaxColumns; ++c)
        g.columnX[c] = columnX(arrow.gameType, arrow.noteSize, c);
    g.positionBar = {PositionBar::kX, PositionBar::kTop, PositionBar::kX + PositionBar::kWidth,
                     PositionBar::kTop + view.height - 2};
    store.layoutRegions();
}

} // namespace quillex
