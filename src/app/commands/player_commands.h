// Wires the transport commands (stepping, snap, time format, volume, speed, assist
// ticks) to the music player; the volume and speed commands light their status panels.
#pragma once

#include "app/commands/dispatcher.h"
#include "audio/music_player.h"
#include "view/status_layer.h"

namespace quillex {

void registerPlayerCommands(Dispatcher& dispatcher, MusicPlayer& player, const ItemStore& store,
                            StatusLayer& status);

} // namespace quillex
