// Which picture, cell and turn each noteskin gives for receptors, taps, holds, mines,
// lifts and snap markers.
#include <gtest/gtest.h>

#include "view/paint/noteskin.h"

namespace quillex {
namespace {

constexpr int kDanceSingle = 0, kDanceSolo = 3, kPumpSingle = 4;

TEST(Noteskin, DanceTurnsOnePictureAndUsesTheDiagonalSet) {
    const Noteskin skin(kDanceSingle, false);
    EXPECT_EQ(skin.tap(0, 0, 5).turn, Turn::None);
    EXPECT_EQ(skin.tap(1, 0, 5).turn, Turn::CounterClockwise);
    EXPECT_EQ(skin.tap(2, 0, 5).turn, Turn::Clockwise);
    EXPECT_EQ(skin.tap(3, 0, 5).turn, Turn::HalfTurn);
    EXPECT_EQ(skin.tap(0, 5, 0).picture, pictureAt(PictureId::DanceTap04, 5));
    EXPECT_EQ(skin.receptor(0, 2).cell, QRect(128, 0, 64, 64));

    const Noteskin solo(kDanceSolo, false);
    EXPECT_EQ(solo.tap(4, 8, 0).picture, pictureAt(PictureId::DiagonalTap04, 8));
    EXPECT_EQ(solo.tap(5, 8, 0).turn, Turn::Clockwise);
    EXPECT_EQ(solo.receptor(4, 0).picture, PictureId::DiagonalReceptor);
    EXPECT_EQ(solo.holdBody(5, false).picture, PictureId::DiagonalFreezeBody);
    EXPECT_EQ(solo.holdBody(5, true).picture, PictureId::RollBody);
}

TEST(Noteskin, EnhancedTapsAnimateOverAFourByFourGrid) {
    const Noteskin skin(kDanceSingle, true);
    // Frame (counter + 11) mod 16: counter 0 is frame 11, row 2, column 3.
    EXPECT_EQ(skin.tap(0, 0, 0).cell, QRect(192, 128, 64, 64));
    EXPECT_EQ(skin.tap(0, 0, 5).cell, QRect(0, 0, 64, 64));
    EXPECT_EQ(skin.receptor(0, 0).picture, PictureId::EnhancedReceptor);
    EXPECT_EQ(skin.snapMarker(3).picture, PictureId::EnhancedSnapBase);
}

TEST(Noteskin, PumpShapesAndMirrors) {
    const Noteskin skin(kPumpSingle, false);
    EXPECT_EQ(skin.tap(0, 3, 0).picture, PictureId::PumpNoteDownLeft);
    EXPECT_EQ(skin.tap(4, 3, 0).picture, PictureId::PumpNoteDownLeft);
    EXPECT_EQ(skin.tap(4, 3, 0).turn, Turn::MirrorX);
    EXPECT_EQ(skin.tap(3, 3, 0).picture, PictureId::PumpNoteUpLeft);
    EXPECT_EQ(skin.tap(3, 3, 0).turn, Turn::MirrorX);
    EXPECT_EQ(skin.tap(2, 3, 0).picture, PictureId::PumpNoteCenter);
    EXPECT_EQ(skin.receptor(2, 0).picture, PictureId::PumpCenterReceptor);
    EXPECT_EQ(skin.receptor(1, 3).turn, Turn::MirrorY);
    EXPECT_EQ(skin.receptor(1, 3).cell, QRect(64, 0, 64, 64));
    EXPECT_EQ(skin.holdTail(1, false).picture, PictureId::PumpFreezeTailUpLeft);
    // Pump has no snap picture of its own.
    EXPECT_EQ(skin.snapMarker(1).picture, PictureId::DanceSnapBase);
}

TEST(Noteskin, MinesLiftsAndSnapCells) {
    EXPECT_EQ(Noteskin::mine(3).cell, QRect(192, 0, 64, 64));
    EXPECT_EQ(Noteskin::lift(7).cell, QRect(224, 0, 32, 32));
    const Noteskin skin(kDanceSingle, false);
    EXPECT_EQ(skin.snapMarker(1).cell, QRect(0, 0, 32, 32));
    EXPECT_EQ(skin.snapMarker(8).cell, QRect(224, 0, 32, 32));
    EXPECT_EQ(skin.snapMarker(9).cell, QRect(0, 32, 32, 32));
    EXPECT_EQ(skin.snapMarker(10).cell, QRect(0, 32, 32, 32));
}

} // namespace
} // namespace quillex
