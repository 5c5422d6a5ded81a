// The screen layout the item store needs to give new items and the fixed regions
// their screen boxes. The view keeps it current; without a view the defaults of the
// program's default window apply.
#pragma once

#include <array>
#include <cmath>

#include "model/edit_item.h"
#include "model/game_type.h"

namespace quillex {

struct ItemGeometry {
    double playPosition = 0;   // sample at the cursor row
    double samplesPerRow = 512;
    int cursorRow = 100;
    int windowHeight = 600;
    int noteHalfSize = 32;     // half the edge of a note picture at the current note size
    int columnCount = 4;       // columns of the current level
    std::array<int, kMaxColumns> columnX{232, 296, 360, 424, 488, 552, 616, 680, 744, 808};
    ScreenBox positionBar{771, 0, 791, 598};

    // Screen row of a sample: time runs down the screen past the cursor row.
    int screenRowOfSample(double sample) const {
        return static_cast<int>(std::trunc((sample - playPosition) / samplesPerRow + cursorRow));
    }
    int columnCentre(int column) const {
        return column >= 0 && column < kMaxColumns ? columnX[column] : columnX[0];
    }
};

} // namespace quillex
