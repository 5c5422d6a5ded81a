// Moving beat markers in bulk: nudge (every marker from a starting point on, by a few
// samples), grow (a region re-spaced evenly, one step wider or narrower or to a typed
// BPM) and smooth (a region's spacing replaced by its running average). Notes follow
// because they keep their rows and the refresh re-times them. Locked markers move like
// any other: the lock guards against a stray mouse drag, not against these tools.
//
// Every move is planned first and refused as a whole when a marker would leave the
// music (the refresh would delete it and shift every later beat) or two markers would
// meet; the caller opens its undo entry only for a plan it then applies.
#pragma once

#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "items/item_store.h"

namespace quillex {

inline constexpr std::string_view kNudgeNeedsTwoMessage =
    "I can't nudge right now.  First, place at least 2 beats in the song.";
inline constexpr std::string_view kNudgeAfterLastMessage =
    "I can't nudge after the last beat. Place the cursor between some beats.";
inline constexpr std::string_view kMoveLeavesMusicMessage =
    "I can't move the beats that far: a beat would leave the music or reach its "
    "neighbour.";
inline constexpr std::string_view kGrowNeedsTwoMessage =
    "You need 2+ beats to activate the Grow. Put in another beat.";
inline constexpr std::string_view kGrowSubBeatSelectedMessage =
    "I cannot Grow because you have selected a subbeat.\nSelected beats for growing must be "
    "regular beats.";
inline constexpr std::string_view kGrowOutsideMessage =
    "I cannot grow before the first beat or after the last beat.";
inline constexpr std::string_view kGrowFromLastMessage =
    "I cannot grow starting from the last beat.";
inline constexpr std::string_view kGrowSubBeatsInsideMessage =
    "You need to delete all sub-beats in the grow area.";

// The new samples of a run of markers, from index `first` on. Extra markers (grow with
// filling to the end of the song) are added after the run is written.
struct BeatMove {
    std::size_t first = 0;
    std::vector<SamplePosition> samples;
    std::vector<SamplePosition> added;
};

// Writes a planned move into the store and refreshes it.
void applyMove(ItemStore& store, const BeatMove& move);

// The nudge samples of a variant (0 later/large, 1 later/small, 2 earlier/small,
// 3 earlier/large): by zoom, one or two pixels' worth of samples; else 50 or 100.
int nudgeDelta(int variant, bool basedOnZoom, int samplesPerPixel);

// Every marker from the lowest selected one (or, with none selected, from the first
// after `cursor`) moved by `delta` samples; or the refusal. The list must be sorted.
std::variant<BeatMove, std::string_view> planNudge(const ItemStore& store, SamplePosition cursor,
                                                   std::int64_t delta);

// The region grow and smooth work on, from the selection or the cursor, with its
// average BPM and the BPM of its first interval; or the refusal. Refresh first.
struct GrowRegion {
    std::size_t start = 0;
    std::size_t end = 0;
    double averageBpm = 0;
    double firstBpm = 0;
};
std::variant<GrowRegion, std::string_view> growRegion(const ItemStore& store,
                                                      SamplePosition cursor);

// Quick grow (+2 samples per interval) or shrink (-2): the region evenly spaced at its
// first interval plus the step; later markers keep their spacing.
std::variant<BeatMove, std::string_view> planQuickGrow(const ItemStore& store,
                                                       const GrowRegion& region, int step);
// The region evenly spaced at `bpm`, later markers shifted along; with `fillToEnd`,
// markers at that tempo from the region's end to the end of the music as well.
std::variant<BeatMove, std::string_view> planGrowTo(const ItemStore& store,
                                                    const GrowRegion& region, double bpm,
                                                    bool fillToEnd);

// Each interval of the region becomes the mean of the `window` intervals up to it, as
// they were before; the first window - 1 blend with the start. Markers after the
// region stay. A window of 1 keeps the spacing as it is.
std::variant<BeatMove, std::string_view> planSmooth(const ItemStore& store,
                                                    const GrowRegion& region, int window);

} // namespace quillex
