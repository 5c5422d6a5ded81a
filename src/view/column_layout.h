// Where the arrow layer puts things: the centre x of every column for each game type
// and note size, the note half-size, the direction each column's arrow points, and
// the receptor animation frame that follows the beat.
#pragma once

#include "model/game_type.h"
#include "model/row_position.h"

namespace quillex {

// Half the edge of a note picture at note sizes 0..3: 32, 16, 8, 4.
int noteHalfSize(int noteSize);

// Centre x of a column; columns outside the game type's range give the first column.
int columnX(int gameTypeIndex, int noteSize, int column);

// The direction code of a column's arrow. Dance: 0..3 the four turns of one picture
// (left, down, up, right), 4 and 5 the two diagonals of the solo layout. Pump: 0 down
// left, 1 up left, 2 centre, 3 up right, 4 down right.
int directionCode(int gameTypeIndex, int column);

bool isPumpGameType(int gameTypeIndex);

// The receptor frame for the play position's row within its beat (0..47).
int receptorFrame(int subBeatRow);

// The sub-beat row (0..47) of any row, also for rows before the grid.
constexpr int subBeatRow(int row) {
    return ((row % kRowsPerBeat) + kRowsPerBeat) % kRowsPerBeat;
}

} // namespace quillex
