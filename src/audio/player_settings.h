// The transport's fixed tables: the snap settings with their menu commands and status
// names, and the time formats.
#pragma once

#include <array>
#include <string_view>

#include "ports/command_id.h"

namespace quillex {

struct SnapSetting {
    int divisions;               // grid steps per beat; 0 is no snap
    CommandId command;           // Snap-menu command
    std::string_view statusName; // as the status layer shows it
};

// In the Snap menu's order; the index is the player's snap index (0: no snap).
inline constexpr std::array<SnapSetting, 11> kSnapSettings = {{
    {0, CommandId::NoSnap, "No Snap"},
    {1, CommandId::SnapTo4th, "4th (1)"},
    {2, CommandId::SnapTo8th, "8th (2)"},
    {3, CommandId::SnapTo12th, "12th (3)"},
    {4, CommandId::SnapTo16th, "16th (4)"},
    {6, CommandId::SnapTo24th, "24th (6)"},
    {8, CommandId::SnapTo32nd, "32nd (8)"},
    {12, CommandId::SnapTo48th, "48th (12)"},
    {16, CommandId::SnapTo64th, "64th (16)"},
    {24, CommandId::SnapTo96th, "96th (24)"},
    {48, CommandId::SnapTo192nd, "192nd (48)"},
}};

// Index of a divisions value in kSnapSettings, or -1.
constexpr int snapIndexOfDivisions(int divisions) {
    for (int i = 0; i < static_cast<int>(kSnapSettings.size()); ++i)
        if (kSnapSettings[static_cast<std::size_t>(i)].divisions == divisions)
            return i;
    return -1;
}

// The player's time formats: how the position is shown.
inline constexpr int kTimeSamples = 28;
inline constexpr int kTimeSeconds = 29;
inline constexpr int kTimeBeats = 30;

} // namespace quillex
