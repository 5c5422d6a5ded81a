// Where the view meets the music player: the frame's copy of the player's values, and
// the position-bar click, which seeks without sounding an assist tick.
#pragma once

#include "view/transport_state.h"

namespace quillex {

class EditorView;
class MusicPlayer;

TransportState transportStateOf(const MusicPlayer& player);

// A click on the window at (x, y): when it falls inside the position bar, seeks there
// with both assist ticks switched off for the jump and then restored. Returns true
// when it sought.
bool clickPositionBar(EditorView& view, MusicPlayer& player, int x, int y);
// A drag that started on the position bar, now at row y: seeks the same way, whatever
// the column.
bool dragPositionBar(EditorView& view, MusicPlayer& player, int y);

} // namespace quillex
