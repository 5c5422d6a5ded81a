// The editor's drawing surface: a GL-composited widget that paints one frame of the
// editor view through the renderer each time it is updated. The main loop paces the
// updates to the screen's refresh; nothing is drawn while suspended.
#pragma once

#include <QOpenGLWidget>

#include <functional>

#include "view/paint/frame_painter.h"
#include "view/transport_state.h"

namespace quillex {

class EditorView;
class Renderer;
class PeakPyramid;

class EditorWidget : public QOpenGLWidget {
    Q_OBJECT
  public:
    // `transport` is asked once per frame for the player's values; `filteredPeaks`
    // (may be empty) for the filtered wave when one is shown.
    EditorWidget(EditorView& view, Renderer& renderer, std::function<TransportState()> transport,
                 QWidget* parent = nullptr);

    void setFilteredPeaks(std::function<const PeakPyramid*()> filteredPeaks);
    // No frame is drawn while suspended (a modal dialog or a minimised window).
    void setSuspended(bool on);
    bool suspended() const { return suspended_; }

  protected:
    void paintGL() override;
    void resizeGL(int width, int height) override;

  private:
    EditorView& view_;
    Renderer& renderer_;
    std::function<TransportState()> transport_;
    std::function<const PeakPyramid*()> filteredPeaks_;
    FramePainter painter_;
    bool suspended_ = false;
};

} // namespace quillex
