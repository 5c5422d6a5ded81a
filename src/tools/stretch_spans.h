// Where Insert Delay and Insert Warp put their stretch of rows, and why they refuse.
// Like a pause, a delay covers the rows of the region (or of the selected beats): those
// rows keep their time, and the notes on its end row become the delay's notes. A warp
// takes no time, so it is opened at the span's start with the span's length rounded to
// whole beats: the chart from its start on moves later by that many rows and keeps its
// time, as the markers are numbered past the warp.
#pragma once

#include <optional>
#include <string_view>
#include <variant>

#include "items/item_store.h"
#include "items/selection.h"

namespace quillex {

inline constexpr std::string_view kDelayRefusedMessage =
    "I can't make a delay here.  Possible reasons:\n1) The delay is before the first beat or "
    "on/after the last beat.\n2) The delay is not long enough.\n3) The delay overlaps a pause "
    "or another delay (a pause may start where the delay ends).";
inline constexpr std::string_view kWarpRefusedMessage =
    "I can't make a warp here.  Possible reasons:\n1) The warp starts before the first beat or "
    "on/after the last beat.\n2) The warp starts inside a pause, a delay or another warp.\n3) A "
    "sub-beat lies between the warp's start and the next beat.";

// A stretch of rows: its first row and its length.
struct RowSpan {
    RowPosition start;
    RowPosition length;
    std::int32_t endRow() const { return start.row() + length.row(); }
};

// The rows of the complete region when its ends differ, else of the first and last
// selected beat markers; nothing when neither is there. The store must be refreshed.
std::optional<RowSpan> selectedRowSpan(const ItemStore& store, const RegionSelection& region);

// True when a span starts and ends after beat 1 and before the last marker's beat, and
// has a length.
bool spanInsideTheBeats(const ItemStore& store, const RowSpan& span);

// A new delay over the selected rows, or over `span`.
std::variant<RowSpan, std::string_view> delaySpan(const ItemStore& store,
                                                  const RegionSelection& region);
std::variant<RowSpan, std::string_view> checkedDelaySpan(const ItemStore& store, RowSpan span);
// A new warp at the start of the selected rows, or of `span`, its length rounded to whole
// beats (one at least).
std::variant<RowSpan, std::string_view> warpSpan(const ItemStore& store,
                                                 const RegionSelection& region);
std::variant<RowSpan, std::string_view> checkedWarpSpan(const ItemStore& store, RowSpan span);

} // namespace quillex
