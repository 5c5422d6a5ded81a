// What the song fuzz targets share: one editor for the whole run whose music, silence
// of a fixed rate and length, is decoded once at the start, so that an input costs
// only its text; and the writers run over whatever a reader built, so that a fuzzed
// store is also written.
#pragma once

#include <filesystem>
#include <fstream>
#include <string_view>
#include <unistd.h>

#include "app/session/editor.h"
#include "fileio/qxx_companion.h"
#include "fileio/sm_parser.h"
#include "fileio/sm_writer.h"
#include "fileio/song_file_context.h"
#include "fileio/song_reader.h"
#include "fileio/ssc_parser.h"
#include "fileio/ssc_writer.h"
#include "fileio/statement_text.h"
#include "silent_music.h"

namespace quillex::fuzz {

class QuietMessages : public Messages {
  public:
    void show(std::string_view, std::string_view) override {}
};

struct FuzzEditor {
    FuzzEditor() {
        // Two seconds at a low rate: a song has at most one beat marker per sample of
        // music, so a short music keeps even absurd tempos quick to convert.
        music.rate = 1000;
        music.frames = 1000 * 2;
        // The player opens only a readable file: one stands in for the music while it
        // loads and is removed once the silence is decoded.
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("quillex-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        const std::string musicPath = (folder / "song.ogg").string();
        std::ofstream(musicPath).put('x');
        const bool loaded = editor.player().loadMusic(musicPath, "", true);
        std::filesystem::remove_all(folder);
        if (!loaded)
            __builtin_trap();
    }
    test::SilentMusicFormat music;
    QuietMessages messages;
    NullShellHooks shell;
    Editor editor{messages, shell, test::silentMusicBackend(music)};
    SongFileContext files = songFileContext(editor);

    // A `.sm` song's text read as a song file is, over the music already loaded: the
    // statements parsed, the properties taken from the tags and the song built. True
    // when the song has beat markers.
    bool readSmText(std::string_view text) {
        Song& song = editor.song();
        SmFileContent content = parseSmText(joinLines(text, TextKind::Song), song.tags(), messages);
        song.kept() = std::move(content.kept);
        song.chartTexts() = std::move(content.chartTexts);
        song.properties().applyTags(song.tags());
        song.properties().applyBackground(song.tags());
        return buildSmSong(files, content.timing);
    }

    // The same for a `.ssc` song's bytes: its charts kept as read go with the song.
    bool readSscText(std::string_view text) {
        Song& song = editor.song();
        SscFileContent content = parseSscText(text, song.tags(), messages);
        song.kept() = std::move(content.kept);
        song.chartTexts() = std::move(content.chartTexts);
        song.properties().applyTags(song.tags());
        song.properties().applyBackground(song.tags());
        return buildSmSong(files, content.timing);
    }

    // Empties the song after an input, so that the next starts as a fresh read does
    // and an input frees what it took (libFuzzer checks for leaks when it does not).
    void clear() {
        editor.store().clearSong();
        editor.song().reset();
        editor.meters().reset();
    }

    // Writes the song as `.sm` and `.ssc` and its companion to memory when the store
    // holds enough beats.
    void writeBack() {
        const ItemStore& store = editor.store();
        if (store.beats().size() < 2)
            return;
        const MusicPlayer& player = editor.player();
        const std::string song =
            smSongText({editor.song(), store, editor.meters(), player.musicPath(),
                        player.sampleRate(), player.previewStart(), player.previewEnd()});
        const std::string ssc =
            sscSongText({editor.song(), store, editor.meters(), player.musicPath(),
                         player.sampleRate(), player.previewStart(), player.previewEnd()});
        const std::string companion = companionText(
            store, editor.meters(), player.previewStart(), player.previewEnd(), player.position(),
            editor.song().beatsBeforeFirstMarker(), editor.song().kept());
        if (song.empty() || ssc.empty() || companion.empty())
            __builtin_trap();
    }
};

} // namespace quillex::fuzz
