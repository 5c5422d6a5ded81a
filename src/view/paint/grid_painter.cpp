// The grid layer: a labelled line at each beat marker in view (position and BPM) and
// the unlabelled 8th and 16th lines between them.
#include "view/paint/frame_context.h"
#include "view/paint/renderer.h"
#include "view/visible_items.h"

namespace quillex {

void paintGridLayer(const FrameContext& frame, Renderer& renderer) {
    const Grid& grid = frame.view.grid();
    if (!grid.has(Grid::kQuarterBit))
        return;
    const IndexRange range = visibleRange(frame.timing.beats().items(), frame.geometry);
    std::vector<GridEntry>& entries = *frame.gridEntries;
    buildGridEntries(grid, frame.timing, frame.geometry, range.first, range.last,
                     frame.transport.timeFormat, entries);
    for (const GridEntry& e : entries) {
        const int lineAlpha = e.faint ? 32 : 64;
        renderer.line(e.x + 4 * e.style - 620, e.y + 3, e.x - 4 * e.style, e.y + 3,
                      {lineAlpha, 255, 255, 255}, e.style);
        if (!e.labelled)
            continue;
        renderer.text(e.position, e.x + 8, e.y - 2, itemAlpha(e.faint), FontSize::Small);
        renderer.text(e.bpm, e.x - 660, e.y - 2, itemAlpha(e.faint), FontSize::Small);
    }
}

} // namespace quillex
