// Wallpaper, splash, hatching, dotted lines and the autoscroll marker (see screen_pictures.h).
#include "screen_pictures.h"

#include "note_pictures.h"
#include "paint_kit.h"
#include "palette.h"
#include "shapes.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace art {

QImage wallpaperPicture() {
    QImage picture = keyedPicture(800, 600, QColor(12, 14, 24));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(QPointF(0, 0), QPointF(0, 600));
    sky.setColorAt(0.0, QColor(22, 26, 44));
    sky.setColorAt(1.0, QColor(8, 9, 16));
    painter.fillRect(picture.rect(), sky);
    // Faint diagonal hairlines give the dark a little texture without drawing the eye.
    painter.setPen(QPen(QColor(255, 255, 255, 7), 1.0));
    for (int x = -600; x < 800; x += 24) {
        painter.drawLine(QPointF(x, 0), QPointF(x + 600, 600));
    }
    QRadialGradient vignette(QPointF(400, 300), 520);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(0, 0, 0, 120));
    painter.fillRect(picture.rect(), vignette);
    return picture;
}

QImage splashPicture() {
    QImage picture = blankPicture(256, 80);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(QPointF(0, 0), QPointF(256, 80));
    back.setColorAt(0.0, QColor(28, 36, 92));
    back.setColorAt(1.0, QColor(74, 26, 104));
    painter.fillRect(picture.rect(), back);
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1.0));
    painter.drawRect(QRectF(0.5, 0.5, 255, 79));

    // Four small arrows (left, down, up, right) in the colours of the first four snaps.
    const QPainterPath arrow = standardArrow();
    const int turns[4] = {0, 270, 90, 180};
    for (int i = 0; i < 4; ++i) {
        painter.save();
        painter.translate(14 + i * 22, 40);
        painter.scale(0.3, 0.3);
        painter.rotate(turns[i]);
        painter.translate(-32, -32);
        paintTap(painter, arrow, quantClass(i).colour, 0.0, TapLook::Standard);
        painter.restore();
    }
    const QPainterPath title = fittedText("quillex", QRectF(104, 12, 142, 40));
    painter.strokePath(
        title, QPen(QColor(10, 10, 30, 220), 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient letters(QPointF(0, 12), QPointF(0, 52));
    letters.setColorAt(0.0, QColor(255, 255, 255));
    letters.setColorAt(1.0, QColor(170, 210, 255));
    painter.fillPath(title, letters);
    painter.fillPath(fittedText("step chart editor", QRectF(108, 58, 134, 12)),
                     QColor(210, 215, 240));
    return picture;
}

QImage crosshatchPicture() {
    QImage picture = keyedPicture(8, 8, keyBlack);
    for (int i = 0; i < 8; ++i) {
        picture.setPixelColor(i, i, QColor(200, 70, 70));
        picture.setPixelColor(7 - i, i, QColor(200, 70, 70));
    }
    return picture;
}

QImage dottedPicture(int style) {
    QImage picture = keyedPicture(8, 1, keyMagenta);
    const int on = style == 1 ? 4 : 2;
    for (int x = 0; x < 8; ++x) {
        if ((x / on) % 2 == 0) {
            picture.setPixelColor(x, 0, QColor(255, 255, 255));
        }
    }
    return picture;
}

QImage autoscrollPicture() {
    QImage picture = blankPicture(32, 32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 20, 28, 230), 3.0));
    painter.setBrush(QColor(235, 235, 240, 200));
    painter.drawEllipse(QPointF(16, 16), 13.5, 13.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 30, 40));
    painter.drawPolygon(QPolygonF({{16, 5}, {21, 11}, {11, 11}}));
    painter.drawPolygon(QPolygonF({{16, 27}, {21, 21}, {11, 21}}));
    painter.drawEllipse(QPointF(16, 16), 2.5, 2.5);
    return picture;
}

} // namespace art
