#include <gtest/gtest.h>

#include "support/store_fixture.h"
#include "tools/chart_statistics.h"
#include "tools/stream_breakdown.h"

namespace quillex {
namespace {

TEST(StreamBreakdown, RunsOfStreamMeasuresAndTheBreaksBetweenThem) {
    struct Case {
        std::vector<int> rowsPerMeasure;
        std::string expected;
    } cases[] = {
        {{}, "-"},
        {{15, 8, 4}, "-"},                      // nearly stream is no stream
        {{0, 0, 16, 24, 0}, "2"},               // breaks at either end are left out
        {{16, 16, 0, 16}, "2 (1) 1"},           // a one-measure break
        {{16, 1, 2, 3, 15, 32, 32}, "1 (4) 2"}, // four measures: still short
        {{48, 0, 0, 0, 0, 0, 16, 16, 0, 0, 20}, "1 /5/ 2 (2) 1"}, // five: a long break
    };
    for (const Case& c : cases)
        EXPECT_EQ(streamBreakdown(c.rowsPerMeasure), c.expected);
}

// 120 BPM from one second in: a measure is two seconds; beat marker 1 is row 48.
struct ChartFixture : test::StoreFixture {
    ChartFixture() { addBeats(40, 44100, 22050); }
    void add(int column, std::int32_t row, NoteKind kind = NoteKind::Tap, std::int32_t length = 0) {
        store.addNote(0, column, RowPosition::fromRow(row), RowPosition::fromRow(length), kind);
    }
};

TEST(ChartStatistics, CountsAndDensityOfAHandWrittenChart) {
    ChartFixture f;
    f.add(0, 48); // a jump
    f.add(3, 48);
    f.add(0, 96, NoteKind::Hold, 24); // a hand of a hold, a tap and a lift
    f.add(1, 96);
    f.add(2, 96, NoteKind::Lift);
    f.add(1, 144, NoteKind::Mine); // a mine alone is no note to step on
    for (int i = 0; i < 16; ++i)   // a measure of 16ths, one a roll
        f.add(i % 4, 192 + 12 * i, i == 5 ? NoteKind::Roll : NoteKind::Tap, i == 5 ? 6 : 0);
    f.store.refresh();

    struct Case {
        int beatsBeforeFirstMarker;
        double peak, average;
        std::string breakdown;
        std::vector<int> notesPerMeasure;
    } cases[] = {
        // Measures start on row 0 (a beat before marker 1, at the first interval's
        // tempo): 5 notes, then the 16 of the stream measure.
        {1, 8.0, 21 / 4.0, "1", {5, 16}},
        // The file starts a beat later, so no measure holds the whole run.
        {0, 6.0, 21 / 4.0, "-", {9, 12}},
    };
    for (const Case& c : cases) {
        const ChartStatistics stats = chartStatistics(f.store.notes(0), f.store.timing(),
                                                      {f.store.pauses(), f.store.delays()},
                                                      measureOriginRow(c.beatsBeforeFirstMarker));
        EXPECT_EQ(stats.taps, 21);
        EXPECT_EQ(stats.jumps, 1);
        EXPECT_EQ(stats.hands, 1);
        EXPECT_EQ(stats.holds, 1);
        EXPECT_EQ(stats.rolls, 1);
        EXPECT_EQ(stats.lifts, 1);
        EXPECT_EQ(stats.mines, 1);
        EXPECT_DOUBLE_EQ(stats.peakNps, c.peak);
        EXPECT_DOUBLE_EQ(stats.averageNps, c.average);
        EXPECT_EQ(stats.breakdown, c.breakdown);
        std::vector<int> notes;
        for (const MeasureDensity& m : stats.measures)
            notes.push_back(m.notes);
        EXPECT_EQ(notes, c.notesPerMeasure);
    }
}

// A stop's rows are the editor's alone: the measure of 16ths after a beat's stop is
// still one measure of the file, and a note inside the stop is not in the file.
TEST(ChartStatistics, MeasuresAreTheFilesAroundAStop) {
    ChartFixture f;
    f.addPause(96, 48);
    f.add(0, 48);
    f.add(0, 96);
    f.add(1, 120); // inside the stop
    for (int i = 0; i < 16; ++i)
        f.add(i % 4, 192 + 48 + 12 * i);
    f.store.refresh();
    const ChartStatistics stats = chartStatistics(f.store.notes(0), f.store.timing(),
                                                  {f.store.pauses(), f.store.delays()}, 0);
    EXPECT_EQ(stats.taps, 18);
    EXPECT_EQ(stats.breakdown, "1");
    std::vector<int> notes;
    for (const MeasureDensity& m : stats.measures)
        notes.push_back(m.notes);
    EXPECT_EQ(notes, (std::vector<int>{2, 16}));
}

} // namespace
} // namespace quillex
