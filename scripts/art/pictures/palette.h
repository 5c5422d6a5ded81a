// The colours of the pictures: one per quantisation class of a tap (the colours players
// know: 4th red, 8th blue, 12th purple, ...), the pump panel colours and the key colours.
#pragma once

#include <QColor>
#include <QString>

namespace art {

struct QuantClass {
    QString fileTag; // "04th" ... "192nd": the part of the picture's file name
    QString label;   // the number shown on a snap marker
    QColor colour;
};

constexpr int quantClassCount = 9;

// Class 0 (4th) .. 8 (192nd), in the order the arrow layer numbers them.
const QuantClass& quantClass(int index);

const QColor keyBlack(0, 0, 0);
const QColor keyMagenta(255, 0, 255);

// Pump panels: blue for the down corners, red for the up corners, yellow for the centre.
const QColor pumpDownColour(40, 110, 240);
const QColor pumpUpColour(225, 35, 45);
const QColor pumpCentreColour(250, 205, 30);

// Holds are green, rolls yellow-orange.
const QColor holdColour(70, 200, 80);
const QColor rollColour(255, 190, 30);
const QColor rollStripeColour(235, 110, 20);

const QColor receptorGrey(150, 150, 160);

} // namespace art
