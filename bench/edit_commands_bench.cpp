// The edit commands on large songs: Undo and Redo of a one-note edit, the memory the
// history keeps after many edits, Select All + Copy + Paste, and the note transforms.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <ctime>

#include <filesystem>
#include <fstream>

#include "editing_fixture.h"
#include "tools/note_transforms.h"

namespace {

using namespace quillex;

// Bytes the allocator has handed out, large blocks (mapped on their own) included.
std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// CPU time of this thread, in ms: on a shared machine it varies far less than wall time.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// An editor with a dispatcher and the edit commands, over 1,000 beat markers, and
// either 48 levels of 2,000 notes or one level of `singleChartNotes` notes.
struct EditingSong : test::EditingFixture {
    std::filesystem::path musicPath = std::filesystem::temp_directory_path() /
                                      ("quillex-ebench-" + std::to_string(::getpid()) + ".ogg");

    explicit EditingSong(int singleChartNotes = 0) : test::EditingFixture(44100 * 3600) {
        std::ofstream(musicPath) << "x";
        editor.player().loadMusic(musicPath.string(), "x", true);
        ItemStore& store = editor.store();
        const int beats = singleChartNotes > 0 ? singleChartNotes / 4 + 2 : 1000;
        for (int i = 0; i < beats; ++i)
            store.addBeat(1000 + i * 22050 / 2);
        store.refresh();
        if (singleChartNotes > 0) {
            for (int n = 0; n < singleChartNotes; ++n)
                store.addNote(0, n % 4, RowPosition::fromRow(48 + n * 12 + n % 5), {},
                              NoteKind::Tap);
        } else {
            for (LevelIndex level = 0; level < kLevelCount; ++level)
                for (int n = 0; n < 2000; ++n)
                    store.addNote(level, n % columnCountOfLevel(level),
                                  RowPosition::fromRow(48 + n * 12), {}, NoteKind::Tap);
        }
        store.refresh();
        dispatcher.selectLevel(0);
    }
    ~EditingSong() { std::filesystem::remove(musicPath); }

    // One note added in an "Edit Note" entry, as the column keys do.
    void addOneNote(int i) {
        dispatcher.openUndoEntry("Edit Note");
        editor.store().addNote(0, i % 4, RowPosition::fromRow(53 + 12 * i), {}, NoteKind::Tap);
        editor.store().refresh();
        dispatcher.commitUndoEntry();
    }
};

// Argument 0: the 48-level song; otherwise a single chart of that many notes.
void BM_UndoRedoOneNoteEdit(benchmark::State& state) {
    EditingSong song(static_cast<int>(state.range(0)));
    song.addOneNote(0);
    for (auto _ : state) {
        song.dispatcher.dispatch(CommandId::Undo);
        song.dispatcher.dispatch(CommandId::Redo);
    }
    state.SetLabel("one Undo and one Redo per iteration");
}
BENCHMARK(BM_UndoRedoOneNoteEdit)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond);

// What the history keeps for 1,000 one-note edits of a 100,000-note chart, against the
// size of the song's own items: the heap grown from the first edit to the thousandth
// (the first edit settles the lists into their exact sizes). Unchanged lists are
// shared and the edited chart is kept as patches, so this stays a few percent.
void BM_HistoryMemoryAfterOneThousandEdits(benchmark::State& state) {
    for (auto _ : state) {
        auto song = std::make_unique<EditingSong>(100000);
        song->addOneNote(0);
        const std::size_t settled = heapInUse();
        const double cpuBefore = threadCpuMs();
        for (int i = 1; i < 1000; ++i)
            song->addOneNote(i);
        state.counters["cpu_ms_per_edit"] = (threadCpuMs() - cpuBefore) / 999;
        const ItemStore& store = song->editor.store();
        std::size_t items = store.beats().size() + store.pauses().size();
        for (LevelIndex level = 0; level < kLevelCount; ++level)
            items += store.notes(level).size();
        const double songBytes = static_cast<double>(items * sizeof(EditItem));
        const double historyBytes = static_cast<double>(heapInUse() - settled);
        state.counters["song_bytes"] = songBytes;
        state.counters["history_bytes"] = historyBytes;
        state.counters["history_share"] = historyBytes / songBytes;
    }
}
BENCHMARK(BM_HistoryMemoryAfterOneThousandEdits)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SelectAllCopyPasteTenThousandNotes(benchmark::State& state) {
    EditingSong song(10000);
    for (auto _ : state) {
        song.dispatcher.dispatch(CommandId::SelectAll);
        song.dispatcher.dispatch(CommandId::Copy);
        song.editor.player().seek(0);
        song.dispatcher.dispatch(CommandId::Paste);
    }
}
BENCHMARK(BM_SelectAllCopyPasteTenThousandNotes)->Unit(benchmark::kMillisecond);

void BM_TransformOneHundredThousandNotes(benchmark::State& state) {
    EditingSong song(100000);
    song.dispatcher.dispatch(CommandId::SelectAll);
    const auto command = static_cast<CommandId>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh off-grid chart each time, so quantize has work.
        if (command == CommandId::QuantizeTo4th)
            for (EditItem& n : song.editor.store().editNotes(0))
                n.fraction = n.fraction == 0 ? 5 : n.fraction;
        state.ResumeTiming();
        song.dispatcher.dispatch(command);
    }
    state.SetLabel(command == CommandId::QuantizeTo4th ? "Quantize to 4ths" : "Turn left");
}
BENCHMARK(BM_TransformOneHundredThousandNotes)
    ->Arg(toInt(CommandId::QuantizeTo4th))
    ->Arg(toInt(CommandId::TurnLeft))
    ->Unit(benchmark::kMillisecond);

} // namespace
