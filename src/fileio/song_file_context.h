// What reading and writing a song touch: the song's file-facing data, the item store,
// the level meters, the music player (music, preview region, cursor), the window
// around the editor and the "Tip" boxes.
#pragma once

#include "audio/music_player.h"
#include "audio/player_settings.h"
#include "items/item_store.h"
#include "model/game_type.h"
#include "model/song.h"
#include "ports/messages.h"
#include "ports/shell_hooks.h"

namespace quillex {

// What a read does when the music a song names does not load.
enum class MissingMusic {
    // Asks whether to locate it and shows the Open dialog for it; declined, the song
    // opens over silence as long as its charts (the music can be given later).
    Locate,
    // Says so once and goes on over silence at kStandInRate (the command-line tool,
    // whose listings and conversions need no sound).
    StandIn,
    // Loads no music at all and goes on over the same silence without a word (the
    // chart statistics, which read a song in milliseconds and need only its timing).
    Skip,
};
inline constexpr int kStandInRate = 44100;

struct SongFileContext {
    Song& song;
    ItemStore& store;
    MeterTable& meters;
    MusicPlayer& player;
    ShellHooks& shell;
    Messages& messages;
    MissingMusic missingMusic = MissingMusic::Locate;
};

// Switches the arrow layer on with its View-menu check, as a read does once the song
// has notes to show.
inline void showArrowLayer(SongFileContext& context) {
    context.store.setLayer(Layer::Arrow, true);
    context.shell.setMenuCheck(CommandId::ArrowLayer, true);
}

} // namespace quillex
