// Note outlines (see shapes.h). Corners are rounded by growing a polygon with a round-joined
// stroke, so the polygons below are drawn a little inside their final extent.
#include "shapes.h"

#include <QPainterPathStroker>
#include <QPolygonF>
#include <QTransform>

#include <cmath>

namespace art {

namespace {

QPainterPath rounded(const QPolygonF& polygon, double radius) {
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    QPainterPathStroker stroker;
    stroker.setWidth(radius * 2);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setCapStyle(Qt::RoundCap);
    return path.united(stroker.createStroke(path)).simplified();
}

QPainterPath turned(const QPainterPath& shape, double degrees, double scale) {
    QTransform turn;
    turn.translate(cellSize / 2, cellSize / 2);
    turn.rotate(degrees);
    turn.scale(scale, scale);
    turn.translate(-cellSize / 2, -cellSize / 2);
    return turn.map(shape);
}

} // namespace

QPainterPath standardArrow() {
    return rounded(QPolygonF({{7, 32}, {31, 8}, {31, 21}, {57, 21}, {57, 43}, {31, 43}, {31, 56}}),
                   2.0);
}

QPainterPath dartArrow() {
    return rounded(QPolygonF({{7, 32}, {50, 8}, {40, 32}, {50, 56}}), 3.5);
}

QPainterPath diagonalOf(const QPainterPath& leftPointing) {
    return turned(leftPointing, 45.0, 0.84);
}

QPainterPath pumpCornerArrow() {
    const QPainterPath left = rounded(
        QPolygonF({{5, 32}, {30, 7}, {30, 23}, {61, 23}, {61, 41}, {30, 41}, {30, 57}}), 2.5);
    return turned(left, -45.0, 0.8);
}

QPainterPath pumpCentre() {
    QPainterPath square;
    square.addRoundedRect(QRectF(12, 12, 40, 40), 7, 7);
    return square;
}

QPainterPath spikedBall(double angle) {
    const double centre = cellSize / 2;
    QPolygonF star;
    const int spikes = 8;
    for (int i = 0; i < spikes * 2; ++i) {
        const double radius = (i % 2 == 0) ? 27.0 : 17.0;
        const double a = (angle + i * 180.0 / spikes) * M_PI / 180.0;
        star << QPointF(centre + radius * std::cos(a), centre + radius * std::sin(a));
    }
    QPainterPath ball = rounded(star, 1.0);
    QPainterPath core;
    core.addEllipse(QPointF(centre, centre), 19, 19);
    return ball.united(core);
}

QPainterPath liftCapsule() {
    QPainterPath capsule;
    capsule.addRoundedRect(QRectF(8, 21, 48, 22), 11, 11);
    return capsule;
}

QPainterPath scaledAboutCentre(const QPainterPath& shape, double factor) {
    const QPointF centre = shape.boundingRect().center();
    QTransform scale;
    scale.translate(centre.x(), centre.y());
    scale.scale(factor, factor);
    scale.translate(-centre.x(), -centre.y());
    return scale.map(shape);
}

} // namespace art
