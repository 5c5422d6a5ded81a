// The main window's frame loop: once per screen refresh, what the mouse, the timers
// and the keys moved is stepped and a frame drawn when something changed; and the
// layout after a resize.
#include <QCursor>

#include <cstdio>

#include "app/window/main_window.h"
#include "view/editor_view.h"
#include "view/paint/editor_widget.h"
#include "view/paint/frame_painter.h"
#include "view/paint/renderer.h"

namespace quillex {

void MainWindow::frameUpdate() {
    if (shell_->state.suspended.load() || closing_)
        return;
    ShellState& state = shell_->state;
    MusicPlayer& player = editor_->player();
    const FrameRequest request =
        idle_.next({player.playing(), mouse_->buttonDown(), state.middleAutoscroll,
                    renderer_ && frameAnimating(*view_, *renderer_), view_->status().fading()});
    if (request == FrameRequest::None)
        return; // nothing moves and nothing changed: no frame
    const QPoint cursor = QCursor::pos();
    state.cursorPos = {cursor.x(), cursor.y()};
    // While the left button drags, a cursor outside the editor scrolls it.
    const ScreenPoint outside = mouse_->buttonDown()
                                    ? dragScrollDistance(state.editorScreenRect, state.cursorPos)
                                    : ScreenPoint{};
    if (outside.y != 0)
        player.seek(player.position() + editor_->waveView().samplesPerRow() * outside.y);
    mouse_->motion(cursor.x() - state.editorScreenRect.left,
                   cursor.y() - state.editorScreenRect.top, outside.y);
    player.pollPosition();
    syncCommands_->frameUpdate();
    keyboard_->frame();
    view_->recording = keyboard_->recording().recordingArrows();
    view_->practiceMode = shell_->inputFlags.practice;
    view_->densityGraph().setMeasureOrigin(
        measureOriginRow(editor_->song().beatsBeforeFirstMarker()));
    if (state.middleAutoscroll) {
        const int rows = middleAutoscrollRows(state.middleAnchor, state.cursorPos);
        player.seek(player.position() + editor_->waveView().samplesPerRow() * rows);
        const EditorScreenRect& rect = state.editorScreenRect;
        view_->autoscrollMark =
            std::pair(state.middleAnchor.x - rect.left, state.middleAnchor.y - rect.top);
    } else {
        view_->autoscrollMark.reset();
    }
    if (request == FrameRequest::StatusPanels && surface_)
        surface_->updateStatusPanels();
    else
        editorWidget_->update();
    if (!surface_)
        countFrame(); // without drawing, every pass counts as a frame
}

void MainWindow::countFrame() {
    ++framesDrawn_;
    if (frameLimit_ > 0 && framesDrawn_ == frameLimit_) {
        std::fprintf(stderr, "quillex: %d frames drawn\n", framesDrawn_);
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void MainWindow::stepFrame() {
    idle_.wake();
    frameUpdate();
    if (editorWidget_)
        editorWidget_->repaint();
}

void MainWindow::drawFrame() {
    if (editorWidget_)
        editorWidget_->repaint();
}

void MainWindow::layoutChanged() {
    idle_.wake();
    updateEditorScreenRect();
    ShellState& state = shell_->state;
    if (width() == state.lastWidth && height() == state.lastHeight)
        return;
    state.lastWidth = width();
    state.lastHeight = height();
    view_->setWindowSize(editorWidget_->width(), editorWidget_->height());
    editor_->store().refresh();
}

} // namespace quillex
