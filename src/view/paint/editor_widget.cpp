// Painting of the editor widget.
#include "view/paint/editor_widget.h"

#include <QPainter>

#include "view/editor_view.h"
#include "view/paint/renderer.h"

namespace quillex {

EditorWidget::EditorWidget(EditorView& view, Renderer& renderer,
                           std::function<TransportState()> transport, QWidget* parent)
    : QOpenGLWidget(parent), view_(view), renderer_(renderer), transport_(std::move(transport)) {
    setMinimumSize(200, 200);
}

void EditorWidget::setFilteredPeaks(std::function<const PeakPyramid*()> filteredPeaks) {
    filteredPeaks_ = std::move(filteredPeaks);
}

void EditorWidget::setSuspended(bool on) {
    suspended_ = on;
    if (!on)
        update();
}

// The painter works in the widget's own (device-independent) pixels.
void EditorWidget::resizeGL(int, int) { view_.setWindowSize(width(), height()); }

void EditorWidget::paintGL() {
    if (!renderer_.initialised())
        return;
    QPainter painter(this);
    const TransportState transport = transport_ ? transport_() : TransportState{};
    const PeakPyramid* filtered = filteredPeaks_ ? filteredPeaks_() : nullptr;
    painter_.drawFrame(painter, renderer_, view_, transport, filtered);
}

} // namespace quillex
