// Everything one frame's layers read, gathered once before drawing: the view
// geometry, the item lists (shared copies taken under the store's lock, so drawing
// never holds the lock), the timing map, the transport's values and the view state.
#pragma once

#include <vector>

#include "analysis/tf_pyramid.h"
#include "audio/peak_pyramid.h"
#include "items/item_list.h"
#include "items/timing_map.h"
#include "view/editor_view.h"
#include "view/grid.h"
#include "view/transport_state.h"
#include "view/view_geometry.h"

namespace quillex {

class Renderer;
class SpectrogramImages;

// What a frame draws besides the view's own state: the filtered wave and the
// spectrogram, each null when there is none.
struct FrameSources {
    const PeakPyramid* filteredPeaks = nullptr;
    const TfPyramid* spectrogram = nullptr;
};

struct FrameContext {
    const EditorView& view;
    const TransportState& transport;
    ViewGeometry geometry;
    ArrowLayout arrow;
    ItemList pauses;
    ItemList notes;   // the current level's
    TimingMap timing; // holds the beat list
    // The play position's row on the grid (receptor and animation frames).
    RowPosition positionRow;
    const PeakPyramid* filteredPeaks = nullptr;
    std::vector<GridEntry>* gridEntries = nullptr; // reused from frame to frame
    ItemList delays;
    const TfPyramid* spectrogram = nullptr;
    SpectrogramImages* spectrogramImages = nullptr; // kept from frame to frame

    bool layerOn(Layer layer) const { return view.store().layerOn(layer); }
};

// Gathers a frame's context: the list handles are copied, not the items.
FrameContext makeFrameContext(const EditorView& view, const TransportState& transport,
                              FrameSources sources, std::vector<GridEntry>& gridEntries);

// The layers, each drawing only what lies in view. Their order is fixed in
// drawFrame().
void paintWaveLayer(const FrameContext& frame, Renderer& renderer);
void paintSpectrogramLayer(const FrameContext& frame, Renderer& renderer);
void paintBeatLayer(const FrameContext& frame, Renderer& renderer);
void paintPauseLayer(const FrameContext& frame, Renderer& renderer);
// Parts of the pause layer, drawn by it.
void paintDelays(const FrameContext& frame, Renderer& renderer);
void paintWarps(const FrameContext& frame, Renderer& renderer);
void paintArrowLayer(const FrameContext& frame, Renderer& renderer);
void paintGridLayer(const FrameContext& frame, Renderer& renderer);
void paintDensityGraph(const FrameContext& frame, Renderer& renderer);
void paintPositionBar(const FrameContext& frame, Renderer& renderer);
void paintSelection(const FrameContext& frame, Renderer& renderer);
void paintStatusLayer(const FrameContext& frame, Renderer& renderer);
void paintPracticeEffects(const FrameContext& frame, Renderer& renderer);
void paintAutoscrollMark(const FrameContext& frame, Renderer& renderer);
void paintRecording(const FrameContext& frame, Renderer& renderer);

// True while the practice effects still have fading steps to draw.
bool practiceEffectsFading(const EditorView& view);

// Faint items (marked by Cut) use these alphas.
constexpr int itemAlpha(bool faint) {
    return faint ? 63 : 255;
}
constexpr int selectionAlpha(bool faint) {
    return faint ? 32 : 64;
}

} // namespace quillex
