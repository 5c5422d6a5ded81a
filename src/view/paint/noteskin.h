// Which picture and which cell of it the arrow layer draws for each part of a note,
// by game type, noteskin and the column's direction code.
//
// Frame layouts: dance strips are four 64-pixel frames side by side (receptor frames
// follow the beat; taps use the first); enhanced taps are 4 × 4 frames of 64 pixels;
// pump taps are six 64-pixel frames and pump receptors two; mines are four 64-pixel
// frames in the top row, lifts eight 32-pixel frames in the top row; snap markers are
// 32-pixel cells. Dance pictures point left and are turned for the other directions;
// the diagonal pictures point up-left; pump corner pictures point down-left.
#pragma once

#include <QRect>

#include "view/paint/picture_table.h"
#include "view/paint/sprite_cache.h"

namespace quillex {

struct SkinPart {
    PictureId picture = PictureId::DanceTap04;
    QRect cell;
    Turn turn = Turn::None;
};

class Noteskin {
  public:
    Noteskin(int gameType, bool enhanced) : gameType_(gameType), enhanced_(enhanced) {}

    // The receptor of a column for a receptor frame 0..3.
    SkinPart receptor(int directionCode, int frame) const;
    // A tap of a quantisation class; `animation` counts 0..15 with the beat.
    SkinPart tap(int directionCode, int divisionClass, int animation) const;
    // The repeating body and the tail of a hold (or of a roll).
    SkinPart holdBody(int directionCode, bool roll) const;
    SkinPart holdTail(int directionCode, bool roll) const;
    // The glow over a column's receptor and the explosion of a hold kept to its end.
    SkinPart glow(int directionCode) const;
    SkinPart freezeOkExplosion(int directionCode) const;
    // Mines (frame 0..3) and lifts (frame 0..7).
    static SkinPart mine(int frame);
    static SkinPart lift(int frame);
    // The snap marker of a snap index 1..10.
    SkinPart snapMarker(int snapIndex) const;

  private:
    bool pump() const;
    bool diagonal(int directionCode) const { return !pump() && directionCode >= 4; }
    Turn danceTurn(int directionCode) const;
    Turn pumpTurn(int directionCode) const;
    // Pump shapes: 0 down-left (codes 0, 4), 1 up-left (1, 3), 2 centre; the offset
    // of the shape's picture from the down-left one in each pump picture group.
    static int pumpShape(int directionCode);

    int gameType_;
    bool enhanced_;
};

} // namespace quillex
