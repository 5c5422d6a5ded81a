// `quillex-tool transform`: runs one note transform over a level of a song, selecting
// its notes as Select All would (or those in a row range), and saves the result.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "model/game_type.h"
#include "tools/note_transforms.h"

namespace quillex {

class Editor;
class EditorSongFiles;

struct TransformRequest {
    std::string song;
    std::string output;
    LevelIndex level = 0;
    enum class Kind { Quantize, Turn, Scale, ChangeType } kind = Kind::Quantize;
    int division = 0;
    Turn turn = Turn::Left;
    int numerator = 1, denominator = 1;
    std::optional<std::pair<std::int32_t, std::int32_t>> rows; // inclusive editor rows
};

inline constexpr const char* kTransformUsage =
    "       quillex-tool transform SONG --level TYPE:DIFFICULTY\n"
    "           (--quantize N | --turn left|right|mirror|mirror-lr|mirror-ud |\n"
    "            --scale P/Q | --change-type) [--rows FROM:TO] -o OUT\n";

inline constexpr const char* kLevelNameRefusal =
    "--level takes TYPE:DIFFICULTY, such as dance-single:Hard";

// Reads the arguments after "transform"; nothing (with a reason on `err`) when they
// do not make one request.
std::optional<TransformRequest> parseTransformRequest(const std::vector<std::string>& arguments,
                                                      std::ostream& err);

// Selects the level's notes, runs the transform and writes the output. False (with
// the editor's message on its Messages) when nothing was transformed or saved.
bool runTransform(Editor& editor, EditorSongFiles& files, const TransformRequest& request);

} // namespace quillex
