#include <gtest/gtest.h>

#include <vector>

#include "audio/play_along_chart.h"
#include "items/warp_edits.h"
#include "support/store_fixture.h"

namespace quillex {
namespace {

class WarpTimingTest : public ::testing::Test, protected test::StoreFixture {
  protected:
    static constexpr SamplePosition kFirst = 44100;
    static constexpr SamplePosition kBeat = 22050; // 120 BPM
    // Ten markers a beat apart, added after a two-beat warp at beat 5.
    void addWarpedBeats() {
        store.addWarp({5, 0}, {2, 0});
        addBeats(10, kFirst, kBeat);
    }
    std::vector<std::int32_t> beatNumbers() const {
        std::vector<std::int32_t> numbers;
        for (const EditItem& b : store.beats())
            numbers.push_back(b.beat);
        return numbers;
    }
    std::vector<std::pair<std::int32_t, std::int32_t>> warpSpans() const {
        std::vector<std::pair<std::int32_t, std::int32_t>> spans;
        for (const EditItem& w : store.warps())
            spans.push_back({w.row(), w.lengthRows()});
        return spans;
    }
};

TEST_F(WarpTimingTest, WarpRowsTakeNoTimeAndTheMarkersAreNumberedPastThem) {
    addWarpedBeats();
    EXPECT_EQ(beatNumbers(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 8, 9, 10, 11, 12}));
    const TimingMap map = store.timing();
    const SamplePosition warpAt = kFirst + 4 * kBeat;
    struct Case {
        std::int32_t row;
        SamplePosition sample;
        bool inside;
    };
    for (const Case& c : std::vector<Case>{
             {216, warpAt - kBeat / 2, false}, // before the warp
             {240, warpAt, true},              // its start is skipped
             {300, warpAt, true},
             {335, warpAt, true},
             {336, warpAt, false},             // its end sounds at its start's time
             {360, warpAt + kBeat / 2, false}, // and the rows after take time again
             {384, warpAt + kBeat, false},
         }) {
        EXPECT_EQ(map.rowToSample(RowPosition::fromRow(c.row)), c.sample) << c.row;
        EXPECT_EQ(map.insideWarp(c.row), c.inside) << c.row;
    }
    // Samples lead to the rows played there: the warp's time to the row after it.
    EXPECT_EQ(map.sampleToRow(warpAt).row(), 336);
    EXPECT_EQ(map.sampleToRow(warpAt + kBeat / 2).row(), 360);
    EXPECT_EQ(map.sampleToRow(warpAt - kBeat / 2).row(), 216);
    // The tempo over the warp is the tempo of the rows that take time.
    EXPECT_NEAR(map.intervalBpm(4), 120.0, 1e-9);
    // The sequential converter agrees with single conversions.
    TimingMap::SequentialConverter toSample(map);
    for (std::int32_t row = 48; row < 12 * 48; row += 5)
        EXPECT_EQ(toSample(RowPosition::fromRow(row)), map.rowToSample(RowPosition::fromRow(row)))
            << row;
}

TEST_F(WarpTimingTest, RefreshMergesOverlappingWarpsAndDropsThoseOffTheGrid) {
    struct Case {
        std::vector<std::pair<std::int32_t, std::int32_t>> added, kept;
    };
    for (const Case& c : std::vector<Case>{
             {{{100, 50}, {140, 30}}, {{100, 70}}},   // overlapping
             {{{100, 20}, {120, 10}}, {{100, 30}}},   // touching
             {{{200, 10}, {100, 200}}, {{100, 200}}}, // one inside another
             {{{48, 24}}, {{48, 24}}},                // on beat 1 (the file's beat 0)
             {{{20, 10}, {100, 0}, {2000, 5}}, {}},   // before beat 1, empty, past the end
         }) {
        store.clearSong();
        for (auto [row, length] : c.added)
            store.addWarp(RowPosition::fromRow(row), RowPosition::fromRow(length));
        addBeats(20, kFirst, kBeat);
        EXPECT_EQ(warpSpans(), c.kept);
    }
}

TEST_F(WarpTimingTest, NotesInsideAWarpAreNeitherTickedNorJudged) {
    addWarpedBeats();
    for (std::int32_t row : {192, 240, 288, 336, 384})
        addNote(0, 0, row);
    store.refresh();
    const SamplePosition warpAt = kFirst + 4 * kBeat;
    EXPECT_EQ(store.noteTimes(),
              (std::vector<SamplePosition>{kFirst + 3 * kBeat, warpAt, warpAt + kBeat}));
    const auto chart = buildPlayAlongChart(store, {});
    std::vector<SamplePosition> judged;
    for (const JudgeRow& row : chart->rows)
        judged.push_back(row.rowSample);
    EXPECT_EQ(judged, store.noteTimes());
}

// The game plays a delay before a stop on one row: a delay followed directly by a pause,
// the row's notes between them, sounding after the delay and before the stop.
TEST_F(WarpTimingTest, ADelayAndAStopOnOneRowBothApply) {
    addBeats(12, kFirst, kBeat);
    store.addDelay(RowPosition::fromRow(240), RowPosition::fromRow(24));
    addPause(264, 48);
    addNote(0, 0, 264);
    store.refresh();
    ASSERT_EQ(store.delays().size(), 1u);
    ASSERT_EQ(store.pauses().size(), 1u);
    const TimingMap map = store.timing();
    EXPECT_DOUBLE_EQ(map.pauseSeconds(store.delays()[0]), 0.25);
    EXPECT_DOUBLE_EQ(map.pauseSeconds(store.pauses()[0]), 0.5);
    EXPECT_EQ(store.notes(0)[0].sample, kFirst + 4 * kBeat + kBeat / 2);
}

TEST_F(WarpTimingTest, OpeningAndClosingAWarpKeepsTheChartInTime) {
    addBeats(12, kFirst, kBeat);
    for (std::int32_t row : {150, 230, 240, 300, 400})
        addNote(0, 1, row);
    addNote(0, 2, 200, 100); // held across the warp's start
    addPause(420, 12);
    store.refresh();
    const ItemSnapshot before = store.snapshot();

    openWarpRows(store, RowPosition::fromRow(230), 96);
    store.refresh();
    EXPECT_EQ(noteRows(0), (std::vector<std::int32_t>{150, 200, 326, 336, 396, 496}));
    for (std::size_t i = 0; i < store.notes(0).size(); ++i)
        EXPECT_EQ(store.notes(0)[i].sample, before.notes[0][i].sample) << i;
    EXPECT_EQ(store.notes(0)[1].endRow(), 396);
    EXPECT_EQ(store.pauses()[0].row(), 516);
    EXPECT_EQ(beatSamples().size(), 12u); // every marker kept, two numbered past the warp

    closeWarpRows(store, 0);
    store.refresh();
    EXPECT_EQ(noteRows(0), (std::vector<std::int32_t>{150, 200, 230, 240, 300, 400}));
    for (std::size_t i = 0; i < store.notes(0).size(); ++i)
        EXPECT_EQ(store.notes(0)[i].sample, before.notes[0][i].sample) << i;
    EXPECT_EQ(store.pauses()[0].row(), 420);
}

} // namespace
} // namespace quillex
