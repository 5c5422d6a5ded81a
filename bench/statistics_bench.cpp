// The density graph's figures after an edit of a 100,000-note chart (a jump on every
// 16th at 150 BPM, some 3,100 measures): the edit and its refresh are the editor's and
// not timed; what is timed is what the next frame adds, the graph taking the chart's
// figures again.
#include <benchmark/benchmark.h>

#include "app/session/editor.h"
#include "view/density_graph.h"

namespace {

using namespace quillex;

constexpr int kNotes = 100000;
constexpr SamplePosition kSamplesPerBeat = 17640; // 150 BPM

struct LargeChart {
    RecordingMessages messages;
    FixedMusicInfo music{44100, kSamplesPerBeat*(kNotes / 8 + 8)};
    Editor editor{messages, music};
    ItemStore& store = editor.store();
    DensityGraph graph;

    LargeChart() {
        for (int beat = 0; beat < kNotes / 8 + 4; ++beat)
            store.addBeat(44100 + beat * kSamplesPerBeat);
        for (int n = 0; n < kNotes; ++n)
            store.addNote(0, n % 2 == 0 ? 0 : 3, RowPosition::fromRow(48 + 12 * (n / 2)), {},
                          NoteKind::Tap);
        store.refresh();
        graph.update(store);
    }
};

void BM_DensityAfterAnEdit(benchmark::State& state) {
    LargeChart chart;
    int edit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A tap on a free column of a row far into the chart, as a click would add it.
        chart.store.addNote(0, 1 + edit % 2, RowPosition::fromRow(48 + 12 * (1000 + edit / 2)), {},
                            NoteKind::Tap);
        chart.store.refresh();
        ++edit;
        state.ResumeTiming();
        chart.graph.update(chart.store);
        benchmark::DoNotOptimize(chart.graph.statistics().peakNps);
    }
    state.counters["notes"] = static_cast<double>(chart.store.notes(0).size());
    state.counters["measures"] = static_cast<double>(chart.graph.statistics().measures.size());
}
BENCHMARK(BM_DensityAfterAnEdit)->Unit(benchmark::kMillisecond)->Iterations(400);

} // namespace
