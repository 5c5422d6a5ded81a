// The mouse scrolling arithmetic of the frame loop.
#include <gtest/gtest.h>

#include "app/session/shell_state.h"

namespace quillex {
namespace {

TEST(DragAutoscroll, DistanceOutsideTheEditorPerAxis) {
    const EditorScreenRect rect{100, 50, 900, 650};
    EXPECT_EQ(dragScrollDistance(rect, {500, 300}).y, 0);
    EXPECT_EQ(dragScrollDistance(rect, {500, 300}).x, 0);
    EXPECT_EQ(dragScrollDistance(rect, {90, 40}).x, -10);
    EXPECT_EQ(dragScrollDistance(rect, {90, 40}).y, -10);
    EXPECT_EQ(dragScrollDistance(rect, {905, 660}).x, 5);
    EXPECT_EQ(dragScrollDistance(rect, {905, 660}).y, 10);
}

TEST(MiddleAutoscroll, QuarterOfTheDistanceTruncatedTowardZero) {
    EXPECT_EQ(middleAutoscrollRows({0, 100}, {0, 103}), 0);
    EXPECT_EQ(middleAutoscrollRows({0, 100}, {0, 109}), 2);
    EXPECT_EQ(middleAutoscrollRows({0, 100}, {0, 91}), -2);
    EXPECT_EQ(middleAutoscrollRows({0, 100}, {0, 97}), 0);
}

} // namespace
} // namespace quillex
