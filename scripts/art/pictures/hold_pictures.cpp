// Hold and roll bodies and caps (see hold_pictures.h).
#include "hold_pictures.h"

#include "paint_kit.h"
#include "palette.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace art {

namespace {

QColor withAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

// Horizontal extent of a body inside its frame: about two thirds of the note's width.
struct BodyEdges {
    double left;
    double right;
};

BodyEdges edgesFor(int frameWidth) {
    return {frameWidth * 0.17, frameWidth * 0.83};
}

// Fills the body area (already set as the painter's clip) with the look's colouring.
void paintBodyFill(QPainter& painter, const BodyEdges& edges, int height, QColor colour,
                   BodyLook look) {
    QLinearGradient across(QPointF(edges.left, 0), QPointF(edges.right, 0));
    across.setColorAt(0.0, shade(colour, 0.45));
    across.setColorAt(0.5, shade(colour, 1.25));
    across.setColorAt(1.0, shade(colour, 0.45));
    painter.fillRect(QRectF(edges.left, 0, edges.right - edges.left, height), across);
    const double width = edges.right - edges.left;
    if (look == BodyLook::Striped) {
        // Slanted stripes with a period of 32 rows, so they tile in any height that is a
        // multiple of 32.
        for (int start = -64; start < height + 64; start += 32) {
            QPainterPath stripe;
            stripe.moveTo(edges.left, start);
            stripe.lineTo(edges.left, start + 13);
            stripe.lineTo(edges.right, start + 13 + width * 0.6);
            stripe.lineTo(edges.right, start + width * 0.6);
            stripe.closeSubpath();
            painter.fillPath(stripe, withAlpha(rollStripeColour, 224));
        }
    } else if (look == BodyLook::Enhanced) {
        // A bright core with a gentle wave: two whole waves per picture height, so it tiles.
        QPainterPath core;
        const double centre = (edges.left + edges.right) / 2;
        for (int y = 0; y <= height; ++y) {
            const double x = centre + width * 0.16 * std::sin(2 * M_PI * y / height * 2);
            y == 0 ? core.moveTo(x, y) : core.lineTo(x, y);
        }
        painter.strokePath(core, QPen(QColor(255, 255, 255, 110), width * 0.22));
        painter.strokePath(core, QPen(QColor(255, 255, 255, 200), width * 0.07));
    } else {
        QLinearGradient shine(QPointF(edges.left, 0), QPointF(edges.right, 0));
        shine.setColorAt(0.25, QColor(255, 255, 255, 0));
        shine.setColorAt(0.38, QColor(255, 255, 255, 90));
        shine.setColorAt(0.5, QColor(255, 255, 255, 0));
        painter.fillRect(QRectF(edges.left, 0, width, height), shine);
    }
}

// The outline of a body running from top to bottom, closed by a round cap at one end.
QPainterPath bodyOutline(const BodyEdges& edges, double top, double bottom, bool capAtBottom,
                         bool capAtTop) {
    const double radius = (edges.right - edges.left) / 2;
    QPainterPath path;
    const QRectF box(edges.left, top, edges.right - edges.left, bottom - top);
    if (capAtBottom || capAtTop) {
        path.addRoundedRect(box, radius, radius);
        // Square off the end that runs on into the body.
        const QRectF square = capAtBottom
                                  ? QRectF(box.left(), top, box.width(), radius)
                                  : QRectF(box.left(), bottom - radius, box.width(), radius);
        QPainterPath end;
        end.addRect(square);
        path = path.united(end);
    } else {
        path.addRect(box);
    }
    return path;
}

void paintBodyFrame(QPainter& painter, int frameWidth, int height, QColor colour, BodyLook look,
                    double top, double bottom, bool capAtBottom, bool capAtTop) {
    const BodyEdges edges = edgesFor(frameWidth);
    const QPainterPath outline = bodyOutline(edges, top, bottom, capAtBottom, capAtTop);
    painter.save();
    painter.setClipPath(outline, Qt::IntersectClip);
    paintBodyFill(painter, edges, height, colour, look);
    painter.restore();
    // Dark edges down both sides and round the cap. A capped piece is laid out so that its
    // open end lies outside the picture, so no line crosses where it joins the body.
    const QPen edgePen(QColor(10, 20, 10, 230), 2.0);
    if (capAtBottom || capAtTop) {
        painter.strokePath(outline, edgePen);
        return;
    }
    QPainterPath sides;
    sides.moveTo(edges.left, top);
    sides.lineTo(edges.left, bottom);
    sides.moveTo(edges.right, top);
    sides.lineTo(edges.right, bottom);
    painter.strokePath(sides, edgePen);
}

} // namespace

QImage bodySheet(int frameWidth, int height, int frameCount, QColor colour, BodyLook look) {
    QImage sheet = blankPicture(frameWidth * frameCount, height);
    for (int frame = 0; frame < frameCount; ++frame) {
        paintCell(sheet, frameWidth, height, frame, [&](QPainter& painter) {
            paintBodyFrame(painter, frameWidth, height, colour, look, 0, height, false, false);
        });
    }
    return sheet;
}

QImage tailSheet(int frameWidth, int height, int frameCount, QColor colour, BodyLook look) {
    QImage sheet = blankPicture(frameWidth * frameCount, height);
    for (int frame = 0; frame < frameCount; ++frame) {
        paintCell(sheet, frameWidth, height, frame, [&](QPainter& painter) {
            // The program draws a tail at its picture's proportions, centred half a note
            // below the hold's end, so the top height / 2 - width / 4 rows would cover the
            // end of the body: they stay empty and the tail starts where the body stops.
            const int gap = std::max(0, height / 2 - frameWidth / 4);
            painter.setClipRect(QRect(0, gap, frameWidth, height - gap), Qt::IntersectClip);
            // The outline extends above the picture so that its top edge is open.
            paintBodyFrame(painter, frameWidth, height, colour, look, -height, height - 2, true,
                           false);
        });
    }
    return sheet;
}

QImage rollHeadPicture(int width, int height) {
    QImage picture = blankPicture(width, height);
    paintCell(picture, width, height, 0, [&](QPainter& painter) {
        paintBodyFrame(painter, width, height, rollColour, BodyLook::Striped, 2, 2 * height, false,
                       true);
    });
    return picture;
}

} // namespace art
