// The refresh of the stretches of rows: pauses and delays (rows that take time while
// the chart stands still) and warps (rows that take none).
#include <algorithm>

#include "items/item_store.h"

namespace quillex {

namespace {

using Items = ItemList::Items;

bool byRow(const EditItem& a, const EditItem& b) {
    return a.row() < b.row();
}

// True when two stretches share a row, ends included.
bool stretchesMeet(const EditItem& p, const EditItem& q) {
    const bool startInside = p.row() >= q.row() && p.row() <= q.endRow();
    const bool endInside = p.endRow() >= q.row() && p.endRow() <= q.endRow();
    const bool qInsideP = q.row() >= p.row() && q.endRow() <= p.endRow();
    return startInside || endInside || qInsideP;
}

} // namespace

void ItemStore::refreshStretches(ItemList& list, bool selectedFollowSamples) {
    const ItemList& old = list;
    const ItemList& beats = beats_;
    if (beats.size() < 2) {
        if (!old.empty())
            list.clear();
        return;
    }
    const TimingMap map = timing();
    const std::int32_t lastBeatRow = beats.back().row();

    Items stretches;
    stretches.reserve(old.size());
    for (EditItem p : old) {
        if (selectedFollowSamples && p.selected && p.layerActive) {
            const RowPosition start = map.sampleToRow(p.sample);
            p.beat = start.beat;
            p.fraction = start.fraction;
        }
        if (p.row() >= lastBeatRow || p.endRow() >= lastBeatRow)
            continue;
        p.sample = map.rowToSample(p.start());
        stretches.push_back(p);
    }
    std::stable_sort(stretches.begin(), stretches.end(), byRow);

    // Of two overlapping stretches the earlier one stays.
    Items kept;
    kept.reserve(stretches.size());
    for (const EditItem& q : stretches)
        if (std::none_of(kept.begin(), kept.end(),
                         [&q](const EditItem& p) { return stretchesMeet(p, q); }))
            kept.push_back(q);
    if (kept != old)
        list.replace(std::move(kept));
}

void ItemStore::refreshWarps(bool selectedFollowSamples) {
    const ItemList& old = warps_;
    if (old.empty())
        return;
    // A dragged warp moves by the timed rows its sample moved over, measured by the
    // timing it was dragged in (its own rows take no time there).
    const TimingMap dragged = timing();
    Items warps;
    warps.reserve(old.size());
    for (EditItem w : old) {
        if (selectedFollowSamples && w.selected && w.layerActive) {
            const std::int32_t moved =
                dragged.timedRow(dragged.sampleToRow(w.sample).row()) - dragged.timedRow(w.row());
            const RowPosition start = RowPosition::fromRow(std::int64_t{w.row()} + moved);
            w.beat = start.beat;
            w.fraction = start.fraction;
        }
        if (w.row() >= kRowsPerBeat && w.lengthRows() > 0)
            warps.push_back(w);
    }
    std::stable_sort(warps.begin(), warps.end(), byRow);

    // Warps that overlap or touch become one, from the first start to the last end.
    Items merged;
    merged.reserve(warps.size());
    for (const EditItem& w : warps) {
        if (merged.empty() || w.row() > merged.back().endRow()) {
            merged.push_back(w);
            continue;
        }
        EditItem& into = merged.back();
        const RowPosition length =
            RowPosition::fromRow(std::max(into.endRow(), w.endRow()) - into.row());
        into.lengthBeats = length.beat;
        into.lengthFraction = length.fraction;
        into.selected = into.selected || w.selected;
    }
    if (merged != old)
        warps_.replace(std::move(merged));
}

void ItemStore::removeWarpsPastTheBeats() {
    const ItemList& old = warps_;
    if (old.empty())
        return;
    Items kept;
    if (beats_.size() >= 2) {
        const std::int32_t lastBeatRow = beats_.back().row();
        const TimingMap map = timing();
        for (EditItem w : old) {
            if (w.row() >= lastBeatRow)
                continue;
            w.sample = map.rowToSample(w.start());
            kept.push_back(w);
        }
    }
    if (kept != old)
        warps_.replace(std::move(kept));
}

} // namespace quillex
