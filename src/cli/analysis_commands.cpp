#include "cli/analysis_commands.h"

#include <array>

namespace quillex {

std::span<const ToolCommand> analysisCommands() {
    static const std::array<ToolCommand, 7> commands = {
        kTempoCommand,      kAutosyncCommand,    kStraightenCommand, kInsertDelayCommand,
        kInsertWarpCommand, kDeleteDelayCommand, kDeleteWarpCommand};
    return commands;
}

} // namespace quillex
