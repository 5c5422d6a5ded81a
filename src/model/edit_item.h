// The one record for every editable or grabbable thing: beats, pauses, delays, warps,
// notes and the fixed screen regions the mouse can take hold of.
#pragma once

#include <array>
#include <cstdint>

#include "model/row_position.h"

namespace quillex {

enum class ItemKind : std::int32_t {
    None = 0,
    Beat = 1,
    Pause = 3,
    Note = 5,
    PositionBar = 7,
    CursorLine = 8,
    EditorArea = 9,
    TargetRow = 10,
    // A stretch of rows that takes time like a pause, but whose row's notes sound at
    // its end: they lie on its end row.
    Delay = 11,
    // A stretch of rows that takes no time: its notes are not played.
    Warp = 12,
};

// The fixed screen regions the mouse can take hold of.
inline constexpr std::array<ItemKind, 4> kScreenRegions{ItemKind::PositionBar, ItemKind::CursorLine,
                                                        ItemKind::EditorArea, ItemKind::TargetRow};

// Hit priority of each kind: when boxes overlap, the higher one is hit.
constexpr std::int32_t priorityOf(ItemKind kind) {
    switch (kind) {
    case ItemKind::Note:
        return 5;
    case ItemKind::TargetRow:
        return 4;
    case ItemKind::Pause:
    case ItemKind::Delay:
    case ItemKind::Warp:
        return 3;
    case ItemKind::Beat:
        return 2;
    case ItemKind::CursorLine:
        return 1;
    default:
        return 0;
    }
}

struct ScreenBox {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const ScreenBox&, const ScreenBox&) = default;
};

struct Colour {
    std::int32_t alpha = 255, red = 255, green = 255, blue = 255;
    friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kWhiteMarker{255, 255, 255, 255};
inline constexpr Colour kBlueMarker{255, 0, 255, 255};

// Division classes: the colour class of a note's fraction.
// 0 4th, 1 8th, 2 12th, 3 16th, 4 24th, 5 32nd, 6 48th, 7 64th, 8 192nd; -1 mines and lifts.
inline constexpr std::int32_t kMineDivisionClass = -1;

constexpr std::int32_t divisionClassOfFraction(std::int32_t fraction) {
    const std::int32_t f = ((fraction % kRowsPerBeat) + kRowsPerBeat) % kRowsPerBeat;
    if (f == 0)
        return 0;
    if (f % 24 == 0)
        return 1;
    if (f % 16 == 0)
        return 2;
    if (f % 12 == 0)
        return 3;
    if (f % 8 == 0)
        return 4;
    if (f % 6 == 0)
        return 5;
    if (f % 4 == 0)
        return 6;
    if (f % 3 == 0)
        return 7;
    return 8;
}

struct EditItem {
    // The fields every refresh and every drawn frame read come first, close together.
    ItemKind kind = ItemKind::None;
    bool isHold = false;
    bool isSubBeat = false;
    bool layerActive = false;
    bool locked = false;
    bool selected = false;
    bool cutMark = false;
    SamplePosition sample = 0;
    std::int32_t beat = 0;
    std::int32_t fraction = 0;
    std::int32_t column = 0;
    std::int32_t lengthBeats = 0; // hold, pause, delay or warp length
    std::int32_t lengthFraction = 0;
    std::int32_t divisionClass = 0;
    std::int32_t priority = 0;
    std::int32_t altKind = 0;
    std::int32_t listIndex = 0;
    Colour colour{};
    ScreenBox box{};
    ScreenBox tailBox{};

    RowPosition start() const { return {beat, fraction}; }
    std::int32_t row() const { return beat * kRowsPerBeat + fraction; }
    std::int32_t lengthRows() const { return lengthBeats * kRowsPerBeat + lengthFraction; }
    std::int32_t endRow() const { return row() + lengthRows(); }
    bool isMineLike() const { return divisionClass == kMineDivisionClass; }

    friend bool operator==(const EditItem&, const EditItem&) = default;
};

} // namespace quillex
