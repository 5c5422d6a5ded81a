// The quillex-tool commands of the sync assistant (`tempo`, `autosync`, `straighten`),
// the chart statistics (`stats`) and the delays and warps (`insert-delay`,
// `insert-warp`, `delete-delay`, `delete-warp`) and the song's music (`set-music`),
// each group in a file of its own;
// song_tool.cpp finds them in this list.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "audio/audio_backend.h"

namespace quillex {

struct ToolCommand {
    std::string_view name;
    std::string_view usage; // its line of the usage text
    // Runs with the arguments after the command name; returns the exit status
    // (kToolUsage for arguments that make no request).
    int (*run)(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               AudioBackend audio);
};

std::span<const ToolCommand> analysisCommands();

extern const ToolCommand kTempoCommand;
extern const ToolCommand kAutosyncCommand;
extern const ToolCommand kStraightenCommand;
extern const ToolCommand kStatsCommand;
extern const ToolCommand kInsertDelayCommand;
extern const ToolCommand kInsertWarpCommand;
extern const ToolCommand kDeleteDelayCommand;
extern const ToolCommand kDeleteWarpCommand;
extern const ToolCommand kSetMusicCommand;

} // namespace quillex
