// Grid choice and the grid layer's label entries.
#include "view/grid.h"

#include "base/number_format.h"
#include "view/item_boxes.h"
#include "view/status_texts.h"

namespace quillex {

void Grid::choose(GridChoice choice) {
    switch (choice) {
    case GridChoice::None:
        flags_ = 0;
        break;
    case GridChoice::Quarter:
        flags_ = kQuarterBit;
        break;
    case GridChoice::Eighth:
        flags_ = kQuarterBit | kEighthBit;
        break;
    case GridChoice::Sixteenth:
        flags_ = kQuarterBit | kEighthBit | kSixteenthBit;
        break;
    }
}

GridChoice Grid::choice() const {
    if (has(kSixteenthBit))
        return GridChoice::Sixteenth;
    if (has(kEighthBit))
        return GridChoice::Eighth;
    if (has(kQuarterBit))
        return GridChoice::Quarter;
    return GridChoice::None;
}

CommandId Grid::commandId(GridChoice choice) {
    switch (choice) {
    case GridChoice::None:
        return CommandId::NoGrid;
    case GridChoice::Quarter:
        return CommandId::Grid4th;
    case GridChoice::Eighth:
        return CommandId::Grid8th;
    case GridChoice::Sixteenth:
        return CommandId::Grid16th;
    }
    return CommandId::NoGrid;
}

namespace {

// An unlabelled line at a row of the grid, drawn at the markers' right edge.
void addSubdivision(const TimingMap& timing, const ViewGeometry& view, const EditItem& marker,
                    int row, int style, std::vector<GridEntry>& entries) {
    GridEntry& e = entries.emplace_back();
    e.x = kMarkerRight;
    e.y = view.rowOfSample(timing.rowToSample(RowPosition::fromRow(row))) - 3;
    e.style = style;
    e.faint = marker.cutMark;
}

} // namespace

void buildGridEntries(const Grid& grid, const TimingMap& timing, const ViewGeometry& view,
                      std::size_t first, std::size_t last, int timeFormat,
                      std::vector<GridEntry>& entries) {
    entries.clear();
    if (!grid.has(Grid::kQuarterBit))
        return;
    const ItemList& markers = timing.beats();
    const bool subdivide = grid.has(Grid::kEighthBit) && markers.size() >= 2;
    const bool sixteenths = grid.has(Grid::kSixteenthBit);
    TempoRuns tempos = timing.tempoRuns();
    for (std::size_t i = first; i < last && i < markers.size(); ++i) {
        const EditItem& m = markers[i];
        GridEntry& e = entries.emplace_back();
        e.x = kMarkerRight;
        e.y = view.rowOfSample(m.sample) - 3;
        e.faint = m.cutMark;
        e.labelled = true;
        e.position = positionText(m.sample, timeFormat, timing.sampleRate(), timing);
        e.bpm = formatFixed3(tempos.bpmOfInterval(i));
        if (!subdivide || m.isSubBeat)
            continue;
        const int row = m.row();
        if (i + 1 < markers.size()) {
            addSubdivision(timing, view, m, row + 24, 1, entries);
            if (sixteenths) {
                addSubdivision(timing, view, m, row + 12, 2, entries);
                addSubdivision(timing, view, m, row + 36, 2, entries);
            }
        }
        // The beat before the first marker in view is cut off above the window; its
        // half and quarters still show.
        if (i == first && i > 0) {
            addSubdivision(timing, view, m, row - 24, 1, entries);
            if (sixteenths) {
                addSubdivision(timing, view, m, row - 12, 2, entries);
                addSubdivision(timing, view, m, row - 36, 2, entries);
            }
        }
    }
}

} // namespace quillex
