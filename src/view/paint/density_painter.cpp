// The density graph beside the position bar: translucent bars, the densest measure in
// a colour of its own.
#include "view/paint/frame_context.h"
#include "view/paint/renderer.h"

namespace quillex {

namespace {

constexpr Colour kBar{150, 90, 200, 255};
constexpr Colour kPeak{230, 255, 170, 40};

} // namespace

void paintDensityGraph(const FrameContext& frame, Renderer& renderer) {
    const PositionBar& bar = frame.view.positionBar();
    if (!bar.enabled())
        return;
    const DensityGraph& graph = frame.view.densityGraph();
    const int height = frame.geometry.height;
    for (const DensityGraph::Span& span : graph.spans(bar, height))
        renderer.rectangle(DensityGraph::kX, span.top, DensityGraph::kX + span.length,
                           span.bottom + 1, kBar, true);
    if (const auto peak = graph.peak(bar, height))
        renderer.rectangle(DensityGraph::kX, peak->top, DensityGraph::kX + peak->length,
                           peak->bottom + 1, kPeak, true);
}

} // namespace quillex
