// The column layout table, direction codes and receptor frames.
#include "view/column_layout.h"

#include <array>

#include "model/row_position.h"

namespace quillex {

namespace {

using Columns = std::array<int, kMaxColumns>;
using SizeColumns = std::array<Columns, 4>;

constexpr Columns evenlySpaced(int first, int step, int count) {
    Columns c{};
    for (int k = 0; k < count; ++k)
        c[k] = first + step * k;
    return c;
}

// Indexed by game type, then note size.
constexpr std::array<SizeColumns, kGameTypeCount> kLayout{{
    // dance single
    {{{295, 365, 435, 505}, {343, 381, 419, 457}, {370, 390, 410, 430}, {385, 395, 405, 415}}},
    // dance double
    {{evenlySpaced(155, 70, 8), evenlySpaced(267, 38, 8), evenlySpaced(330, 20, 8),
      evenlySpaced(365, 10, 8)}},
    // dance couple
    {{{145, 215, 285, 355, 445, 515, 585, 655},
      {257, 295, 333, 371, 429, 467, 505, 543},
      {320, 340, 360, 380, 420, 440, 460, 480},
      {355, 365, 375, 385, 415, 425, 435, 445}}},
    // dance solo
    {{{225, 295, 365, 435, 505, 575},
      {305, 343, 381, 419, 457, 495},
      {350, 370, 390, 410, 430, 450},
      {375, 385, 395, 405, 415, 425}}},
    // pump single
    {{{272, 336, 400, 464, 528},
      {336, 368, 400, 432, 464},
      {368, 384, 400, 416, 432},
      {384, 392, 400, 408, 416}}},
    // pump halfdouble
    {{{240, 304, 368, 432, 496, 560},
      {320, 352, 384, 416, 448, 480},
      {360, 376, 392, 408, 424, 440},
      {380, 388, 396, 404, 412, 420}}},
    // pump double
    {{evenlySpaced(112, 64, 10), evenlySpaced(256, 32, 10), evenlySpaced(328, 16, 10),
      evenlySpaced(364, 8, 10)}},
    // pump couple
    {{{96, 160, 224, 288, 352, 448, 512, 576, 640, 704},
      {248, 280, 312, 344, 376, 424, 456, 488, 520, 552},
      {324, 340, 356, 372, 388, 412, 428, 444, 460, 476},
      {362, 370, 378, 386, 394, 406, 414, 422, 430, 438}}},
}};

constexpr std::array<Columns, kGameTypeCount> kDirections{{
    {0, 1, 2, 3},
    {0, 1, 2, 3, 0, 1, 2, 3},
    {0, 1, 2, 3, 0, 1, 2, 3},
    {0, 4, 1, 2, 5, 3},
    {0, 1, 2, 3, 4},
    {2, 3, 4, 0, 1, 2},
    {0, 1, 2, 3, 4, 0, 1, 2, 3, 4},
    {0, 1, 2, 3, 4, 0, 1, 2, 3, 4},
}};

int validGameType(int gameTypeIndex) {
    return gameTypeIndex >= 0 && gameTypeIndex < kGameTypeCount ? gameTypeIndex : 0;
}

int validColumn(int gameTypeIndex, int column) {
    return column >= 0 && column < columnCount(gameTypeIndex) ? column : 0;
}

int validNoteSize(int noteSize) {
    return noteSize >= 0 && noteSize < 4 ? noteSize : 0;
}

} // namespace

int noteHalfSize(int noteSize) {
    return 32 >> validNoteSize(noteSize);
}

int columnX(int gameTypeIndex, int noteSize, int column) {
    const int type = validGameType(gameTypeIndex);
    return kLayout[type][validNoteSize(noteSize)][validColumn(type, column)];
}

int directionCode(int gameTypeIndex, int column) {
    const int type = validGameType(gameTypeIndex);
    return kDirections[type][validColumn(type, column)];
}

bool isPumpGameType(int gameTypeIndex) {
    return gameTypeIndex >= static_cast<int>(GameType::PumpSingle) &&
           gameTypeIndex < kGameTypeCount;
}

int receptorFrame(int subBeat) {
    if (subBeat < 16)
        return 0;
    if (subBeat < 28)
        return 1;
    if (subBeat < 36)
        return 2;
    return 3;
}

} // namespace quillex
