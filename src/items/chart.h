// One chart of the song: a level's note list with its meter.
#pragma once

#include "items/item_store.h"
#include "model/game_type.h"

namespace quillex {

struct Chart {
    LevelIndex level = 0;
    ItemList notes;           // shares the store's list at the time it was taken
    std::int32_t meter = 1;

    int gameType() const { return gameTypeOfLevel(level); }
    int difficulty() const { return difficultyOfLevel(level); }
    int columns() const { return columnCountOfLevel(level); }
    // Only used charts are written to files.
    bool used() const { return !notes.empty(); }
};

inline Chart chartOf(const ItemStore& store, const MeterTable& meters, LevelIndex level) {
    return Chart{level, store.notes(level), meters.get(level)};
}

} // namespace quillex
