// Every picture the editor draws: its file under the data folder, the size it is
// loaded at, and its colour key. The order of the ids is the order of loading.
#pragma once

#include <array>
#include <string_view>

namespace quillex {

enum class ColourKey { None, OpaqueBlack, OpaqueMagenta };

struct PictureEntry {
    std::string_view path; // relative to the data folder, "/" separated
    int width = 0;         // 0: the file's own size
    int height = 0;
    ColourKey key = ColourKey::None;
};

// The tap pictures of one noteskin in quantisation order (4th, 8th … 192nd).
inline constexpr int kQuantisationClasses = 9;

enum class PictureId : int {
    AnimMine,
    ComboLabel,
    ComboNumbers,
    Crosshatch,
    Dotted,
    Dotted2,
    Judgement,
    MineExplosion,
    OkNg,
    Wallpaper,
    Splash,
    AnimLift,
    RollHead,
    RollBody,
    RollTail,
    AutoScroll,
    // dance, standard
    DanceReceptor,
    DanceTap04,
    DanceArrowGlow = DanceTap04 + kQuantisationClasses,
    DanceFreezeOkExplosion,
    DanceFreezeBody,
    DanceFreezeTail,
    DanceSnapBase,
    // dance, standard, diagonal panels
    DiagonalReceptor,
    DiagonalTap04,
    DiagonalArrowGlow = DiagonalTap04 + kQuantisationClasses,
    DiagonalFreezeOkExplosion,
    DiagonalFreezeBody,
    DiagonalFreezeTail,
    // pump, standard
    PumpCornerReceptor,
    PumpCenterReceptor,
    PumpNoteDownLeft,
    PumpNoteUpLeft,
    PumpNoteCenter,
    PumpArrowGlow,
    PumpCenterGlow,
    PumpFreezeBodyDownLeft,
    PumpFreezeBodyUpLeft,
    PumpFreezeBodyCenter,
    PumpFreezeTailDownLeft,
    PumpFreezeTailUpLeft,
    PumpFreezeTailCenter,
    // dance, enhanced
    EnhancedReceptor,
    EnhancedTap04,
    EnhancedArrowGlow = EnhancedTap04 + kQuantisationClasses,
    EnhancedFreezeOkExplosion,
    EnhancedFreezeBody,
    EnhancedFreezeTail,
    EnhancedSnapBase,
    Count
};

inline constexpr int kPictureCount = static_cast<int>(PictureId::Count);

const std::array<PictureEntry, kPictureCount>& pictureTable();

constexpr PictureId pictureAt(PictureId first, int offset) {
    return static_cast<PictureId>(static_cast<int>(first) + offset);
}

} // namespace quillex
