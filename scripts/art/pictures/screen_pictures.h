// Pictures of the editor's screen furniture: the wallpaper, the splash, the hatched pause
// fill, the two dotted-line patterns and the autoscroll marker.
#pragma once

#include <QImage>

namespace art {

// 800 x 600, dark and quiet; opaque, with no pixel in the magenta key colour.
QImage wallpaperPicture();

// 256 x 80, the program's name over a small row of arrows.
QImage splashPicture();

// 8 x 8 diagonal hatching on the black key.
QImage crosshatchPicture();

// 8 x 1 dots on the magenta key: style 1 long dashes, style 2 short dots.
QImage dottedPicture(int style);

// 32 x 32 marker of the middle-button autoscroll.
QImage autoscrollPicture();

} // namespace art
