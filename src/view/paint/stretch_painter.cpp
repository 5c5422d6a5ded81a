// The pause layer's delays and warps. A delay is drawn like a pause, in amber, with a
// second line on its end row, where its notes sound. A warp takes no time, so it is a
// band across the markers at its sample, labelled with its length in beats.
#include "base/number_format.h"
#include "view/item_boxes.h"
#include "view/paint/frame_context.h"
#include "view/paint/renderer.h"
#include "view/visible_items.h"

namespace quillex {

namespace {

constexpr int kLineHalfHeight = 3;
constexpr int kWarpHalfHeight = 5;

Colour amber(int alpha) {
    return {alpha, 255, 170, 0};
}
Colour teal(int alpha) {
    return {alpha, 0, 200, 200};
}

} // namespace

void paintDelays(const FrameContext& frame, Renderer& renderer) {
    const ViewGeometry& g = frame.geometry;
    const auto& delays = frame.delays.items();
    const IndexRange range = visibleRange(delays, g);
    const QRect hatchCell(0, 0, renderer.picture(PictureId::Crosshatch).width(),
                          renderer.picture(PictureId::Crosshatch).height());
    for (std::size_t i = range.first; i < range.last; ++i) {
        const EditItem& d = delays[i];
        const int start = g.rowOfSample(frame.timing.rowToSample(d.start()));
        const int end = g.rowOfSample(frame.timing.rowToSample(RowPosition::fromRow(d.endRow())));
        const int x1 = kMarkerLeft;
        const int x2 = kMarkerRight;
        renderer.line(x1, start, x2, start, amber(d.cutMark ? 64 : 128));
        renderer.line(x1, end, x2, end, amber(itemAlpha(d.cutMark)));
        if (d.selected)
            renderer.rectangle(x1, start - kLineHalfHeight, x2, start + kLineHalfHeight,
                               amber(selectionAlpha(d.cutMark)), true);
        const int bodyTop = start + kLineHalfHeight;
        if (end > bodyTop)
            renderer.tiled(PictureId::Crosshatch, hatchCell,
                           QRect(x1, bodyTop, x2 - x1, end - bodyTop), hatchCell.width(),
                           hatchCell.height(), x1, bodyTop, itemAlpha(d.cutMark) / 2);
    }
}

void paintWarps(const FrameContext& frame, Renderer& renderer) {
    const ViewGeometry& g = frame.geometry;
    const auto& warps = frame.timing.warps().items();
    const IndexRange range = visibleRange(warps, g);
    for (std::size_t i = range.first; i < range.last; ++i) {
        const EditItem& w = warps[i];
        const int row = g.rowOfSample(w.sample);
        const int x1 = kMarkerLeft;
        const int x2 = kMarkerRight;
        renderer.rectangle(x1, row - kWarpHalfHeight, x2, row + kWarpHalfHeight,
                           teal(w.selected ? 160 : (w.cutMark ? 32 : 80)), true);
        renderer.line(x1, row, x2, row, teal(itemAlpha(w.cutMark)));
        const double beats = static_cast<double>(w.lengthRows()) / kRowsPerBeat;
        // Above the band's right end, clear of the density graph beside it.
        const std::string label = "Warp " + formatNumber(beats) + (beats == 1 ? " beat" : " beats");
        renderer.text(label, x2 - renderer.textWidth(label, FontSize::Small),
                      row - kWarpHalfHeight - 16, itemAlpha(w.cutMark), FontSize::Small);
    }
}

} // namespace quillex
