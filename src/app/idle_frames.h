// Rest when idle: the frame timer draws only while something on screen may change.
// Playback, a fade in the status layer, a drag, an autoscroll and recording move the
// picture by themselves; anything else changes it only through an event: input, a
// resize or expose, or a queued call (commands and tasks other threads post, which is
// how work finished elsewhere reaches the window). Each of those wakes the drawing
// for a few frames, enough for the steps a frame runs after drawing (the transport
// texts every second frame, the background's opacity steps) to reach the screen.
#pragma once

class QEvent;

namespace quillex {

// What moves on screen without any event.
struct FrameMotion {
    bool playing = false;
    bool fading = false;
    bool dragging = false;
    bool autoscrolling = false;
    bool any() const { return playing || fading || dragging || autoscrolling; }
};

class IdleFrames {
  public:
    // Frames drawn after the last change: the background's opacity takes 7 steps.
    static constexpr int kSettleFrames = 12;

    // Something changed: draw the next frames.
    void wake() { pending_ = kSettleFrames; }
    // Wakes for the events that may change what is drawn.
    void noteEvent(const QEvent& event);
    // Asked once per tick of the frame timer: true when this tick draws a frame.
    bool shouldDraw(const FrameMotion& motion) {
        if (motion.any())
            pending_ = kSettleFrames;
        if (pending_ == 0)
            return false;
        --pending_;
        return true;
    }

  private:
    int pending_ = kSettleFrames;
};

} // namespace quillex
