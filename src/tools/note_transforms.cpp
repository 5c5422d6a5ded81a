#include "tools/note_transforms.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/game_type.h"
#include "model/song.h"

namespace quillex {

namespace {

using TurnRow = std::array<int, kMaxColumns>;

// For each game type with its own layout, the new column of each old column, for Left
// 90°, Right 90°, Mirror (full), Mirror left-right and Mirror up-down. The couple types
// use the double layouts.
struct TurnTable {
    std::array<TurnRow, 5> turns;
};
constexpr TurnTable kDanceSingle{{{{1, 3, 0, 2}, {2, 0, 3, 1}, {3, 2, 1, 0}, {3, 1, 2, 0},
                                   {0, 2, 1, 3}}}};
constexpr TurnTable kDanceDouble{{{{1, 3, 0, 2, 5, 7, 4, 6},
                                   {2, 0, 3, 1, 6, 4, 7, 5},
                                   {3, 2, 1, 0, 7, 6, 5, 4},
                                   {3, 1, 2, 0, 7, 5, 6, 4},
                                   {0, 2, 1, 3, 4, 6, 5, 7}}}};
constexpr TurnTable kDanceSolo{{{{2, 1, 5, 0, 4, 3},
                                 {3, 1, 0, 5, 4, 2},
                                 {5, 4, 3, 2, 1, 0},
                                 {5, 4, 2, 3, 1, 0},
                                 {0, 1, 3, 2, 4, 5}}}};
constexpr TurnTable kPumpSingle{{{{4, 0, 2, 1, 3},
                                  {1, 3, 2, 4, 0},
                                  {3, 4, 2, 0, 1},
                                  {4, 3, 2, 1, 0},
                                  {1, 0, 2, 4, 3}}}};
constexpr TurnTable kPumpHalfDouble{{{{2, 0, 3, 5, 1, 4},
                                      {1, 4, 0, 2, 5, 3},
                                      {5, 3, 4, 1, 2, 0},
                                      {5, 4, 3, 2, 1, 0},
                                      {0, 2, 1, 4, 3, 5}}}};
constexpr TurnTable kPumpDouble{{{{4, 0, 2, 1, 3, 9, 5, 7, 6, 8},
                                  {1, 3, 2, 4, 0, 6, 8, 7, 9, 5},
                                  {3, 4, 2, 0, 1, 8, 9, 7, 5, 6},
                                  {4, 3, 2, 1, 0, 9, 8, 7, 6, 5},
                                  {1, 0, 2, 4, 3, 6, 5, 7, 9, 8}}}};

const TurnTable& turnTableOf(int gameTypeIndex) {
    switch (static_cast<GameType>(gameTypeIndex)) {
    case GameType::DanceSingle: return kDanceSingle;
    case GameType::DanceDouble:
    case GameType::DanceCouple: return kDanceDouble;
    case GameType::DanceSolo: return kDanceSolo;
    case GameType::PumpSingle: return kPumpSingle;
    case GameType::PumpHalfDouble: return kPumpHalfDouble;
    case GameType::PumpDouble:
    case GameType::PumpCouple: break;
    }
    return kPumpDouble;
}

bool isSelected(const EditItem& n) { return n.selected; }
bool isActiveSelected(const EditItem& n) { return n.selected && n.layerActive; }

// Puts a note on a new row, normalised into beat and fraction; its colour class
// follows the fraction unless it is a mine or lift.
void moveToRow(EditItem& note, std::int64_t row) {
    const RowPosition at = RowPosition::fromRow(row);
    note.beat = at.beat;
    note.fraction = at.fraction;
    if (!note.isMineLike())
        note.divisionClass = divisionClassOfFraction(at.fraction);
}

// Runs a refresh with "Inserting the same arrow will delete it" off, so that two notes
// moved onto one spot merge instead of deleting each other.
void refreshMerging(ItemStore& store) {
    const bool toggleDelete = store.toggleDelete();
    store.setToggleDelete(false);
    store.refresh();
    store.setToggleDelete(toggleDelete);
}

template <typename Pick, typename Change>
bool changeNotes(ItemStore& store, Pick pick, Change change) {
    ItemList& list = store.noteList(store.currentLevel());
    if (std::none_of(list.begin(), list.end(), pick))
        return false;
    store.setModified(true);
    for (EditItem& n : list.edit())
        if (pick(n))
            change(n);
    refreshMerging(store);
    return true;
}

} // namespace

int turnedColumn(int gameTypeIndex, Turn turn, int column) {
    if (column < 0 || column >= columnCount(gameTypeIndex))
        return column;
    return turnTableOf(gameTypeIndex).turns[static_cast<int>(turn)][column];
}

bool anySelectedNote(const ItemStore& store) {
    const ItemList& list = store.notes(store.currentLevel());
    return std::any_of(list.begin(), list.end(), isSelected);
}

bool anyActiveSelectedNote(const ItemStore& store) {
    const ItemList& list = store.notes(store.currentLevel());
    return std::any_of(list.begin(), list.end(), isActiveSelected);
}

bool anySelectedNoteInAnyLevel(const ItemStore& store) {
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        if (std::any_of(store.notes(level).begin(), store.notes(level).end(), isSelected))
            return true;
    return false;
}

bool quantizeSelection(ItemStore& store, int division) {
    if (division <= 0 || kRowsPerMeasure % division != 0 || !anySelectedNote(store))
        return false;
    store.refresh();
    const int step = kRowsPerMeasure / division;
    return changeNotes(store, isSelected, [step](EditItem& n) {
        const int back = n.fraction % step;
        if (back == 0)
            return;
        const int forward = step - back;
        moveToRow(n, back < forward ? n.row() - back : n.row() + forward);
    });
}

bool turnSelection(ItemStore& store, Turn turn) {
    if (!anySelectedNote(store))
        return false;
    store.refresh();
    const int type = gameTypeOfLevel(store.currentLevel());
    return changeNotes(store, isSelected,
                       [&](EditItem& n) { n.column = turnedColumn(type, turn, n.column); });
}

bool scaleSelection(ItemStore& store, int numerator, int denominator) {
    if (numerator <= 0 || denominator <= 0 || !anyActiveSelectedNote(store))
        return false;
    store.refresh(); // the anchor is the earliest selected note in row order
    const double factor = static_cast<double>(numerator) / denominator;
    const ItemList& list = store.notes(store.currentLevel());
    const auto first = std::find_if(list.begin(), list.end(), isActiveSelected);
    if (first == list.end())
        return false;
    const std::int32_t anchor = first->row();
    return changeNotes(store, isActiveSelected, [&](EditItem& n) {
        const RowPosition length =
            RowPosition::fromRow(n.isHold ? static_cast<std::int64_t>(n.lengthRows() * factor) : 0);
        n.lengthBeats = length.beat;
        n.lengthFraction = length.fraction;
        n.isHold = n.isHold && length.row() >= 1;
        moveToRow(n, static_cast<std::int64_t>(anchor + factor * (n.row() - anchor)));
    });
}

bool changeTypeOfSelection(ItemStore& store) {
    if (!anySelectedNoteInAnyLevel(store))
        return false;
    store.setModified(true);
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        ItemList& list = store.noteList(level);
        if (std::none_of(list.begin(), list.end(), isSelected))
            continue;
        for (EditItem& n : list.edit())
            if (n.selected && (n.isHold || n.isMineLike()))
                n.altKind = n.altKind == 1 ? 0 : 1;
    }
    return true;
}

std::optional<PreviewRange> previewFromSelection(const ItemStore& store,
                                                 const RegionSelection& region) {
    if (region.complete() && region.begin() != region.end())
        return PreviewRange{region.begin(), region.end()};
    const ItemList& beats = store.beats();
    const auto first = std::find_if(beats.begin(), beats.end(), isSelected);
    if (first == beats.end())
        return std::nullopt;
    const auto last = std::find_if(beats.items().rbegin(), beats.items().rend(), isSelected);
    return PreviewRange{first->sample, last->sample};
}

} // namespace quillex
