// Tap notes, receptors, bursts, mines and lifts (see note_pictures.h).
#include "note_pictures.h"

#include "paint_kit.h"
#include "shapes.h"

#include <QRadialGradient>

#include <cmath>

namespace art {

namespace {

double pulse(double phase) {
    return 0.5 + 0.5 * std::cos(2 * M_PI * phase);
}

void paintEnhancedDetails(QPainter& painter, const QPainterPath& shape, QColor colour,
                          double phase) {
    painter.save();
    // A lighter inner dart gives the enhanced notes their depth.
    const QPainterPath inner = scaledAboutCentre(shape, 0.52);
    painter.fillPath(inner, mix(colour, Qt::white, 0.35 + 0.25 * pulse(phase)));
    painter.strokePath(inner, QPen(shade(colour, 0.55), 1.5));
    // A band of light sweeps across the note once per animation loop.
    painter.setClipPath(shape);
    const QRectF box = shape.boundingRect();
    const double x = box.left() - 20 + (box.width() + 40) * phase;
    QLinearGradient band(QPointF(x - 12, 0), QPointF(x + 12, 0));
    band.setColorAt(0.0, QColor(255, 255, 255, 0));
    band.setColorAt(0.5, QColor(255, 255, 255, 110));
    band.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.fillRect(box, band);
    painter.setClipping(false);
    // The rim glows brighter on the beat.
    painter.strokePath(shape, QPen(QColor(255, 255, 255, static_cast<int>(60 + 120 * pulse(phase))),
                                   1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.restore();
}

} // namespace

void paintTap(QPainter& painter, const QPainterPath& shape, QColor colour, double phase,
              TapLook look) {
    const double brightness = 0.9 + 0.1 * pulse(phase);
    const QColor tone = shade(colour, brightness);
    switch (look) {
    case TapLook::Standard:
        paintGlossyShape(painter, shape, tone, 2.6);
        break;
    case TapLook::Enhanced:
        paintGlossyShape(painter, shape, tone, 2.4, QColor(10, 10, 30));
        paintEnhancedDetails(painter, shape, colour, phase);
        break;
    case TapLook::Pump: {
        paintGlossyShape(painter, shape, tone, 3.0);
        const QPainterPath inner = scaledAboutCentre(shape, 0.62);
        painter.strokePath(inner, QPen(mix(tone, Qt::white, 0.55), 2.0, Qt::SolidLine, Qt::RoundCap,
                                       Qt::RoundJoin));
        break;
    }
    }
}

QImage tapSheet(const QPainterPath& shape, QColor colour, int across, int down, TapLook look) {
    QImage sheet = blankPicture(across * 64, down * 64);
    const int frames = across * down;
    for (int frame = 0; frame < frames; ++frame) {
        paintCell(sheet, 64, 64, frame, [&](QPainter& painter) {
            paintTap(painter, shape, colour, static_cast<double>(frame) / frames, look);
        });
    }
    return sheet;
}

QImage receptorStrip(const QPainterPath& shape, int frames) {
    QImage strip = blankPicture(frames * 64, 64);
    for (int frame = 0; frame < frames; ++frame) {
        // The flash is strongest on the beat and dies away over the following frames.
        const double flash =
            frames > 1 ? std::pow(1.0 - static_cast<double>(frame) / (frames - 1), 1.5) : 0.0;
        paintCell(strip, 64, 64, frame, [&](QPainter& painter) {
            const QColor rim = mix(QColor(150, 150, 162), QColor(255, 255, 255), flash);
            painter.strokePath(shape, QPen(QColor(10, 10, 14, 230), 6.0, Qt::SolidLine,
                                           Qt::RoundCap, Qt::RoundJoin));
            painter.fillPath(shape,
                             mix(QColor(28, 28, 36, 150), QColor(120, 120, 135, 190), flash));
            painter.strokePath(shape, QPen(rim, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            const QPainterPath inner = scaledAboutCentre(shape, 0.6);
            painter.strokePath(
                inner, QPen(shade(rim, 0.7), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        });
    }
    return strip;
}

QImage burstPicture(int size, QColor colour, int rays) {
    QImage burst = blankPicture(size, size);
    const QPointF centre(size / 2.0, size / 2.0);
    const double radius = size / 2.0;
    QPainter painter(&burst);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < rays; ++i) {
        const double a = 2 * M_PI * (i + 0.25) / rays;
        const double length = radius * (i % 2 == 0 ? 0.97 : 0.7);
        const double spread = 2 * M_PI / rays * 0.18;
        QPainterPath ray;
        ray.moveTo(centre);
        ray.lineTo(centre + QPointF(std::cos(a - spread), std::sin(a - spread)) * length * 0.4);
        ray.lineTo(centre + QPointF(std::cos(a), std::sin(a)) * length);
        ray.lineTo(centre + QPointF(std::cos(a + spread), std::sin(a + spread)) * length * 0.4);
        ray.closeSubpath();
        QRadialGradient fade(centre, length);
        fade.setColorAt(0.0, QColor(255, 255, 255, 230));
        fade.setColorAt(1.0, QColor(colour.red(), colour.green(), colour.blue(), 0));
        painter.fillPath(ray, fade);
    }
    QRadialGradient glow(centre, radius * 0.75);
    glow.setColorAt(0.0, QColor(255, 255, 255, 255));
    glow.setColorAt(0.3, QColor(colour.red(), colour.green(), colour.blue(), 200));
    glow.setColorAt(1.0, QColor(colour.red(), colour.green(), colour.blue(), 0));
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, radius * 0.75, radius * 0.75);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(colour.red(), colour.green(), colour.blue(), 150), size / 40.0));
    painter.drawEllipse(centre, radius * 0.58, radius * 0.58);
    return burst;
}

QImage mineSheet() {
    QImage sheet = blankPicture(256, 128);
    for (int cell = 0; cell < 8; ++cell) {
        const int frame = cell % 4;
        paintCell(sheet, 64, 64, cell, [&](QPainter& painter) {
            // Eight spikes repeat every 45 degrees, so four steps of 11.25 loop seamlessly.
            const QPainterPath ball = spikedBall(frame * 11.25);
            painter.strokePath(
                ball, QPen(QColor(0, 0, 0), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            QRadialGradient metal(QPointF(26, 24), 34);
            metal.setColorAt(0.0, QColor(110, 110, 118));
            metal.setColorAt(0.6, QColor(40, 38, 42));
            metal.setColorAt(1.0, QColor(12, 10, 12));
            painter.fillPath(ball, metal);
            // A red rim keeps the dark ball visible over the dark wallpaper.
            painter.strokePath(
                ball, QPen(QColor(215, 40, 35), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            const double beat = 1.0 - frame / 3.0;
            QRadialGradient core(QPointF(32, 32), 12);
            core.setColorAt(0.0, mix(QColor(255, 120, 90), QColor(255, 240, 200), beat));
            core.setColorAt(0.55, QColor(230, 20, 20));
            core.setColorAt(1.0, QColor(110, 0, 0));
            painter.setBrush(core);
            painter.setPen(QPen(QColor(20, 0, 0), 1.5));
            painter.drawEllipse(QPointF(32, 32), 10 + 1.5 * beat, 10 + 1.5 * beat);
            painter.setBrush(QColor(255, 255, 255, 150));
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(QPointF(24, 22), 3.5, 2.5);
        });
    }
    return sheet;
}

QImage liftSheet() {
    QImage sheet = blankPicture(256, 64);
    const QColor colour(190, 120, 255);
    for (int cell = 0; cell < 16; ++cell) {
        const double phase = (cell % 8) / 8.0;
        paintCell(sheet, 32, 32, cell, [&](QPainter& painter) {
            painter.scale(0.5, 0.5);
            const QPainterPath capsule = liftCapsule();
            paintGlossyShape(painter, capsule, shade(colour, 0.85 + 0.25 * pulse(phase)), 3.0);
            painter.strokePath(scaledAboutCentre(capsule, 0.7),
                               QPen(QColor(255, 255, 255, 200), 2.5));
        });
    }
    return sheet;
}

} // namespace art
