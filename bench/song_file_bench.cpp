// Reading and writing a large `.sm` song: about 2 MB of text with 48 charts, some
// 100,000 notes, 1,000 tempo changes (half of them off the beat) and 50 stops. Reading
// is measured from the file to a refreshed item store with the music already decoded;
// writing from the store to a file on disk (written whole, then renamed into place).
// `quillex-tool stats` is measured whole: reading the song and every chart's figures.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include <sstream>

#include "app/session/editor.h"
#include "cli/song_tool.h"
#include "fileio/sm_parser.h"
#include "fileio/sm_writer.h"
#include "fileio/song_reader.h"
#include "fileio/song_writer.h"
#include "fileio/statement_text.h"
#include "silent_music.h"

namespace {

using namespace quillex;

constexpr int kMeasures = 400;
constexpr int kRowsPerMeasure = 12;

std::string largeSongText() {
    std::string text = "#TITLE:Bench;\r\n#MUSIC:song.ogg;\r\n#OFFSET:-0.05;\r\n#BPMS:0=150";
    for (int k = 1; k < 1000; ++k)
        text += "," + std::to_string(k * 1.5) + "=" + std::to_string(140 + k % 21);
    text += ";\r\n#STOPS:";
    for (int i = 0; i < 50; ++i)
        text += (i ? "," : "") + std::to_string(20 + 30 * i) + "=0.1";
    text += ";\r\n";
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        const int columns = columnCountOfLevel(level);
        text += "#NOTES:\r\n     " + std::string(gameTypeInfo(gameTypeOfLevel(level)).smName) +
                ":\r\n     bench:\r\n     " +
                std::string(difficultySmName(difficultyOfLevel(level))) +
                ":\r\n     5:\r\n     0,0,0,0,0:\r\n";
        for (int m = 0; m < kMeasures; ++m) {
            for (int r = 0; r < kRowsPerMeasure; ++r) {
                std::string row(static_cast<std::size_t>(columns), '0');
                const int index = m * kRowsPerMeasure + r + level;
                if (index % 9 < 4)
                    row[static_cast<std::size_t>((m + r) % columns)] = index % 31 == 0 ? 'M' : '1';
                text += row + "\r\n";
            }
            text += m + 1 < kMeasures ? ",\r\n" : ";\r\n";
        }
    }
    return text;
}

struct LargeSongFiles {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quillex-bench-" + std::to_string(::getpid()));
    test::SilentMusicFormat music;
    RecordingMessages messages;
    NullShellHooks shell;
    Editor editor{messages, shell, test::silentMusicBackend(music)};
    SongFileContext files = songFileContext(editor);
    std::string songPath = (folder / "large.sm").string();
    std::size_t songBytes = 0;
    std::size_t noteCount = 0;

    LargeSongFiles() {
        std::filesystem::create_directories(folder);
        music.frames = 44100 * 700;
        const std::string text = largeSongText();
        songBytes = text.size();
        std::ofstream(songPath, std::ios::binary) << text;
        std::ofstream((folder / "song.ogg").string()) << "x";
        if (!readSong(files, songPath))
            std::abort();
        for (LevelIndex level = 0; level < kLevelCount; ++level)
            noteCount += editor.store().notes(level).size();
    }
    ~LargeSongFiles() { std::filesystem::remove_all(folder); }
};

LargeSongFiles& largeSong() {
    static LargeSongFiles song;
    return song;
}

void BM_ReadLargeSm(benchmark::State& state) {
    LargeSongFiles& s = largeSong();
    for (auto _ : state) {
        s.editor.store().clearSong();
        s.editor.song().clearFileData();
        const JoinedText text = readJoinedText(s.songPath, TextKind::Song);
        SmFileContent content = parseSmText(text.text, s.editor.song().tags(), s.messages);
        s.editor.song().kept() = std::move(content.kept);
        if (!buildSmSong(s.files, content.timing))
            state.SkipWithError("the song did not build");
        s.messages.shown.clear();
    }
    state.counters["MB"] = static_cast<double>(s.songBytes) / 1e6;
    state.counters["notes"] = static_cast<double>(s.noteCount);
    state.counters["beats"] = static_cast<double>(s.editor.store().beats().size());
    state.counters["pauses"] = static_cast<double>(s.editor.store().pauses().size());
}
BENCHMARK(BM_ReadLargeSm)->Unit(benchmark::kMillisecond);

void BM_WriteLargeSm(benchmark::State& state) {
    LargeSongFiles& s = largeSong();
    const std::string out = (s.folder / "written.sm").string();
    for (auto _ : state)
        if (!writeSong(s.files, out, false))
            state.SkipWithError("the song was not written");
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
}
BENCHMARK(BM_WriteLargeSm)->Unit(benchmark::kMillisecond);

// The text alone, without the file system.
void BM_LargeSmText(benchmark::State& state) {
    LargeSongFiles& s = largeSong();
    const MusicPlayer& player = s.editor.player();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            smSongText({s.editor.song(), s.editor.store(), s.editor.meters(), player.musicPath(),
                        player.sampleRate(), player.previewStart(), player.previewEnd()}));
}
BENCHMARK(BM_LargeSmText)->Unit(benchmark::kMillisecond);

void BM_StatsToolOnLargeSm(benchmark::State& state) {
    LargeSongFiles& s = largeSong();
    std::size_t lines = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        if (runSongTool({"stats", s.songPath}, out, err, test::silentMusicBackend(s.music)) !=
            kToolSuccess)
            state.SkipWithError("stats failed");
        lines = static_cast<std::size_t>(std::count(out.view().begin(), out.view().end(), '\n'));
    }
    state.counters["charts"] = static_cast<double>(lines - 1);
}
BENCHMARK(BM_StatsToolOnLargeSm)->Unit(benchmark::kMillisecond);

} // namespace
