// The keyboard's timing and cost: how close beats tapped with B during playback land
// to the moment of the press, through the press's stamp, the real 1 ms timer thread
// and the player's silent clock, at three speeds; what one keystroke costs on a 100,000-note chart;
// and what judging one key press costs on such a chart.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "app/input/input_timer.h"
#include "app/shell/keyboard_input.h"
#include "app/input/keyboard_note_entry.h"
#include "app/input/recording.h"
#include "editing_fixture.h"

namespace {

using namespace quillex;
using Clock = std::chrono::steady_clock;

struct KeyboardSong : test::EditingFixture {
    explicit KeyboardSong(int notes = 0) : test::EditingFixture(44100 * 600) {
        std::ofstream(musicPath) << "x";
        editor.player().loadMusic(musicPath.string(), "x", true);
        for (int i = 0; i < std::max(20, notes / 4 + 2); ++i)
            editor.store().addBeat(i * 11025);
        editor.store().refresh();
        for (int n = 0; n < notes; ++n)
            editor.store().addNote(0, n % 4, RowPosition::fromRow(48 + n * 12 + n % 5), {},
                                   NoteKind::Tap);
        editor.store().refresh();
        dispatcher.selectLevel(0);
        recording.registerCommands();
    }
    ~KeyboardSong() { std::filesystem::remove(musicPath); }

    std::filesystem::path musicPath = std::filesystem::temp_directory_path() /
                                      ("quillex-kbench-" + std::to_string(::getpid()) + ".ogg");
    InputFlags flags;
    Recording recording{editor, dispatcher, commands, flags, false};
    KeyStateTable states;
    KeyboardNoteEntry noteEntry{editor, dispatcher, keys, states, state};
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * (values.size() - 1))];
}

// Argument: playback speed in percent. Each press's true position is the channel's
// position at the moment the key goes down; the error is how much later the beat
// lands, in milliseconds of wall time.
void BM_TappingAccuracy(benchmark::State& state) {
    const int speed = static_cast<int>(state.range(0));
    for (auto _ : state) {
        KeyboardSong song;
        song.dispatcher.dispatch(CommandId::SyncMode); // beats are tapped in sync mode
        std::mutex queueMutex;
        std::vector<std::function<void()>> queue;
        MusicPlayer& player = song.editor.player();
        song.keys.setStamp(channelStamp(player)); // as the window's key events stamp presses
        InputTick tick{song.editor.busyCounter(),
                       song.state,
                       song.keys,
                       song.states,
                       [](CommandId) {},
                       [&](std::function<void()> task) {
                           std::lock_guard lock(queueMutex);
                           queue.push_back(std::move(task));
                       },
                       song.recording,
                       song.flags,
                       {[&] { return player.playing(); }, [&] { return player.position(); },
                        [&] { return player.channelPosition(); }}};
        InputTimer timer;
        timer.start(std::chrono::milliseconds(1), [&] { tick.tick(); });
        player.setSpeed(speed);
        player.play();
        std::vector<SamplePosition> truth;
        for (int press = 0; press < 60; ++press) {
            std::this_thread::sleep_for(std::chrono::microseconds(9000 + 1700 * (press % 7)));
            truth.push_back(player.channelPosition().value_or(-1));
            song.keys.setDown('B', true);
            std::this_thread::sleep_for(std::chrono::milliseconds(8));
            song.keys.setDown('B', false);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        timer.stop();
        std::vector<std::function<void()>> tasks;
        tasks.swap(queue);
        for (auto& task : tasks)
            task();
        song.recording.stop();

        std::vector<SamplePosition> taps;
        for (const EditItem& b : song.editor.store().beats())
            if (b.sample % 11025 != 0) // the tapped ones, not the song's own beats
                taps.push_back(b.sample);
        std::vector<double> errors;
        const double samplesPerMs = 44.1 * speed / 100.0;
        for (std::size_t i = 0; i < truth.size() && i < taps.size(); ++i)
            errors.push_back(std::abs(taps[i] - truth[i]) / samplesPerMs);
        state.counters["taps"] = static_cast<double>(taps.size());
        state.counters["median_ms"] = errors.empty() ? -1 : percentile(errors, 0.5);
        state.counters["p99_ms"] = errors.empty() ? -1 : percentile(errors, 0.99);
    }
}
BENCHMARK(BM_TappingAccuracy)->Arg(50)->Arg(100)->Arg(200)->Iterations(1)->UseRealTime();

// One column key pressed and released at a new row of a 100,000-note chart, its
// "Edit Note" entry included: the entry's state shares the chart, so the note's
// insertion copies it once.
void BM_KeystrokeOnALargeChart(benchmark::State& state) {
    KeyboardSong song(100000);
    MusicPlayer& player = song.editor.player();
    player.setSnap(48, false);
    int step = 0;
    for (auto _ : state) {
        player.seek(11025 * 3 + 229 * (step++ % 5000));
        song.keys.setDown('1', true);
        song.noteEntry.frame();
        song.keys.setDown('1', false);
        song.noteEntry.frame();
    }
}
BENCHMARK(BM_KeystrokeOnALargeChart)->Unit(benchmark::kMillisecond);

// A key pressed and released at a row of a 100,000-note chart, on the timer thread's
// path: a jump there (the play cursors found afresh by search), the tick that judges the
// press, the one that grades the row and the release.
void BM_JudgingAKeyPressOnALargeChart(benchmark::State& state) {
    // 100,000 notes as 50,000 two-note rows, five 192nds apart at 600 BPM, all inside
    // the ten-minute music.
    KeyboardSong song;
    ItemStore& store = song.editor.store();
    for (int i = 20; i < 6000; ++i)
        store.addBeat(i * 4410);
    store.refresh();
    for (int n = 0; n < 100000; ++n)
        store.addNote(0, n % 4, RowPosition::fromRow(48 + (n / 2) * 5), {}, NoteKind::Tap);
    store.refresh();
    MusicPlayer& player = song.editor.player();
    player.resetTickIndices(0);
    const auto chart = player.playAlongChart();
    PracticeJudge judge{[] {}};
    auto step = playAlongStep(player, judge);
    const std::size_t rows = chart->rows.size();
    std::size_t k = 0;
    for (auto _ : state) {
        const JudgeRow& row = chart->rows[(k += 7919) % rows];
        chart->reset(row.rowSample - 100);
        PracticeJudge::KeyInput keys{};
        for (std::size_t c = 0; c < keys.down.size(); ++c)
            keys.down[c] = row.notes[c] == '1';
        step(row.rowSample - 100, row.rowSample - 100, &keys, true);
        step(row.rowSample - 56, row.rowSample - 56, &keys, true);
        keys = {};
        step(row.rowSample - 12, row.rowSample - 12, &keys, true);
    }
    state.counters["notes"] = static_cast<double>(store.notes(0).size());
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["combo"] = judge.display().combo.load();
}
BENCHMARK(BM_JudgingAKeyPressOnALargeChart)->Unit(benchmark::kMicrosecond);

} // namespace
