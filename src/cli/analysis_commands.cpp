#include "cli/analysis_commands.h"

#include <array>

namespace quillex {

std::span<const ToolCommand> analysisCommands() {
    static const std::array<ToolCommand, 3> commands = {kTempoCommand, kAutosyncCommand,
                                                        kStraightenCommand};
    return commands;
}

} // namespace quillex
