// The screen boxes of the items in view, which the mouse hit-tests against.
//
// A box is a pure function of the item and the view, so it is computed on demand
// (before a hit test, after a zoom or note-size change) and not every frame: writing
// boxes every frame during playback would copy each list the undo history still
// shares, once per edit, and keep that copy alive in the history.
#pragma once

#include "items/item_store.h"
#include "view/view_geometry.h"

namespace quillex {

// What the arrow layer needs to place a note: the game type of the current level and
// the note size.
struct ArrowLayout {
    int gameType = 0;
    int noteSize = 0;
};

// Beat markers and pause starts span this width of the editor.
inline constexpr int kMarkerLeft = 90;
inline constexpr int kMarkerRight = 710;

// Box of a beat marker or a pause start: its fixed horizontal extent, three rows above
// and below its row.
ScreenBox markerBox(const EditItem& marker, const ViewGeometry& view);
// Box of a note of the current level; a hold's or roll's box runs from its head to its
// end row, each widened by the note half-size. `endSample` is the sample of a hold's
// end (ignored for taps).
ScreenBox noteBox(const EditItem& note, SamplePosition endSample, const ViewGeometry& view,
                  const ArrowLayout& arrow);
// Box of a hold's tail picture, centred half a half-size below its end row; empty for
// notes that are not holds.
ScreenBox holdTailBox(const EditItem& note, SamplePosition endSample, const ViewGeometry& view,
                      const ArrowLayout& arrow);

// Updates the boxes of the beats, pauses and current-level notes in view. Items out of
// view keep their old boxes, as they are neither drawn nor hit. Lists whose boxes are
// already right are left untouched (and stay shared with the undo history).
// `beatsHaveBoxes`: beats get boxes when the beat layer is on or a grid is set.
void layoutItemBoxes(ItemStore& store, const ViewGeometry& view, const ArrowLayout& arrow,
                     bool beatsHaveBoxes);

// Box of a fixed screen region: the position bar at the right edge, the cursor line,
// the editor area, and the target row across the current level's columns.
ScreenBox regionBox(ItemKind kind, const ViewGeometry& view, const ArrowLayout& arrow);
// Gives the store's fixed regions their boxes in the current window.
void layoutRegionBoxes(ItemStore& store, const ViewGeometry& view, const ArrowLayout& arrow);

} // namespace quillex
