// Bulk edits of the selected notes of the current level: quantize to a grid, turn or
// mirror, scale in time, switch kinds (mine <-> lift, hold <-> roll). They change rows
// and columns only; the refresh re-times the notes. Beat markers are never touched.
// Each returns false, changing nothing, when no note qualifies; the caller then shows
// the matching message and opens no undo entry.
#pragma once

#include <optional>
#include <string_view>

#include "items/item_store.h"
#include "items/selection.h"

namespace quillex {

inline constexpr std::string_view kNothingToQuantizeMessage =
    "First, select some arrows to quantize.";
inline constexpr std::string_view kNothingToTurnMessage = "First, select some arrows to turn.";
inline constexpr std::string_view kNothingToScaleMessage = "First, select some arrows to Scale.";
inline constexpr std::string_view kNothingToChangeTypeMessage =
    "Select a note(s) before using this function.\nMines <-> Lifts\nHolds <-> Rolls.";
inline constexpr std::string_view kScaleWarning =
    "Careful! Scaling will expand/compress selected arrows (does not affect beats) and may "
    "overwrite arrows that are in the way, or round arrows to the nearest 192nd note as a last "
    "resort. Continue?";
inline constexpr std::string_view kNoPreviewSourceMessage =
    "First, select some beats, or use the Region Begin/End command (ctrl+space).";
inline constexpr std::string_view kPreviewSetMessage =
    "The Song Preview is now set to the currently defined region.\n"
    "Go to File properties under Song Preview to see the details.";

// The divisions notes can be quantized to: 4th … 64th notes.
inline constexpr int kQuantizeDivisions[] = {4, 8, 12, 16, 24, 32, 48, 64};

enum class Turn { Left, Right, Mirror, MirrorLeftRight, MirrorUpDown };

// The column an old column goes to for a game type and turn; columns a game type does
// not have stay where they are.
int turnedColumn(int gameTypeIndex, Turn turn, int column);

// True when a note of the current level is selected (whatever its layer).
bool anySelectedNote(const ItemStore& store);
// True when a note of the current level is selected and layer-active.
bool anyActiveSelectedNote(const ItemStore& store);
// True when a note of any level is selected.
bool anySelectedNoteInAnyLevel(const ItemStore& store);

// Moves every selected note of the current level that is off the grid of `division`
// notes per measure to the nearest grid row (ties go later).
bool quantizeSelection(ItemStore& store, int division);
bool turnSelection(ItemStore& store, Turn turn);
// Stretches the selected, layer-active notes by numerator/denominator from the
// earliest of them; hold lengths scale too.
bool scaleSelection(ItemStore& store, int numerator, int denominator);
// Flips mines and lifts, holds and rolls, among the selected notes of every level.
bool changeTypeOfSelection(ItemStore& store);

// The song preview taken from a complete region, or else from the first and last
// selected beat markers; nothing when neither exists.
struct PreviewRange {
    SamplePosition begin;
    SamplePosition end;
};
std::optional<PreviewRange> previewFromSelection(const ItemStore& store,
                                                 const RegionSelection& region);

} // namespace quillex
