#include "cli/analysis_commands.h"

#include <array>

namespace quillex {

std::span<const ToolCommand> analysisCommands() {
    static const std::array<ToolCommand, 4> commands = {kTempoCommand, kAutosyncCommand,
                                                        kStraightenCommand, kStatsCommand};
    return commands;
}

} // namespace quillex
