// Small drawing helpers shared by every picture generator: sheets of frames, saving with
// a size check, colour shading, glossy filled shapes, blurring and fitted lettering.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <functional>

namespace art {

// A fully transparent ARGB picture.
QImage blankPicture(int width, int height);

// An opaque picture filled with a colour key, for the pictures the program loads with a key.
QImage keyedPicture(int width, int height, QColor key);

// Writes the picture as PNG under root/relativePath, creating folders. Opaque pictures
// are written without an alpha channel. Returns false (and says why) on failure.
bool savePicture(const QImage& picture, const QString& root, const QString& relativePath);

// Runs draw with a painter whose origin is the top-left corner of one cell of a sheet
// cut into cells of cellWidth x cellHeight, numbered row by row.
void paintCell(QImage& sheet, int cellWidth, int cellHeight, int cell,
               const std::function<void(QPainter&)>& draw);

// Lighter (factor > 1) or darker (factor < 1) version of a colour, keeping its alpha.
QColor shade(QColor colour, double factor);

// Mixes two colours: amount 0 gives a, 1 gives b.
QColor mix(QColor a, QColor b, double amount);

// Fills a shape with a top-to-bottom gradient of its colour (light top, darker bottom),
// a soft highlight on its upper half and a dark outline drawn outside the fill.
void paintGlossyShape(QPainter& painter, const QPainterPath& shape, QColor colour,
                      double outlineWidth, QColor outline = QColor(16, 16, 24));

// Box blur of a picture (three passes approximate a Gaussian of that radius).
QImage blurred(const QImage& picture, int radius);

// A glow: the shape filled white, blurred, then the shape itself drawn lightly on top,
// in a picture of the given size.
QImage glowPicture(const QPainterPath& shape, int size, QColor colour, int radius);

// The outline of a text in bold sans lettering, scaled to fit a box and centred in it.
// With a scale reference, the scale is the one that fits the reference text instead, so
// that several texts (the digits 0..9) come out the same size.
QPainterPath fittedText(const QString& text, const QRectF& box,
                        const QString& scaleReference = QString());

} // namespace art
