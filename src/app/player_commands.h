// Wires the transport commands (stepping, snap, time format, volume, speed, assist
// ticks) to the music player.
#pragma once

#include "app/dispatcher.h"
#include "audio/music_player.h"

namespace quillex {

void registerPlayerCommands(Dispatcher& dispatcher, MusicPlayer& player, const ItemStore& store);

} // namespace quillex
