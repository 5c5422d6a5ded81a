// The eight playable layouts, the six difficulties and the 48 levels they make.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillex {

inline constexpr int kGameTypeCount = 8;
inline constexpr int kDifficultyCount = 6;
inline constexpr int kLevelCount = kGameTypeCount * kDifficultyCount;
inline constexpr int kMaxColumns = 10;

enum class GameType : std::int32_t {
    DanceSingle = 0,
    DanceDouble,
    DanceCouple,
    DanceSolo,
    PumpSingle,
    PumpHalfDouble,
    PumpDouble,
    PumpCouple,
};

enum class Difficulty : std::int32_t { Beginner = 0, Easy, Medium, Hard, Challenge, Edit };

// Game-type index × 6 + difficulty index: dance-single Beginner 0 … pump-couple Edit 47.
using LevelIndex = std::int32_t;

struct GameTypeInfo {
    std::string_view smName;    // as written in `.sm` charts
    int columns;
    std::string_view emptyRow;  // a row of the chart with no notes
    std::string_view qxxTag;    // as written in the companion file
    std::string_view shortName; // as shown in level lists
};

// The table entry of a game-type index; indices outside 0..7 are dance-single.
const GameTypeInfo& gameTypeInfo(int gameTypeIndex);
inline const GameTypeInfo& gameTypeInfo(GameType type) {
    return gameTypeInfo(static_cast<int>(type));
}
int columnCount(int gameTypeIndex);
int columnCountOfLevel(LevelIndex level);
std::optional<int> gameTypeFromSmName(std::string_view name);

std::string_view difficultySmName(int difficultyIndex);  // "Beginner" … "Edit"
std::string_view difficultyQxxTag(int difficultyIndex);  // "BEGINNER" … "EDIT"
// Recognises a difficulty name after lower-casing it ("medium", "Medium", "MEDIUM").
std::optional<int> difficultyFromName(std::string_view name);

constexpr LevelIndex levelIndex(int gameTypeIndex, int difficultyIndex) {
    return gameTypeIndex * kDifficultyCount + difficultyIndex;
}
constexpr int gameTypeOfLevel(LevelIndex level) { return level / kDifficultyCount; }
constexpr int difficultyOfLevel(LevelIndex level) { return level % kDifficultyCount; }
constexpr bool isValidLevel(LevelIndex level) { return level >= 0 && level < kLevelCount; }

// A level as "TYPE:DIFFICULTY" names it ("dance-single:Hard"; the difficulty in any
// case), and back.
std::optional<LevelIndex> levelFromName(std::string_view name);
std::string levelName(LevelIndex level);

// The difficulty rating of each level. Ratings below 1 become 1.
class MeterTable {
public:
    MeterTable() { meters_.fill(1); }
    std::int32_t get(LevelIndex level) const { return isValidLevel(level) ? meters_[level] : 1; }
    void set(LevelIndex level, std::int32_t meter) {
        if (isValidLevel(level))
            meters_[level] = meter < 1 ? 1 : meter;
    }
    void reset() { meters_.fill(1); }

private:
    std::array<std::int32_t, kLevelCount> meters_{};
};

} // namespace quillex
