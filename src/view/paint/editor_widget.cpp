// Painting of the editor widgets.
#include "view/paint/editor_widget.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <QResizeEvent>

#include "view/editor_view.h"
#include "view/paint/renderer.h"

namespace quillex {

void EditorSurface::setSuspended(bool on) {
    suspended_ = on;
    if (!on)
        widget()->update();
}

// The painter works in the widget's own (device-independent) pixels.
void EditorSurface::sizeChanged(int width, int height) {
    view_.setWindowSize(width, height);
}

void EditorSurface::paint(QPainter& painter) {
    if (!renderer_.initialised())
        return;
    const TransportState transport = transport_ ? transport_() : TransportState{};
    const FrameSources sources = sources_ ? sources_() : FrameSources{};
    painter_.drawFrame(painter, renderer_, view_, transport, sources);
}

EditorWidget::EditorWidget(EditorView& view, Renderer& renderer,
                           std::function<TransportState()> transport, QWidget* parent)
    : QOpenGLWidget(parent), EditorSurface(view, renderer, std::move(transport)) {
    setMinimumSize(200, 200);
}

void EditorWidget::resizeGL(int, int) {
    sizeChanged(width(), height());
}

void EditorWidget::paintGL() {
    QPainter painter(this);
    paint(painter);
}

RasterEditorWidget::RasterEditorWidget(EditorView& view, Renderer& renderer,
                                       std::function<TransportState()> transport, QWidget* parent)
    : QWidget(parent), EditorSurface(view, renderer, std::move(transport)) {
    setMinimumSize(200, 200);
    // Every pixel is painted each frame; Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Qt keeps the rest of the widget's last picture and clips the frame to this area.
void RasterEditorWidget::updateStatusPanels() {
    update(statusPanelArea(view()));
}

void RasterEditorWidget::resizeEvent(QResizeEvent* event) {
    sizeChanged(event->size().width(), event->size().height());
}

void RasterEditorWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter);
    emit frameDrawn();
}

bool hardwareOpenGlAvailable() {
    QOpenGLContext context;
    if (!context.create())
        return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return false;
    const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QByteArray renderer = QByteArray(name ? name : "").toLower();
    context.doneCurrent();
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "software"})
        if (renderer.contains(software))
            return false;
    return true;
}

} // namespace quillex
