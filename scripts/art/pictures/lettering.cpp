// Judgement words, combo lettering and snap markers (see lettering.h).
#include "lettering.h"

#include "paint_kit.h"
#include "palette.h"

#include <QLinearGradient>

#include <array>

namespace art {

namespace {

struct WordStyle {
    QString text;
    QColor top;
    QColor bottom;
};

// Bold lettering with a vertical gradient and a dark outline round it.
void paintWord(QPainter& painter, const QPainterPath& word, QColor top, QColor bottom,
               double outlineWidth) {
    const QRectF box = word.boundingRect();
    painter.strokePath(word, QPen(QColor(8, 8, 16, 235), outlineWidth * 2, Qt::SolidLine,
                                  Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, top);
    fill.setColorAt(0.5, mix(top, bottom, 0.4));
    fill.setColorAt(1.0, bottom);
    painter.fillPath(word, fill);
}

QImage wordRows(int width, const std::vector<WordStyle>& words) {
    QImage picture = blankPicture(width, 28 * static_cast<int>(words.size()));
    for (size_t row = 0; row < words.size(); ++row) {
        const WordStyle& style = words[row];
        paintCell(picture, width, 28, static_cast<int>(row), [&](QPainter& painter) {
            const QPainterPath word = fittedText(style.text, QRectF(4, 3, width - 8, 22));
            paintWord(painter, word, style.top, style.bottom, 1.6);
        });
    }
    return picture;
}

} // namespace

QImage judgementPicture() {
    return wordRows(168, {
                             {"MARVELOUS", QColor(255, 255, 255), QColor(110, 215, 255)},
                             {"PERFECT", QColor(255, 250, 175), QColor(255, 180, 20)},
                             {"GREAT", QColor(205, 255, 170), QColor(50, 195, 55)},
                             {"GOOD", QColor(185, 235, 255), QColor(35, 130, 230)},
                             {"BOO", QColor(240, 200, 255), QColor(165, 75, 220)},
                             {"MISS", QColor(255, 175, 175), QColor(220, 25, 30)},
                         });
}

QImage okNgPicture() {
    return wordRows(62, {
                            {"OK", QColor(235, 255, 190), QColor(90, 205, 40)},
                            {"NG", QColor(255, 180, 170), QColor(215, 30, 30)},
                        });
}

QImage comboLabelPicture() {
    QImage picture = blankPicture(96, 32);
    paintCell(picture, 96, 32, 0, [](QPainter& painter) {
        paintWord(painter, fittedText("COMBO", QRectF(4, 5, 88, 22)), QColor(255, 255, 255),
                  QColor(255, 200, 70), 1.6);
    });
    return picture;
}

QImage comboDigitsPicture() {
    QImage picture = blankPicture(440, 66);
    for (int digit = 0; digit < 10; ++digit) {
        paintCell(picture, 44, 66, digit, [digit](QPainter& painter) {
            const QPainterPath glyph =
                fittedText(QString::number(digit), QRectF(4, 5, 36, 56), "0");
            paintWord(painter, glyph, QColor(255, 255, 255), QColor(255, 190, 60), 2.6);
        });
    }
    return picture;
}

QImage snapMarkerPicture(bool enhanced) {
    QImage picture = blankPicture(256, 64);
    for (int cell = 0; cell < 9; ++cell) {
        const bool fine = cell == 8;
        const QColor colour = fine ? QColor(90, 90, 100) : quantClass(cell).colour;
        paintCell(picture, 32, 32, cell, [&](QPainter& painter) {
            QPainterPath marker;
            if (enhanced) {
                marker.addEllipse(QPointF(16, 16), 12.5, 12.5);
            } else {
                marker.moveTo(16, 2.5);
                marker.lineTo(29.5, 16);
                marker.lineTo(16, 29.5);
                marker.lineTo(2.5, 16);
                marker.closeSubpath();
            }
            paintGlossyShape(painter, marker, colour, 1.4);
            if (enhanced) {
                painter.strokePath(QPainterPath(marker), QPen(QColor(255, 255, 255, 150), 1.0));
            }
            if (!fine) {
                const QString label = quantClass(cell).label;
                const double width = label.size() > 1 ? 17 : 9;
                const QPainterPath text = fittedText(label, QRectF(16 - width / 2, 10, width, 12),
                                                     label.size() > 1 ? "88" : "8");
                paintWord(painter, text, QColor(255, 255, 255), QColor(235, 235, 235), 1.3);
            }
        });
    }
    return picture;
}

} // namespace art
