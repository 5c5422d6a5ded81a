// The transport's fixed tables: snap settings with their menu commands and status
// names, the time formats, and the other menu commands whose marks the player sets.
#pragma once

#include <array>
#include <string_view>

namespace quillex {

struct SnapSetting {
    int divisions;               // grid steps per beat; 0 is no snap
    int command;                 // Snap-menu command
    std::string_view statusName; // as the status layer shows it
};

inline constexpr std::array<SnapSetting, 11> kSnapSettings = {{
    {0, 246, "No Snap"},
    {1, 254, "4th (1)"},
    {2, 253, "8th (2)"},
    {3, 252, "12th (3)"},
    {4, 251, "16th (4)"},
    {6, 250, "24th (6)"},
    {8, 249, "32nd (8)"},
    {12, 248, "48th (12)"},
    {16, 247, "64th (16)"},
    {24, 20206, "96th (24)"},
    {48, 427, "192nd (48)"},
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

namespace command {
inline constexpr int kTimeFormatSamples = 232;
inline constexpr int kTimeFormatSeconds = 233;
inline constexpr int kTimeFormatBeats = 242;
inline constexpr int kSpeedNormal = 338;
inline constexpr int kVolumeMute = 346;
inline constexpr int kVolumeNormal = 347;
inline constexpr int kBeatTick = 348;
inline constexpr int kNoteTick = 350;
inline constexpr int kRecord = 384;
inline constexpr int kWaveLayer = 237;
inline constexpr int kBeatLayer = 236;
inline constexpr int kPauseLayer = 376;
inline constexpr int kArrowLayer = 314;
inline constexpr int kStatusLayer = 349;
} // namespace command

} // namespace quillex
