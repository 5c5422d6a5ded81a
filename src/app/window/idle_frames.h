// Rest when idle: the frame timer draws only what changed since the last frame.
// Playback, a drag, an autoscroll and the frame's own animations (the background's
// opacity steps, the practice effects fading) move the whole picture by themselves;
// the fading status panels move only their own corner of it. Anything else changes
// the picture only through an event: input, a resize or expose, or a queued call
// (commands and tasks other threads post, which is how work finished elsewhere
// reaches the window). Such an event asks for one whole frame; a motion or fade is
// drawn once more after it stops, so its last step reaches the screen.
#pragma once

class QEvent;

namespace quillex {

// What moves on screen without any event.
struct FrameMotion {
    bool playing = false;
    bool dragging = false;
    bool autoscrolling = false;
    bool animating = false;    // the frame's own steps change the whole picture
    bool panelsFading = false; // only the status panels change
    bool wholePicture() const { return playing || dragging || autoscrolling || animating; }
};

// What one tick of the frame timer draws.
enum class FrameRequest { None, StatusPanels, Whole };

class IdleFrames {
  public:
    // Something changed: the next tick draws the whole picture.
    void wake() { wholePending_ = true; }
    // Wakes for the events that may change what is drawn.
    void noteEvent(const QEvent& event);
    // Asked once per tick of the frame timer.
    FrameRequest next(const FrameMotion& motion) {
        if (motion.wholePicture() || wholePending_) {
            wholePending_ = motion.wholePicture();
            return FrameRequest::Whole;
        }
        if (motion.panelsFading || panelsPending_) {
            panelsPending_ = motion.panelsFading;
            return FrameRequest::StatusPanels;
        }
        return FrameRequest::None;
    }

  private:
    bool wholePending_ = true; // the first frame
    bool panelsPending_ = false;
};

} // namespace quillex
