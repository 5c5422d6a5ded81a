// The beat layer (beat markers as lines, styled by lock and sub-beat) and the pause
// layer (red start line and crosshatched body; its delays and warps are drawn by
// stretch_painter.cpp).
#include "view/item_boxes.h"
#include "view/paint/frame_context.h"
#include "view/paint/renderer.h"
#include "view/visible_items.h"

namespace quillex {

namespace {

constexpr int kMarkerHalfHeight = 3;

int beatLineStyle(const EditItem& beat) {
    if (beat.locked)
        return 0;
    return beat.isSubBeat ? 2 : 1;
}

Colour withAlpha(Colour c, int alpha) {
    c.alpha = alpha;
    return c;
}

} // namespace

void paintBeatLayer(const FrameContext& frame, Renderer& renderer) {
    if (!frame.layerOn(Layer::Beat))
        return;
    const ViewGeometry& g = frame.geometry;
    const auto& beats = frame.timing.beats().items();
    const IndexRange range = visibleRange(beats, g);
    for (std::size_t i = range.first; i < range.last; ++i) {
        const EditItem& b = beats[i];
        const int row = g.rowOfSample(b.sample);
        const int x1 = kMarkerLeft;
        const int x2 = kMarkerRight;
        renderer.line(x1, row, x2, row, withAlpha(b.colour, itemAlpha(b.cutMark)),
                      beatLineStyle(b));
        if (b.selected)
            renderer.rectangle(x1, row - kMarkerHalfHeight, x2, row + 2 * kMarkerHalfHeight,
                               withAlpha(b.colour, selectionAlpha(b.cutMark)), true);
    }
}

void paintPauseLayer(const FrameContext& frame, Renderer& renderer) {
    if (!frame.layerOn(Layer::Pause))
        return;
    const ViewGeometry& g = frame.geometry;
    const auto& pauses = frame.pauses.items();
    const IndexRange range = visibleRange(pauses, g);
    const QRect hatchCell(0, 0, renderer.picture(PictureId::Crosshatch).width(),
                          renderer.picture(PictureId::Crosshatch).height());
    for (std::size_t i = range.first; i < range.last; ++i) {
        const EditItem& p = pauses[i];
        const int start = g.rowOfSample(frame.timing.rowToSample(p.start()));
        const int end = g.rowOfSample(frame.timing.rowToSample(RowPosition::fromRow(p.endRow())));
        const int x1 = kMarkerLeft;
        const int x2 = kMarkerRight;
        renderer.line(x1, start, x2, start, {p.cutMark ? 64 : 128, 255, 0, 0});
        if (p.selected)
            renderer.rectangle(x1, start - kMarkerHalfHeight, x2, start + kMarkerHalfHeight,
                               {selectionAlpha(p.cutMark), 255, 0, 0}, true);
        const int bodyTop = start + kMarkerHalfHeight;
        if (end > bodyTop)
            renderer.tiled(PictureId::Crosshatch, hatchCell,
                           QRect(x1, bodyTop, x2 - x1, end - bodyTop), hatchCell.width(),
                           hatchCell.height(), x1, bodyTop, itemAlpha(p.cutMark));
    }
    paintDelays(frame, renderer);
    paintWarps(frame, renderer);
}

} // namespace quillex
