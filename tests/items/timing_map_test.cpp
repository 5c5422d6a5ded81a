#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/store_fixture.h"

namespace quillex {
namespace {

using test::StoreFixture;

TEST(RowPositionTest, BuildsFromRowCountsAndClampsNegatives) {
    EXPECT_EQ(RowPosition::fromRow(-1), (RowPosition{0, 0}));
    EXPECT_EQ(RowPosition::fromRow(95).beat, 1);
    EXPECT_EQ(RowPosition::fromRow(95).fraction, 47);
    EXPECT_EQ(RowPosition::fromRow(96).beat, 2);
    EXPECT_EQ(RowPosition::fromRow(96).fraction, 0);
    EXPECT_DOUBLE_EQ(smBeat(48), 0.0);
    EXPECT_DOUBLE_EQ(smBeat(72), 0.5);
    EXPECT_DOUBLE_EQ(smBeat(0), -1.0);
}

class ConversionTest : public ::testing::Test, protected StoreFixture {};

TEST_F(ConversionTest, RowsToSamplesAcrossRegularBeats) {
    addBeats(4, 1000, 22050);
    const TimingMap map = store.timing();
    EXPECT_FALSE(map.hasSubBeats());
    EXPECT_EQ(map.rowToSample(0, 47), 0); // before beat 1
    EXPECT_EQ(map.rowToSample(1, 0), 1000);
    EXPECT_EQ(map.rowToSample(1, 24), 1000 + 11025);
    EXPECT_EQ(map.rowToSample(2, 1), 1000 + 22050 + 22050 / 48);
    EXPECT_EQ(map.rowToSample(4, 0), 1000 + 3 * 22050); // the last marker
    EXPECT_EQ(map.rowToSample(4, 10), 1000 + 3 * 22050);
    EXPECT_EQ(map.rowToSample(5, 0), 0); // past the marker count
}

TEST_F(ConversionTest, SamplesToRowsRoundToTheNearestRow) {
    addBeats(3, 44100, 44100);
    const TimingMap map = store.timing();
    EXPECT_EQ(map.sampleToRow(44100).row(), 48);
    EXPECT_EQ(map.sampleToRow(44100 + 22050).row(), 72);
    EXPECT_EQ(map.sampleToRow(44100 + 459).row(), 48); // 0.4996 of a row
    EXPECT_EQ(map.sampleToRow(44100 + 460).row(), 49); // rounds up past half
    // Before the first marker: from sample 0 / row 0 up to beat 1.
    EXPECT_EQ(map.sampleToRow(0).row(), 0);
    EXPECT_EQ(map.sampleToRow(22050).row(), 24);
    // After the last marker: toward the next whole beat at the music's last sample.
    const SamplePosition last = 3 * 44100;
    const double perRow = (music.musicLength() - 1.0 - last) / 48.0;
    EXPECT_EQ(map.sampleToRow(last + static_cast<SamplePosition>(perRow * 10)).row(), 144 + 10);
    // Negative samples clamp to row 0.
    EXPECT_EQ(map.sampleToRow(-50000).row(), 0);
}

TEST_F(ConversionTest, RoundTripsRowsThroughSamples) {
    addBeats(20, 5000, 21000);
    const TimingMap map = store.timing();
    for (std::int32_t row = 48; row <= 20 * 48; row += 7)
        EXPECT_EQ(map.sampleToRow(map.rowToSample(RowPosition::fromRow(row))).row(), row) << row;
}

TEST_F(ConversionTest, FewerThanTwoMarkersGiveRowZero) {
    EXPECT_EQ(store.timing().sampleToRow(1234).row(), 0);
    addBeats(1, 1000, 0);
    EXPECT_EQ(store.timing().sampleToRow(100000).row(), 0);
    EXPECT_EQ(store.timing().rowToSample(1, 0), 1000);
}

// While a file is read the list may hold one marker, a sub-beat, before a warp: rows
// on either side of it take its sample (the search once read past the list's end).
TEST_F(ConversionTest, ALoneMarkerTimesEveryRowAtItsSample) {
    store.addWarp(RowPosition::fromRow(96), RowPosition::fromRow(48));
    addSubBeat(5000, 1, 1);
    const TimingMap map = store.timing();
    TimingMap::SequentialConverter convert(map);
    for (std::int32_t row : {48, 49, 200}) {
        EXPECT_EQ(map.rowToSample(RowPosition::fromRow(row)), 5000) << row;
        EXPECT_EQ(convert(RowPosition::fromRow(row)), 5000) << row;
    }
}

TEST_F(ConversionTest, SubBeatsPinOffBeatRows) {
    // Beat 1 at 0, a sub-beat at fraction 12 pinned at 30000 (late), beat 2 at 44100.
    addBeat(0);
    addBeat(44100);
    addSubBeat(30000, 1, 12);
    store.refresh();
    const TimingMap map = store.timing();
    ASSERT_TRUE(map.hasSubBeats());
    ASSERT_EQ(map.markerCount(), 3u);
    EXPECT_EQ(map.rowToSample(1, 0), 0);
    EXPECT_EQ(map.rowToSample(1, 12), 30000);
    EXPECT_EQ(map.rowToSample(1, 6), 15000);
    EXPECT_EQ(map.rowToSample(1, 30), 30000 + (44100 - 30000) / 2);
    EXPECT_EQ(map.rowToSample(2, 0), 44100);
    EXPECT_EQ(map.rowToSample(3, 0), 44100); // past the last marker
    EXPECT_EQ(map.rowToSample(0, 40), 0);
    EXPECT_EQ(map.sampleToRow(30000).row(), 60);
    EXPECT_EQ(map.sampleToRow(15000).row(), 54);
}

// The converter the refresh re-times whole charts with must give rowToSample's
// answer for rows in any order: ascending, backwards, and jumping across markers.
TEST_F(ConversionTest, SequentialConversionMatchesSingleRows) {
    addBeats(6, 1000, 22050);
    addSubBeat(1000 + 22050 + 7000, 2, 12);
    addSubBeat(1000 + 3 * 22050 + 15000, 4, 40);
    store.refresh();
    const TimingMap map = store.timing();
    ASSERT_TRUE(map.hasSubBeats());
    std::vector<std::int32_t> rows;
    for (std::int32_t row = 0; row <= 8 * 48; ++row)
        rows.push_back(row);
    for (std::int32_t row = 8 * 48; row >= 0; row -= 7)
        rows.push_back(row);
    for (std::int32_t row : {300, 50, 250, 48, 280, 100, 330})
        rows.push_back(row);
    TimingMap::SequentialConverter toSample(map);
    for (std::int32_t row : rows)
        EXPECT_EQ(toSample(RowPosition::fromRow(row)), map.rowToSample(RowPosition::fromRow(row)))
            << "row " << row;
}

TEST_F(ConversionTest, MarkersAtSampleZeroAndAtTheLastSample) {
    music.set(44100, 88200);
    addBeat(0);
    addBeat(44100);
    addBeat(88200);
    store.refresh();
    const TimingMap map = store.timing();
    ASSERT_EQ(map.markerCount(), 3u);
    EXPECT_EQ(map.rowToSample(1, 0), 0);
    EXPECT_EQ(map.rowToSample(3, 0), 88200);
    EXPECT_EQ(map.sampleToRow(0).row(), 48);
    EXPECT_EQ(map.sampleToRow(88200).row(), 144);
    EXPECT_EQ(map.sampleToRow(-5).row(), 0);
}

class BpmTest : public ::testing::Test, protected StoreFixture {};

TEST_F(BpmTest, IntervalTempoFromMarkerSpacing) {
    addBeat(0);
    addBeat(22050);
    addSubBeat(11025, 1, 24);
    store.refresh();
    const TimingMap map = store.timing();
    EXPECT_DOUBLE_EQ(map.intervalBpm(0), 120.0);
    EXPECT_DOUBLE_EQ(map.intervalBpm(1), 120.0);
    EXPECT_DOUBLE_EQ(map.intervalBpm(2), 0.0); // no marker after the last
    EXPECT_DOUBLE_EQ(map.bpmAt(5000), 120.0);
    EXPECT_DOUBLE_EQ(map.bpmAt(-1), 0.0);
    EXPECT_DOUBLE_EQ(map.bpmAt(22050), 0.0); // at the last marker
}

TEST_F(BpmTest, AverageIsTakenOverSamplesPerBeat) {
    addBeat(0);
    addBeat(22050);
    addBeat(66150);
    store.refresh();
    const TimingMap map = store.timing();
    EXPECT_NEAR(map.averageBpm(), 80.0, 1e-9);
    EXPECT_NEAR(map.averageBpm(1, 2), 60.0, 1e-9);
    EXPECT_DOUBLE_EQ(map.lowestBpm(), 60.0);
    EXPECT_DOUBLE_EQ(map.highestBpm(), 120.0);
    EXPECT_DOUBLE_EQ(map.bpmAt(30000), 60.0);
}

TEST_F(BpmTest, ShownTempoIsTheSimplestThatKeepsEveryMarkerOfARunWithinHalfASample) {
    struct Case {
        std::vector<SamplePosition> markers;
        double lowest, highest, atSecondInterval;
    };
    std::vector<SamplePosition> autofilled; // 160 BPM: whole samples alternate
    for (int k = 0; k < 40; ++k)
        autofilled.push_back(static_cast<SamplePosition>(std::floor(k * 16537.5 + 0.5)));
    // 160 BPM from 0.345 s as a file places them: the first marker is half a sample
    // off the line, so a line through it misses later markers by a whole sample.
    std::vector<SamplePosition> fromOffset;
    for (int k = 0; k < 500; ++k)
        fromOffset.push_back(
            static_cast<SamplePosition>(std::floor(0.345 * 44100 + k * 16537.5 + 0.5)));
    const Case cases[] = {
        {autofilled, 160.0, 160.0, 160.0},
        {fromOffset, 160.0, 160.0, 160.0},
        {{0, 22050, 44100, 66150, 90000}, 110.94, 120.0, 120.0}, // the last one moved
    };
    for (const Case& c : cases) {
        StoreFixture f;
        for (SamplePosition s : c.markers)
            f.addBeat(s);
        f.store.refresh();
        const TimingMap map = f.store.timing();
        EXPECT_DOUBLE_EQ(map.lowestBpm(), c.lowest) << c.markers.back();
        EXPECT_DOUBLE_EQ(map.highestBpm(), c.highest) << c.markers.back();
        EXPECT_DOUBLE_EQ(map.bpmAt(c.markers[1]), c.atSecondInterval) << c.markers.back();
    }
}

TEST_F(BpmTest, OneMarkerHasNoTempo) {
    addBeats(1, 500, 0);
    const TimingMap map = store.timing();
    EXPECT_DOUBLE_EQ(map.averageBpm(), 0.0);
    EXPECT_DOUBLE_EQ(map.lowestBpm(), 1000000.0);
    EXPECT_DOUBLE_EQ(map.highestBpm(), 0.0);
    EXPECT_DOUBLE_EQ(StoreFixture().store.timing().averageBpm(), 0.0);
}

TEST_F(BpmTest, PauseSecondsFollowTheBeatsAroundIt) {
    addBeats(5, 0, 22050);
    addPause(96, 48); // one beat at 120 BPM
    store.refresh();
    ASSERT_EQ(store.pauses().size(), 1u);
    EXPECT_DOUBLE_EQ(store.timing().pauseSeconds(store.pauses()[0]), 0.5);
}

} // namespace
} // namespace quillex
