// Pictures made of lettering: the practice-mode judgement words, the hold judgements, the
// combo label and digits, and the snap markers with their numbers.
#pragma once

#include <QImage>

namespace art {

// Six rows of 28 pixels: Marvelous, Perfect, Great, Good, Boo, Miss.
QImage judgementPicture();

// Two rows of 28 pixels: OK (hold kept) and NG (hold let go).
QImage okNgPicture();

QImage comboLabelPicture();

// The digits 0..9 side by side in cells of 44 x 66.
QImage comboDigitsPicture();

// Snap markers in 32-pixel cells: the top row the snaps 4th .. 64th, the first cell of the
// bottom row a plain marker for the finer snaps (the program writes their number over it).
QImage snapMarkerPicture(bool enhanced);

} // namespace art
