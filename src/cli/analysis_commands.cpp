#include "cli/analysis_commands.h"

#include <array>

namespace quillex {

std::span<const ToolCommand> analysisCommands() {
    static const std::array<ToolCommand, 9> commands = {
        kTempoCommand,       kAutosyncCommand,    kStraightenCommand,
        kStatsCommand,       kInsertDelayCommand, kInsertWarpCommand,
        kDeleteDelayCommand, kDeleteWarpCommand,  kSetMusicCommand};
    return commands;
}

} // namespace quillex
