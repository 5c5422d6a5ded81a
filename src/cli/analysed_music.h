// The analysis of the music the tool's editor has loaded, through the same cache the
// editor uses. Says on `err` why there is none (no music, or no rhythm in it).
#pragma once

#include <optional>
#include <ostream>
#include <vector>

#include "analysis/music_analysis.h"

namespace quillex {

class Editor;

// Options of the form --name VALUE after one file; nothing (with the reason on `err`)
// when an option is unknown, lacks its value, or the file is missing or repeated.
struct ToolArguments {
    std::string file;
    std::vector<std::pair<std::string, std::string>> options;
    const std::string* option(std::string_view name) const;
};
std::optional<ToolArguments> parseToolArguments(const std::vector<std::string>& arguments,
                                                std::initializer_list<std::string_view> allowed,
                                                std::ostream& err);

// Nothing when no music is loaded or the analysis finds no rhythm.
std::optional<MusicAnalysis> analyseLoadedMusic(Editor& editor, std::ostream& err);

} // namespace quillex
