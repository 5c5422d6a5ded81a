// Draws one whole frame of the editor: background, every layer in their fixed order,
// then the per-frame bookkeeping that runs every second frame.
#pragma once

#include <QPainter>

#include <vector>

#include "audio/peak_pyramid.h"
#include "view/editor_view.h"
#include "view/grid.h"
#include "view/transport_state.h"

namespace quillex {

class Renderer;

class FramePainter {
  public:
    // Paints a frame of `view` on `painter` (a surface of the view's window size).
    // `filteredPeaks` is the filtered wave when one is available.
    void drawFrame(QPainter& painter, Renderer& renderer, EditorView& view,
                   const TransportState& transport, const PeakPyramid* filteredPeaks = nullptr);

  private:
    std::vector<GridEntry> gridEntries_;
};

} // namespace quillex
