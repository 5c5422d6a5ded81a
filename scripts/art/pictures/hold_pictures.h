// Hold and roll pictures: bodies that tile down the screen and the caps that end them.
// A sheet holds identical frames side by side, one per direction, so any frame serves.
#pragma once

#include <QColor>
#include <QImage>

namespace art {

enum class BodyLook { Plain, Enhanced, Striped };

// A sheet of frameCount body frames of frameWidth x height. Bodies repeat seamlessly
// top to bottom.
QImage bodySheet(int frameWidth, int height, int frameCount, QColor colour, BodyLook look);

// A sheet of tail frames: the body coming in from the top and ending in a round cap.
// The top height / 2 - frameWidth / 4 rows stay empty (see the drawing code).
QImage tailSheet(int frameWidth, int height, int frameCount, QColor colour, BodyLook look);

// The roll head: a round cap at the top with the body running on below.
QImage rollHeadPicture(int width, int height);

} // namespace art
