// Making beat markers and pauses, and the properties of markers: where Insert Next/Prev
// Beat and Insert Sub-Beat put their marker, the span Insert Pause covers, beat colours,
// locks and sub-beat fractions. Each check runs before anything changes, so the caller
// can open its undo entry only when there is something to do; the refusals are
// message texts the caller shows.
#pragma once

#include <optional>
#include <string_view>
#include <variant>

#include "items/item_store.h"
#include "items/selection.h"

namespace quillex {

inline constexpr std::string_view kNextBeatNeedsTwoMessage =
    "I can only insert the next beat if there are two or more beats defined.";
inline constexpr std::string_view kPrevBeatNeedsTwoMessage =
    "I can only insert the previous beat if there are two or more beats defined.";
inline constexpr std::string_view kSubBeatWithoutBeatsMessage =
    "I can't insert a sub beat if there are no regular beats.  Insert at least 2 regular beats.";
inline constexpr std::string_view kSubBeatBeforeFirstMessage =
    "I can't insert a sub beat before the first beat.";
inline constexpr std::string_view kSubBeatAfterLastMessage =
    "I can't insert a sub beat after the last beat.";
inline constexpr std::string_view kSubBeatOnMarkerRowMessage =
    "I can't insert a sub beat on the row of another beat.  Move the cursor between the beats.";
inline constexpr std::string_view kPauseNeedsSpanMessage =
    "First, select some beats, or use the Region Begin/End command (ctrl+space).";
inline constexpr std::string_view kPauseRefusedMessage =
    "I can't make a pause here.  Possible reasons:\n1) The pause is before the first beat or "
    "on/after the last beat.\n2) The pause is not long enough.";
inline constexpr std::string_view kNoBeatToColourMessage =
    "First, select some beat(s) to change color.";
inline constexpr std::string_view kNoBeatToLockMessage =
    "First, select some beat(s) to Lock/Unlock.";
inline constexpr std::string_view kSelectOneSubBeatMessage =
    "First, select only ONE subbeat to edit. This won't work if you've selected a normal beat.";

// Where Insert Next Beat (after the last marker) or Insert Prev Beat (before the first)
// puts its marker: the spacing of the two outermost markers, per whole beat, repeated.
// A sub-beat among them counts by its rows, so the new beat keeps the tempo. Nothing
// when the new beat would lie outside the music. Reads the markers by sample, so a list
// left unsorted by taps during playback gives the same answer.
enum class BeatEnd { Next, Previous };
std::optional<SamplePosition> beatBeyondEnd(const ItemList& beats, BeatEnd end,
                                            SamplePosition musicLength);

// The row a sub-beat at `cursor` gets (the nearest 48th between the markers around
// it), or the message refusing it. A row that falls on a neighbour's row is refused:
// two markers on one row have no tempo between them.
std::variant<RowPosition, std::string_view> subBeatRowAt(const TimingMap& timing,
                                                         SamplePosition cursor);

// The span of a new pause: the complete region when its ends differ, else the first
// and last selected beat markers. The refusal message when neither gives a pause that
// lies between the first and last beats, has a length, and overlaps no other pause.
// The store must be refreshed.
struct PauseSpan {
    RowPosition start;
    RowPosition length;
};
std::variant<PauseSpan, std::string_view> pauseSpan(const ItemStore& store,
                                                    const RegionSelection& region);

// Colouring the selected, layer-active beat markers: the refusal (a locked one among
// them, or none to colour), or nothing when it may go ahead.
std::optional<std::string_view> colourRefusal(const ItemStore& store);
void colourSelectedBeats(ItemStore& store, Colour colour);

// True when a beat marker is selected and layer-active; Lock/Unlock flips each of them.
bool anyActiveSelectedBeat(const ItemStore& store);
void toggleLockOfSelectedBeats(ItemStore& store);

// The index of the only selected beat marker when it is a sub-beat.
std::optional<std::size_t> onlySelectedSubBeat(const ItemStore& store);
// The fractions a sub-beat may take without reaching its neighbours' rows.
struct FractionRange {
    std::int32_t lowest = 1;
    std::int32_t highest = kRowsPerBeat - 1;
};
FractionRange allowedFractions(const ItemList& beats, std::size_t index);

} // namespace quillex
