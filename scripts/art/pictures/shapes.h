// The outlines of the notes, drawn in a 64 x 64 cell. Dance arrows point left (direction 0;
// the program turns them for the other columns), the diagonal ones up-left, pump corner
// arrows down-left.
#pragma once

#include <QPainterPath>

namespace art {

constexpr double cellSize = 64.0;

// The standard dance arrow: a head and a stem.
QPainterPath standardArrow();

// The enhanced dance arrow: a notched dart without a stem.
QPainterPath dartArrow();

// A left-pointing shape turned a quarter turn clockwise about the cell centre (to point
// up-left) and shrunk so that it still fits the cell.
QPainterPath diagonalOf(const QPainterPath& leftPointing);

// The pump corner arrow (down-left) and the pump centre panel.
QPainterPath pumpCornerArrow();
QPainterPath pumpCentre();

// A round ball with eight spikes, turned by the given angle in degrees.
QPainterPath spikedBall(double angle);

// The lift: a flat capsule across the cell.
QPainterPath liftCapsule();

// A shape scaled about its own centre (used for inner details and highlights).
QPainterPath scaledAboutCentre(const QPainterPath& shape, double factor);

} // namespace art
