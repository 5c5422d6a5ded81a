// What the frame timer draws over a stopped editor: a change is drawn once, a fade
// only where it fades, and nothing while nothing moves.
#include <gtest/gtest.h>

#include "app/window/idle_frames.h"
#include "view/status_layer.h"

namespace quillex {
namespace {

struct Drawn {
    int whole = 0;
    int panels = 0;
};

// `ticks` ticks of the frame timer; a drawn frame steps the status fades every second
// frame, as the frame painter does.
Drawn tick(IdleFrames& idle, StatusLayer& status, int ticks, FrameMotion motion = {}) {
    Drawn drawn;
    for (int i = 0; i < ticks; ++i) {
        motion.panelsFading = status.fading();
        const FrameRequest request = idle.next(motion);
        if (request == FrameRequest::None)
            continue;
        ++(request == FrameRequest::Whole ? drawn.whole : drawn.panels);
        if ((drawn.whole + drawn.panels) % 2 == 0)
            status.fadeStep();
    }
    return drawn;
}

TEST(IdleFrames, AZoomStepDrawsOneWholeFrameThenOnlyTheFadingPanelThenRests) {
    IdleFrames idle;
    StatusLayer status;
    EXPECT_EQ(tick(idle, status, 10).whole, 1) << "the first frame";
    idle.wake(); // the zoom key
    status.light(StatusPanel::Zoom);
    const Drawn zoom = tick(idle, status, 1000);
    EXPECT_EQ(zoom.whole, 1);
    EXPECT_GT(zoom.panels, 0);
    const Drawn after = tick(idle, status, 100);
    EXPECT_EQ(after.whole + after.panels, 0);
}

TEST(IdleFrames, MotionDrawsEveryTickAndOnceMoreAfterItStops) {
    const FrameMotion motions[] = {
        {.playing = true}, {.dragging = true}, {.autoscrolling = true}, {.animating = true}};
    for (const FrameMotion& motion : motions) {
        IdleFrames idle;
        StatusLayer status;
        EXPECT_EQ(tick(idle, status, 30, motion).whole, 30);
        EXPECT_EQ(tick(idle, status, 30).whole, 1);
    }
}

} // namespace
} // namespace quillex
