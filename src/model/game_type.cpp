#include "model/game_type.h"

#include <cctype>
#include <string>

namespace quillex {

namespace {

constexpr std::array<GameTypeInfo, kGameTypeCount> kGameTypes{{
    {"dance-single", 4, "0000", "DANCE_SINGLE", "dance-single"},
    {"dance-double", 8, "00000000", "DANCE_DOUBLE", "dance-double"},
    {"dance-couple", 8, "00000000", "DANCE_COUPLE", "dance-couple"},
    {"dance-solo", 6, "000000", "DANCE_SOLO", "dance-solo"},
    {"pump-single", 5, "00000", "PUMP_SINGLE", "pump-single"},
    {"pump-halfdouble", 6, "000000", "PUMP_HALFDOUBLE", "pump-halfdb"},
    {"pump-double", 10, "0000000000", "PUMP_DOUBLE", "pump-double"},
    {"pump-couple", 10, "0000000000", "PUMP_COUPLE", "pump-couple"},
}};

constexpr std::array<std::string_view, kDifficultyCount> kDifficultySmNames{
    "Beginner", "Easy", "Medium", "Hard", "Challenge", "Edit"};
constexpr std::array<std::string_view, kDifficultyCount> kDifficultyQxxTags{
    "BEGINNER", "EASY", "MEDIUM", "HARD", "CHALLENGE", "EDIT"};
constexpr std::array<std::string_view, kDifficultyCount> kDifficultyLowerNames{
    "beginner", "easy", "medium", "hard", "challenge", "edit"};

} // namespace

const GameTypeInfo& gameTypeInfo(int gameTypeIndex) {
    if (gameTypeIndex < 0 || gameTypeIndex >= kGameTypeCount)
        return kGameTypes[0];
    return kGameTypes[gameTypeIndex];
}

int columnCount(int gameTypeIndex) { return gameTypeInfo(gameTypeIndex).columns; }

int columnCountOfLevel(LevelIndex level) { return columnCount(gameTypeOfLevel(level)); }

std::optional<int> gameTypeFromSmName(std::string_view name) {
    for (int i = 0; i < kGameTypeCount; ++i)
        if (kGameTypes[i].smName == name)
            return i;
    return std::nullopt;
}

std::string_view difficultySmName(int difficultyIndex) {
    if (difficultyIndex < 0 || difficultyIndex >= kDifficultyCount)
        return kDifficultySmNames[0];
    return kDifficultySmNames[difficultyIndex];
}

std::string_view difficultyQxxTag(int difficultyIndex) {
    if (difficultyIndex < 0 || difficultyIndex >= kDifficultyCount)
        return kDifficultyQxxTags[0];
    return kDifficultyQxxTags[difficultyIndex];
}

std::optional<int> difficultyFromName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (int i = 0; i < kDifficultyCount; ++i)
        if (kDifficultyLowerNames[i] == lower)
            return i;
    return std::nullopt;
}

std::optional<LevelIndex> levelFromName(std::string_view name) {
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto type = gameTypeFromSmName(name.substr(0, colon));
    const auto difficulty = difficultyFromName(name.substr(colon + 1));
    if (!type || !difficulty)
        return std::nullopt;
    return levelIndex(*type, *difficulty);
}

std::string levelName(LevelIndex level) {
    return std::string(gameTypeInfo(gameTypeOfLevel(level)).smName) + ":" +
           std::string(difficultySmName(difficultyOfLevel(level)));
}

} // namespace quillex
