// The density graph beside the position bar, drawn offscreen and probed: bars as long
// as their measure's density, the densest measure marked, nothing where no notes are.
#include <gtest/gtest.h>

#include "render_fixture.h"

namespace quillex {
namespace {

struct DensityRender : FrameFixture {
    DensityRender() {
        transport.length = 44100 * 20;
        addBeats(40, 44100, 22050); // 120 BPM: a measure is two seconds
    }
    QColor drawnAt(int x, int y) {
        draw();
        return at(x, y);
    }
};

TEST_F(DensityRender, BarsFollowTheDensityAndThePeakIsMarked) {
    // Measure 1 (rows 192..383, the bar's rows 75..134): 16ths, 8 notes a second.
    for (int i = 0; i < 16; ++i)
        addNote(0, i % 4, 192 + 12 * i);
    // Measure 2 (rows 135..194): quarters, 2 a second, a quarter of the peak's length.
    for (int i = 0; i < 4; ++i)
        addNote(0, 0, 384 + 48 * i);
    store.refresh();
    const QColor empty = drawnAt(DensityGraph::kX + 2, 300);
    const QColor peak = drawnAt(DensityGraph::kX + 20, 100);
    const QColor bar = drawnAt(DensityGraph::kX + 3, 160);
    EXPECT_NE(peak, empty);
    EXPECT_NE(bar, empty);
    EXPECT_NE(peak, bar);
    EXPECT_EQ(drawnAt(DensityGraph::kX + 8, 160), empty); // 22 / 4 pixels long
    EXPECT_EQ(drawnAt(DensityGraph::kX + 3, 100), drawnAt(DensityGraph::kX + 20, 100));

    // An edit is drawn in the next frame: the quarters become the densest measure.
    for (int i = 0; i < 16; ++i)
        addNote(0, 1 + i % 3, 384 + 3 * i);
    store.refresh();
    EXPECT_EQ(drawnAt(DensityGraph::kX + 20, 160), peak);
    EXPECT_EQ(drawnAt(DensityGraph::kX + 20, 100), empty);
}

} // namespace
} // namespace quillex
