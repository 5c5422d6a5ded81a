// The frame: its draw order is declared here and nowhere else.
#include "view/paint/frame_painter.h"

#include <array>

#include "view/paint/frame_context.h"
#include "view/paint/renderer.h"

namespace quillex {

namespace {

using LayerPainter = void (*)(const FrameContext&, Renderer&);

// Back to front.
constexpr std::array<LayerPainter, 13> kLayerOrder{
    paintWaveLayer,  paintSpectrogramLayer, paintBeatLayer,       paintPauseLayer,
    paintArrowLayer, paintGridLayer,        paintDensityGraph,    paintPositionBar,
    paintSelection,  paintStatusLayer,      paintPracticeEffects, paintAutoscrollMark,
    paintRecording,
};

} // namespace

FrameContext makeFrameContext(const EditorView& view, const TransportState& transport,
                              FrameSources sources, std::vector<GridEntry>& gridEntries) {
    const ItemStore& store = view.store();
    FrameContext frame{view,
                       transport,
                       view.geometry(transport.position),
                       view.arrowLayout(),
                       {},
                       {},
                       {},
                       {},
                       sources.filteredPeaks,
                       &gridEntries,
                       {},
                       sources.spectrogram};
    frame.pauses = store.pauses();
    frame.delays = store.delays();
    frame.notes = store.notes(store.currentLevel());
    frame.timing = store.timing();
    frame.positionRow = frame.timing.sampleToRow(static_cast<SamplePosition>(transport.position));
    return frame;
}

void FramePainter::drawFrame(QPainter& painter, Renderer& renderer, EditorView& view,
                             const TransportState& transport, FrameSources sources) {
    view.beginFrame(transport);
    // The background is opaque black with the picture over it, so it is the clear.
    renderer.beginFrame(painter, view.windowWidth(), view.windowHeight(), false);
    renderer.background(255);
    {
        FrameContext frame = makeFrameContext(view, transport, sources, gridEntries_);
        frame.spectrogramImages = &spectrogramImages_;
        for (LayerPainter paint : kLayerOrder)
            paint(frame, renderer);
    }
    if (view.finishFrame(transport))
        renderer.backgroundOpacityStep(view.store().layerOn(Layer::Wave));
    renderer.endFrame();
}

bool frameAnimating(const EditorView& view, const Renderer& renderer) {
    return !renderer.backgroundSettled(view.store().layerOn(Layer::Wave)) ||
           practiceEffectsFading(view);
}

} // namespace quillex
