// What both fuzz targets share: one editor with silent music for the whole run, a
// scratch folder, and the writers run over whatever a reader built, so that a fuzzed
// store is also written.
#pragma once

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/editor.h"
#include "fileio/qxx_companion.h"
#include "fileio/sm_writer.h"
#include "fileio/song_file_context.h"
#include "silent_music.h"

namespace quillex::fuzz {

class QuietMessages : public Messages {
  public:
    void show(std::string_view, std::string_view) override {}
};

struct FuzzEditor {
    FuzzEditor() {
        music.rate = 8000; // a low rate keeps decoding and peaks quick
        music.frames = 8000 * 6;
        music.anyPath = true;
        std::filesystem::create_directories(folder);
        std::ofstream(musicPath()).put('x'); // the music every fuzzed song names
    }
    test::SilentMusicFormat music;
    QuietMessages messages;
    NullShellHooks shell;
    Editor editor{messages, shell, test::silentMusicBackend(music)};
    SongFileContext files = songFileContext(editor);
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quillex-fuzz-" + std::to_string(::getpid()));

    std::string musicPath() const { return (folder / "song.ogg").string(); }

    // Writes the song and its companion to memory when the store holds enough beats.
    void writeBack() {
        const ItemStore& store = editor.store();
        if (store.beats().size() < 2)
            return;
        const MusicPlayer& player = editor.player();
        const std::string song =
            smSongText({editor.song(), store, editor.meters(), player.musicPath(),
                        player.sampleRate(), player.previewStart(), player.previewEnd()});
        const std::string companion = companionText(store, editor.meters(), player.previewStart(),
                                                    player.previewEnd(), player.position());
        if (song.empty() || companion.empty())
            __builtin_trap();
    }
};

} // namespace quillex::fuzz
