// Refresh and snapshot of a large song: 1,000 beat markers (20 of them sub-beats),
// 50 pauses and 48 levels of 2,000 notes each.
#include <benchmark/benchmark.h>

#include "app/session/editor.h"

namespace {

using namespace quillex;

struct LargeSong {
    RecordingMessages messages;
    FixedMusicInfo music{44100, 44100 * 600};
    Editor editor{messages, music};

    LargeSong() {
        ItemStore& store = editor.store();
        const int spacing = 22050;
        for (int i = 0; i < 980; ++i)
            store.addBeat(1000 + i * spacing);
        for (int i = 0; i < 20; ++i) // sub-beats half-way through 20 beat intervals
            store.addBeatAtRow(1000 + (i * 40 + 5) * spacing + spacing / 2, {i * 40 + 6, 24});
        store.refresh();
        for (int i = 0; i < 50; ++i)
            store.addPause(RowPosition::fromRow(48 * (10 + i * 18)), {0, 12});
        for (LevelIndex level = 0; level < kLevelCount; ++level) {
            const int columns = columnCountOfLevel(level);
            for (int n = 0; n < 2000; ++n)
                store.addNote(level, n % columns, RowPosition::fromRow(48 + n * 12), {},
                              NoteKind::Tap);
        }
        store.refresh();
    }
};

void BM_RefreshUnchanged(benchmark::State& state) {
    LargeSong song;
    for (auto _ : state)
        song.editor.store().refresh();
}
BENCHMARK(BM_RefreshUnchanged)->Unit(benchmark::kMillisecond);

// A refresh after moving one beat: every note after it in every level is re-timed.
void BM_RefreshAfterBeatMove(benchmark::State& state) {
    LargeSong song;
    ItemStore& store = song.editor.store();
    int delta = 1;
    for (auto _ : state) {
        // The undo history keeps a snapshot after every edit, so every list the
        // refresh changes has to be copied first.
        const ItemSnapshot keep = store.snapshot();
        store.editBeats()[1].sample += delta;
        delta = -delta;
        store.refresh();
        benchmark::DoNotOptimize(keep.beats.size());
    }
}
BENCHMARK(BM_RefreshAfterBeatMove)->Unit(benchmark::kMillisecond);

void BM_Snapshot(benchmark::State& state) {
    LargeSong song;
    for (auto _ : state) {
        ItemSnapshot snapshot = song.editor.store().snapshot();
        benchmark::DoNotOptimize(snapshot);
    }
}
BENCHMARK(BM_Snapshot)->Unit(benchmark::kMicrosecond);

} // namespace
