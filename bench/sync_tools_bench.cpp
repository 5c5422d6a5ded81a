// Nudge, grow and smooth over 2,000 beat markers with 100,000 notes to re-time (four
// charts of 25,000): a step plans the move, writes it and refreshes the store. Each
// benchmark moves back and forth so the song stays the same size.
#include <benchmark/benchmark.h>

#include <variant>

#include "app/session/editor.h"
#include "tools/beat_moves.h"

namespace {

using namespace quillex;

constexpr int kMarkers = 2000;
constexpr int kSpacing = 22050;

struct LargeSong {
    RecordingMessages messages;
    FixedMusicInfo music{44100, 1000 + (kMarkers + 10) * kSpacing};
    Editor editor{messages, music};
    ItemStore& store = editor.store();

    LargeSong() {
        for (int i = 0; i < kMarkers; ++i)
            store.addBeat(1000 + i * kSpacing);
        store.refresh();
        for (LevelIndex level = 0; level < 4; ++level)
            for (int n = 0; n < 25000; ++n)
                store.addNote(level, n % 4, RowPosition::fromRow(kRowsPerBeat + n * 3), {},
                              NoteKind::Tap);
        store.refresh();
    }
    void run(const std::variant<BeatMove, std::string_view>& plan) {
        if (const auto* move = std::get_if<BeatMove>(&plan))
            applyMove(store, *move);
        else
            std::abort();
    }
    // The region from the middle marker to the last.
    GrowRegion middleToEnd() {
        return std::get<GrowRegion>(growRegion(store, store.beats()[kMarkers / 2].sample));
    }
};

void BM_Nudge(benchmark::State& state) {
    LargeSong song;
    const SamplePosition cursor = song.store.beats()[kMarkers / 2].sample - 1;
    int direction = 1;
    for (auto _ : state) {
        song.run(planNudge(song.store, cursor, 50 * direction));
        direction = -direction;
    }
}
BENCHMARK(BM_Nudge)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_QuickGrow(benchmark::State& state) {
    LargeSong song;
    int step = 2;
    for (auto _ : state) {
        song.run(planQuickGrow(song.store, song.middleToEnd(), step));
        step = -step;
    }
}
BENCHMARK(BM_QuickGrow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_Smooth(benchmark::State& state) {
    LargeSong song;
    for (auto _ : state)
        song.run(planSmooth(song.store, song.middleToEnd(), 4));
}
BENCHMARK(BM_Smooth)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
