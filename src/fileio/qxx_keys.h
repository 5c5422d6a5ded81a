// The statement keys of the companion file that its reader and writer share.
#pragma once

#include <string>
#include <string_view>

#include "model/game_type.h"

namespace quillex::qxx {

// The whole beats of the `.sm` file's grid before beat marker 1. Companions of earlier
// versions do not have it: their songs had none.
inline constexpr std::string_view kBeatsBeforeFirstMarkerKey = "#BEATSBEFOREFIRSTMARKER";
// Delays and warps in rows, like "#PAUSES": written only by songs that have them.
inline constexpr std::string_view kDelayRowsKey = "#DELAYROWS";
inline constexpr std::string_view kWarpRowsKey = "#WARPROWS";
// The rate of the silence a song was saved over (its music not found): the samples are
// counted at it, and music of another rate scales them to keep their times.
inline constexpr std::string_view kStandInRateKey = "#STANDINRATE";

// "<prefix>_<game type>_<difficulty>": the key of a statement about one level.
inline std::string levelKey(std::string_view prefix, LevelIndex level) {
    return std::string(prefix) + "_" + std::string(gameTypeInfo(gameTypeOfLevel(level)).qxxTag) +
           "_" + std::string(difficultyQxxTag(difficultyOfLevel(level)));
}

inline std::string notesKey(LevelIndex level) {
    return levelKey("#NOTES", level) + "_EX";
}

inline std::string footKey(LevelIndex level) {
    return levelKey("#FOOT", level);
}

} // namespace quillex::qxx
