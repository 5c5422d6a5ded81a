// Pictures of single notes and their effects: tap notes in three looks, receptors, glows,
// bursts, the mine and the lift. Hold and roll pictures are in hold_pictures.h.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace art {

enum class TapLook { Standard, Enhanced, Pump };

// One frame of a tap note in a 64 x 64 cell. phase (0..1) runs once round the animation;
// phase 0 is the brightest frame.
void paintTap(QPainter& painter, const QPainterPath& shape, QColor colour, double phase,
              TapLook look);

// A strip or grid of tap frames: frames across, rows down, 64-pixel cells.
QImage tapSheet(const QPainterPath& shape, QColor colour, int across, int down, TapLook look);

// A receptor: a grey outline of the shape. flash 1 is the frame on the beat, 0 the resting
// frame. frames receptor frames across a strip of 64-pixel cells, flash falling along it.
QImage receptorStrip(const QPainterPath& shape, int frames);

// A burst of light of the given size: a bright centre, rays and a ring in the colour.
QImage burstPicture(int size, QColor colour, int rays);

// The mine: 4 x 2 cells of 64 pixels, a spiked ball turning and its core pulsing with the beat.
QImage mineSheet();

// The lift: 8 x 2 cells of 32 pixels (both rows the same), frames 0..7 of one beat.
QImage liftSheet();

} // namespace art
