// Drawing helpers shared by the picture generators (see paint_kit.h).
#include "paint_kit.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QLinearGradient>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace art {

QImage blankPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    return picture;
}

QImage keyedPicture(int width, int height, QColor key) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(key);
    return picture;
}

bool savePicture(const QImage& picture, const QString& root, const QString& relativePath) {
    const QString path = root + "/" + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QImage out = picture.hasAlphaChannel() ? picture.convertToFormat(QImage::Format_ARGB32)
                                                 : picture.convertToFormat(QImage::Format_RGB888);
    if (!out.save(path, "PNG", 0)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

void paintCell(QImage& sheet, int cellWidth, int cellHeight, int cell,
               const std::function<void(QPainter&)>& draw) {
    const int perRow = sheet.width() / cellWidth;
    const int x = (cell % perRow) * cellWidth;
    const int y = (cell / perRow) * cellHeight;
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(x, y, cellWidth, cellHeight);
    painter.translate(x, y);
    draw(painter);
}

QColor shade(QColor colour, double factor) {
    auto channel = [factor](int value) {
        const double v = factor >= 1.0 ? value + (255 - value) * (factor - 1.0) : value * factor;
        return std::clamp(static_cast<int>(v + 0.5), 0, 255);
    };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()),
                  colour.alpha());
}

QColor mix(QColor a, QColor b, double amount) {
    auto channel = [amount](int x, int y) { return static_cast<int>(x + (y - x) * amount + 0.5); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()), channel(a.alpha(), b.alpha()));
}

void paintGlossyShape(QPainter& painter, const QPainterPath& shape, QColor colour,
                      double outlineWidth, QColor outline) {
    const QRectF box = shape.boundingRect();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (outlineWidth > 0) {
        QPen pen(outline, outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.strokePath(shape, pen);
    }
    QLinearGradient body(box.topLeft(), box.bottomLeft());
    body.setColorAt(0.0, shade(colour, 1.35));
    body.setColorAt(0.45, colour);
    body.setColorAt(1.0, shade(colour, 0.62));
    painter.fillPath(shape, body);

    // A soft sheen over the upper part, clipped to the shape.
    painter.setClipPath(shape, Qt::IntersectClip);
    QLinearGradient sheen(box.topLeft(), QPointF(box.left(), box.center().y()));
    sheen.setColorAt(0.0, QColor(255, 255, 255, 120));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.fillRect(QRectF(box.left(), box.top(), box.width(), box.height() / 2), sheen);
    painter.setClipping(false);
    painter.strokePath(shape, QPen(QColor(255, 255, 255, 70), 1.2));
    painter.restore();
}

namespace {

// One horizontal or vertical running-sum pass over premultiplied ARGB pixels.
void boxPass(QImage& picture, int radius, bool horizontal) {
    const int width = picture.width();
    const int height = picture.height();
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    std::vector<int> sums(4 * (length + 1));
    for (int line = 0; line < lines; ++line) {
        auto pixel = [&](int i) -> QRgb& {
            const int x = horizontal ? i : line;
            const int y = horizontal ? line : i;
            return reinterpret_cast<QRgb*>(picture.scanLine(y))[x];
        };
        std::fill(sums.begin(), sums.end(), 0);
        for (int i = 0; i < length; ++i) {
            const QRgb p = pixel(i);
            const int parts[4] = {qAlpha(p), qRed(p), qGreen(p), qBlue(p)};
            for (int c = 0; c < 4; ++c) {
                sums[4 * (i + 1) + c] = sums[4 * i + c] + parts[c];
            }
        }
        for (int i = 0; i < length; ++i) {
            const int low = std::max(0, i - radius);
            const int high = std::min(length, i + radius + 1);
            const int count = 2 * radius + 1;
            int out[4];
            for (int c = 0; c < 4; ++c) {
                out[c] = (sums[4 * high + c] - sums[4 * low + c]) / count;
            }
            pixel(i) = qRgba(out[1], out[2], out[3], out[0]);
        }
    }
}

} // namespace

QImage blurred(const QImage& picture, int radius) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(out, radius, true);
        boxPass(out, radius, false);
    }
    return out;
}

QImage glowPicture(const QPainterPath& shape, int size, QColor colour, int radius) {
    // A soft halo round the shape's edge, then the shape itself, lit and clearly outlined,
    // so the glow keeps the note's form instead of turning into a blob.
    QImage mask = blankPicture(size, size);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.strokePath(shape, QPen(colour, radius, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    QImage glow = blurred(mask, radius / 2 + 1);
    QPainter painter(&glow);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor inside = colour;
    inside.setAlpha(120);
    painter.fillPath(shape, inside);
    painter.strokePath(
        shape, QPen(QColor(255, 255, 255, 240), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    return glow;
}

QPainterPath fittedText(const QString& text, const QRectF& box, const QString& scaleReference) {
    QFont font("Liberation Sans");
    font.setBold(true);
    font.setPixelSize(100);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    QPainterPath reference;
    reference.addText(0, 0, font, scaleReference.isEmpty() ? text : scaleReference);
    const QRectF fitted = reference.boundingRect();
    const double scale = std::min(box.width() / fitted.width(), box.height() / fitted.height());
    QTransform fit;
    fit.translate(box.center().x(), box.center().y());
    fit.scale(scale, scale);
    fit.translate(-bounds.center().x(), -bounds.center().y());
    return fit.map(path);
}

} // namespace art
