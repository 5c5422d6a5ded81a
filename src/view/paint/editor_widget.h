// The editor's drawing surface: a widget that paints one frame of the editor view
// through the renderer each time it is updated. Where a graphics card draws OpenGL the
// widget is GL-composited; elsewhere (a display without GL or with a software
// rasteriser, the offscreen platform) a plain raster widget paints the same frame. The main loop
// paces the updates to the screen's refresh; nothing is drawn while suspended.
#pragma once

#include <QOpenGLWidget>
#include <QWidget>

#include <functional>

#include "view/paint/frame_painter.h"
#include "view/transport_state.h"

namespace quillex {

class EditorView;
class Renderer;

// What both kinds of widget share: the view to draw and how to draw one frame.
class EditorSurface {
  public:
    // `transport` is asked once per frame for the player's values.
    EditorSurface(EditorView& view, Renderer& renderer, std::function<TransportState()> transport)
        : view_(view), renderer_(renderer), transport_(std::move(transport)) {}
    virtual ~EditorSurface() = default;

    // Asked once per frame for the filtered wave and the spectrogram.
    void setSources(std::function<FrameSources()> sources) { sources_ = std::move(sources); }
    // No frame is drawn while suspended (a modal dialog or a minimised window).
    void setSuspended(bool on);
    bool suspended() const { return suspended_; }
    virtual QWidget* widget() = 0;
    // Schedules a frame that need only redraw the status panels (their fades moved
    // and nothing else). A surface that cannot keep the rest of its last frame
    // redraws it all.
    virtual void updateStatusPanels() { widget()->update(); }

  protected:
    const EditorView& view() const { return view_; }
    void sizeChanged(int width, int height);
    void paint(QPainter& painter);

  private:
    EditorView& view_;
    Renderer& renderer_;
    std::function<TransportState()> transport_;
    std::function<FrameSources()> sources_;
    FramePainter painter_;
    bool suspended_ = false;
};

class EditorWidget : public QOpenGLWidget, public EditorSurface {
    Q_OBJECT
  public:
    EditorWidget(EditorView& view, Renderer& renderer, std::function<TransportState()> transport,
                 QWidget* parent = nullptr);
    QWidget* widget() override { return this; }

  protected:
    void paintGL() override;
    void resizeGL(int width, int height) override;
};

class RasterEditorWidget : public QWidget, public EditorSurface {
    Q_OBJECT
  public:
    RasterEditorWidget(EditorView& view, Renderer& renderer,
                       std::function<TransportState()> transport, QWidget* parent = nullptr);
    QWidget* widget() override { return this; }
    void updateStatusPanels() override;

  signals:
    void frameDrawn();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

// True when OpenGL contexts can be made on this platform and a graphics card draws
// them. A software rasteriser composites every frame of the whole window on the
// processor, many times the work of painting the frame without OpenGL.
bool hardwareOpenGlAvailable();

} // namespace quillex
