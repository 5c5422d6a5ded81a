// Draws one whole frame of the editor: background, every layer in their fixed order,
// then the per-frame bookkeeping that runs every second frame.
#pragma once

#include <QPainter>
#include <QRegion>

#include <vector>

#include "view/editor_view.h"
#include "view/grid.h"
#include "view/paint/frame_context.h"
#include "view/paint/sonogram_painter.h"
#include "view/transport_state.h"

namespace quillex {

class Renderer;

class FramePainter {
  public:
    // Paints a frame of `view` on `painter` (a surface of the view's window size).
    // `sources` holds the filtered wave and the spectrogram when they are available.
    void drawFrame(QPainter& painter, Renderer& renderer, EditorView& view,
                   const TransportState& transport, FrameSources sources = {});

  private:
    std::vector<GridEntry> gridEntries_;
    SpectrogramImages spectrogramImages_;
};

// True while the next frame would differ from the last over the whole picture with
// nothing else changing: the song background's opacity is still stepping, or the
// practice effects are still fading.
bool frameAnimating(const EditorView& view, const Renderer& renderer);

// The part of the window the status panels cover ("Saved as" and the value panels):
// while only their fades move, a frame need redraw no more than this.
QRegion statusPanelArea(const EditorView& view);

} // namespace quillex
