// The view's arithmetic: rows and visible range, zoom and note-size rules, the column
// layout, direction codes, receptor frames and quantisation classes, the position bar.
#include <gtest/gtest.h>

#include "model/edit_item.h"
#include "view/column_layout.h"
#include "view/position_bar.h"
#include "view/view_geometry.h"

namespace quillex {
namespace {

ViewGeometry viewAt(double position, double samplesPerRow = 512) {
    ViewGeometry g;
    g.position = position;
    g.samplesPerRow = samplesPerRow;
    g.cursorRow = 100;
    g.width = 800;
    g.height = 600;
    return g;
}

TEST(ViewGeometry, MapsSamplesToRowsAroundTheCursorRow) {
    const ViewGeometry g = viewAt(100000);
    EXPECT_EQ(g.rowOfSample(100000), 100);
    EXPECT_EQ(g.rowOfSample(100000 + 512 * 10 + 511), 110);
    EXPECT_EQ(g.rowOfSample(100000 - 512 * 100), 0);
    EXPECT_DOUBLE_EQ(g.sampleOfRow(250), 100000 + 150 * 512);
    EXPECT_EQ(g.rowOfSample(g.sampleOfRow(37)), 37);
}

TEST(ViewGeometry, VisibleRangeIsOpenAtBothEnds) {
    const ViewGeometry g = viewAt(100000);
    const double first = 100000 - 512.0 * 100;
    EXPECT_DOUBLE_EQ(g.visibleBegin(), first);
    EXPECT_DOUBLE_EQ(g.visibleEnd(), first + 512.0 * 600);
    // Exactly b × cursorRow before the position is row 0 but not strictly inside.
    EXPECT_EQ(g.rowOfSample(first), 0);
    EXPECT_FALSE(g.inView(first));
    EXPECT_TRUE(g.inView(first + 1));
    EXPECT_FALSE(g.inView(first + 512.0 * 600));
    EXPECT_TRUE(g.inView(first + 512.0 * 600 - 1));
}

TEST(ViewGeometry, ZoomStaysWithinItsLevels) {
    EXPECT_EQ(zoomLevelAfter(ZoomCommand::In, 1), 1);
    EXPECT_EQ(zoomLevelAfter(ZoomCommand::In, 10), 9);
    EXPECT_EQ(zoomLevelAfter(ZoomCommand::Out, 13), 13);
    EXPECT_EQ(zoomLevelAfter(ZoomCommand::Out, 10), 11);
    EXPECT_EQ(zoomLevelAfter(ZoomCommand::InFull, 7), 1);
    EXPECT_EQ(zoomLevelAfter(ZoomCommand::OutFull, 7), 13);
}

TEST(ViewGeometry, NoteSizeFollowsZoomUnlessSetByHand) {
    EXPECT_EQ(noteSizeAfterZoom({0, false}, 1), (NoteSizeSetting{1, false}));
    EXPECT_EQ(noteSizeAfterZoom({2, true}, 0), (NoteSizeSetting{2, true}));
    // Smaller and Larger walk the sizes and fall back to Auto at either end.
    EXPECT_EQ(noteSizeAfter(NoteSizeCommand::Smaller, {0, false}, 0), (NoteSizeSetting{1, true}));
    EXPECT_EQ(noteSizeAfter(NoteSizeCommand::Smaller, {3, true}, 1), (NoteSizeSetting{1, false}));
    EXPECT_EQ(noteSizeAfter(NoteSizeCommand::Larger, {2, true}, 0), (NoteSizeSetting{1, true}));
    EXPECT_EQ(noteSizeAfter(NoteSizeCommand::Larger, {0, true}, 2), (NoteSizeSetting{2, false}));
    EXPECT_EQ(noteSizeAfter(NoteSizeCommand::Auto, {3, true}, 0), (NoteSizeSetting{0, false}));
}

TEST(ViewGeometry, ScrollingCursorStepsOneRowTowardHome) {
    EXPECT_EQ(cursorRowStepTowardHome(100, 300), 101);
    EXPECT_EQ(cursorRowStepTowardHome(301, 300), 300);
    EXPECT_EQ(cursorRowStepTowardHome(300, 300), 300);
}

TEST(ColumnLayout, ColumnsOfEveryGameTypeAndSize) {
    EXPECT_EQ(columnX(0, 0, 1) - columnX(0, 0, 0), 70);
    EXPECT_EQ(columnX(0, 3, 1) - columnX(0, 3, 0), 10);
    EXPECT_EQ(columnX(1, 0, 7), 155 + 70 * 7);
    EXPECT_EQ(columnX(1, 3, 7), 365 + 10 * 7);
    EXPECT_EQ(columnX(2, 1, 4), 429);
    EXPECT_EQ(columnX(3, 2, 5), 450);
    EXPECT_EQ(columnX(4, 0, 4), 528);
    EXPECT_EQ(columnX(5, 3, 0), 380);
    EXPECT_EQ(columnX(6, 2, 9), 328 + 16 * 9);
    EXPECT_EQ(columnX(7, 0, 9), 704);
    // Every column of every layout lies on the editor and in increasing order.
    for (int type = 0; type < kGameTypeCount; ++type)
        for (int size = 0; size < 4; ++size)
            for (int c = 1; c < columnCount(type); ++c) {
                EXPECT_GT(columnX(type, size, c), columnX(type, size, c - 1));
                EXPECT_LT(columnX(type, size, c), 760);
            }
    // Out-of-range columns fall back to the first.
    EXPECT_EQ(columnX(0, 0, 4), 295);
    EXPECT_EQ(noteHalfSize(0), 32);
    EXPECT_EQ(noteHalfSize(3), 4);
}

TEST(ColumnLayout, DirectionCodesPerGameType) {
    const int solo[] = {0, 4, 1, 2, 5, 3};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(directionCode(3, c), solo[c]);
    const int halfDouble[] = {2, 3, 4, 0, 1, 2};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(directionCode(5, c), halfDouble[c]);
    EXPECT_EQ(directionCode(1, 5), 1);
    EXPECT_EQ(directionCode(7, 9), 4);
    EXPECT_FALSE(isPumpGameType(3));
    EXPECT_TRUE(isPumpGameType(4));
}

TEST(ColumnLayout, ReceptorFramesAndQuantisationClasses) {
    EXPECT_EQ(receptorFrame(0), 0);
    EXPECT_EQ(receptorFrame(15), 0);
    EXPECT_EQ(receptorFrame(16), 1);
    EXPECT_EQ(receptorFrame(28), 2);
    EXPECT_EQ(receptorFrame(35), 2);
    EXPECT_EQ(receptorFrame(47), 3);
    EXPECT_EQ(subBeatRow(-1), 47);
    // No 96th class: sub-beat 2 is a 192nd, 18 a 32nd.
    EXPECT_EQ(divisionClassOfFraction(2), 8);
    EXPECT_EQ(divisionClassOfFraction(18), 5);
    EXPECT_EQ(divisionClassOfFraction(24), 1);
    EXPECT_EQ(divisionClassOfFraction(9), 7);
}

TEST(PositionBar, MarkerAndClicks) {
    PositionBar bar;
    bar.setRange(0, 1000);
    EXPECT_EQ(bar.markerRow(0, 600), 1);
    EXPECT_EQ(bar.markerRow(500, 600), 1 + 298);
    // The top inner row seeks to 0; the bar spans rows 1..height-3.
    EXPECT_EQ(bar.click(780, 1, 600, 44100), std::optional<SamplePosition>(0));
    EXPECT_EQ(bar.click(780, 299, 600, 1000), std::optional<SamplePosition>(298 * 1000 / 596));
    // Outside the bar and while disabled, a click seeks nowhere.
    EXPECT_EQ(bar.click(771, 50, 600, 1000), std::nullopt);
    EXPECT_EQ(bar.click(780, 598, 600, 1000), std::nullopt);
    bar.setEnabled(false);
    EXPECT_EQ(bar.click(780, 50, 600, 1000), std::nullopt);
}

} // namespace
} // namespace quillex
