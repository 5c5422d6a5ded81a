#include "items/warp_edits.h"

#include <algorithm>

namespace quillex {

namespace {

void moveStart(EditItem& item, std::int64_t rows) {
    const RowPosition start = item.start().plusRows(rows);
    item.beat = start.beat;
    item.fraction = start.fraction;
}

void setLength(EditItem& item, std::int64_t rows) {
    const RowPosition length = RowPosition::fromRow(rows);
    item.lengthBeats = length.beat;
    item.lengthFraction = length.fraction;
    if (item.kind == ItemKind::Note)
        item.isHold = rows > 0;
}

// Moves the items starting at or after `from` by `rows`; a note held across `from`
// keeps its end where it was in time (its length grows or shrinks by `rows`). Copies
// the list only when an item moves.
void shiftFrom(ItemList& list, std::int32_t from, std::int64_t rows) {
    const auto moves = [from](const EditItem& e) {
        return e.row() >= from || (e.isHold && e.endRow() >= from);
    };
    if (std::none_of(list.begin(), list.end(), moves))
        return;
    for (EditItem& e : list.edit()) {
        if (e.row() >= from)
            moveStart(e, rows);
        else if (e.isHold && e.endRow() >= from)
            setLength(e,
                      std::max<std::int64_t>(e.lengthRows() + rows,
                                             std::min<std::int64_t>(from, from + rows) - e.row()));
    }
}

template <typename Pick> void removeWhere(ItemList& list, Pick pick) {
    if (std::any_of(list.begin(), list.end(), pick)) {
        auto& items = list.edit();
        items.erase(std::remove_if(items.begin(), items.end(), pick), items.end());
    }
}

} // namespace

void openWarpRows(ItemStore& store, RowPosition start, std::int32_t rows) {
    const std::int32_t from = start.row();
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        shiftFrom(store.noteList(level), from, rows);
    for (ItemList* stretches : store.stretchLists())
        shiftFrom(*stretches, from, rows);
    store.addWarp(start, RowPosition::fromRow(rows), true);
}

void closeWarpRows(ItemStore& store, std::size_t index) {
    const EditItem warp = store.warps()[index];
    const std::int32_t from = warp.row();
    const std::int32_t to = warp.endRow();
    ItemList& warps = store.warpList();
    warps.splice(index, index + 1, {});
    const auto inside = [from, to](const EditItem& e) { return e.row() >= from && e.row() < to; };
    const auto endsInside = [from, to](const EditItem& e) {
        return e.isHold && e.row() < from && e.endRow() >= from && e.endRow() < to;
    };
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        ItemList& notes = store.noteList(level);
        removeWhere(notes, inside);
        // Holds that reached into the warp end at its start.
        if (std::any_of(notes.begin(), notes.end(), endsInside))
            for (EditItem& e : notes.edit())
                if (endsInside(e))
                    setLength(e, from - e.row());
        shiftFrom(notes, to, -warp.lengthRows());
    }
    for (ItemList* stretches : store.stretchLists())
        shiftFrom(*stretches, to, -warp.lengthRows());
    store.setModified(true);
}

} // namespace quillex
