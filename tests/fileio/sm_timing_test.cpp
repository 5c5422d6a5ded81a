#include <gtest/gtest.h>

#include "fileio/sm_timing.h"

namespace quillex {
namespace {

constexpr int kRate = 44100;

// A dance-single Beginner chart (level 0) from measure texts.
SmTimingInput songWith(std::vector<SmTimedValue> bpms, std::vector<SmTimedValue> stops = {},
                       std::vector<std::string> measures = {}, double offset = 0) {
    SmTimingInput input;
    input.offsetSeconds = offset;
    input.bpms = std::move(bpms);
    input.stops = std::move(stops);
    input.levels[0].measures = std::move(measures);
    return input;
}

std::vector<SamplePosition> samplesOf(const ConvertedTiming& t) {
    std::vector<SamplePosition> out;
    for (const ConvertedBeat& b : t.beats)
        out.push_back(b.sample);
    return out;
}

std::vector<std::int32_t> noteRows(const ConvertedTiming& t) {
    std::vector<std::int32_t> out;
    for (const ConvertedNote& n : t.notes)
        out.push_back(n.row);
    return out;
}

TEST(SmTiming, OffsetPlacesTheFirstBeatAndTheMusicEndsTheMarkers) {
    const ConvertedTiming t = convertSmTiming(songWith({{0, 120}}, {}, {}, -0.5), kRate, 88200);
    EXPECT_EQ(samplesOf(t), (std::vector<SamplePosition>{22050, 44100, 66150, 88200}));
    EXPECT_EQ(t.beats.front().row, 48);
}

TEST(SmTiming, BeatsBeforeTheMusicAreDroppedAndNotesMoveWithThem) {
    // .sm beat 0 sounds at -22050: no marker. .sm beat 1 at sample 0 becomes marker 1.
    const ConvertedTiming t =
        convertSmTiming(songWith({{0, 120}}, {}, {"0000100000000000"}, 0.5), kRate, 44100);
    EXPECT_EQ(samplesOf(t), (std::vector<SamplePosition>{0, 22050, 44100}));
    EXPECT_EQ(t.beats.front().row, 48);
    ASSERT_EQ(t.notes.size(), 1u);
    EXPECT_EQ(t.notes[0].row, 48); // .sm beat 1 is beat marker 1
}

TEST(SmTiming, ASubBeatFirstInTheMusicKeepsTheBeatsAfterItRegular) {
    // .sm beat 0 lies before the music, the tempo change at beat 0.5 just inside it.
    const ConvertedTiming t =
        convertSmTiming(songWith({{0, 120}, {0.5, 120}}, {}, {}, 0.1), kRate, kRate);
    ASSERT_GE(t.beats.size(), 2u);
    EXPECT_EQ(t.beats[0].sample, 6615);
    EXPECT_EQ(t.beats[0].fraction, 24);
    EXPECT_EQ(t.beats[1].sample, 17640);
    EXPECT_EQ(t.beats[1].fraction, 0);
}

TEST(SmTiming, ATempoChangeOffTheBeatMakesASubBeat) {
    const ConvertedTiming t = convertSmTiming(songWith({{0, 120}, {2.5, 60}}), kRate, 5 * 22050);
    ASSERT_GE(t.beats.size(), 5u);
    EXPECT_EQ(t.beats[3].row, 48 + 2 * 48 + 24);
    EXPECT_EQ(t.beats[3].fraction, 24);
    EXPECT_EQ(t.beats[4].fraction, 0);
    EXPECT_EQ(t.beats[3].sample, 55125);
    EXPECT_EQ(t.beats[4].row, 48 + 3 * 48);
    EXPECT_EQ(t.beats[4].sample, 55125 + 22050); // half a beat at 60 BPM
}

TEST(SmTiming, AStopBecomesAPauseAndLaterNotesMoveByItsRows) {
    // Notes at .sm beats 4 and 5; a stop of 0.5 s at beat 4 at 120 BPM.
    std::vector<std::string> measures{"0000000000000000", "1000000000000000", "0100000000000000"};
    const ConvertedTiming t =
        convertSmTiming(songWith({{0, 120}}, {{4, 0.5}}, measures), kRate, kRate * 6);
    ASSERT_EQ(t.pauses.size(), 1u);
    EXPECT_EQ(t.pauses[0].startRow, 240);
    EXPECT_EQ(t.pauses[0].lengthRows, 48);
    // Beat 4 stays at the stop; beat 8 moves by the stop's 48 rows.
    EXPECT_EQ(noteRows(t), (std::vector<std::int32_t>{48 + 4 * 48, 48 + 8 * 48 + 48}));
    // The beat grid runs on through the stop at the tempo before it.
    EXPECT_EQ(t.beats[6].sample, 6 * 22050);
}

TEST(SmTiming, MeasuresOfAnyRowCountSpreadOver192Rows) {
    std::vector<std::string> measures{"100010001000", "10000000000000000000", "1000"};
    const ConvertedTiming t = convertSmTiming(songWith({{0, 120}}, {}, measures), kRate, kRate * 8);
    // 3 rows at 0, 64, 128; 5 rows every 38 rows fill only 190, so the next measure
    // starts 2 rows early.
    EXPECT_EQ(noteRows(t),
              (std::vector<std::int32_t>{48, 48 + 64, 48 + 128, 48 + 192, 48 + 192 + 190}));
}

TEST(SmTiming, HoldsReachTheirTailOrOnePastTheLastRow) {
    std::vector<std::string> measures{"2000040030000000", "0000"};
    const ConvertedTiming t = convertSmTiming(songWith({{0, 120}}, {}, measures), kRate, kRate * 8);
    ASSERT_EQ(t.notes.size(), 2u);
    EXPECT_EQ(t.notes[0].smCharacter, '2');
    EXPECT_EQ(t.notes[0].lengthRows, 96);
    EXPECT_EQ(t.notes[1].smCharacter, '4');
    EXPECT_EQ(t.notes[1].column, 1);
    EXPECT_EQ(t.notes[1].lengthRows, 384 - 48); // no tail: to the end of both measures
}

TEST(SmTiming, OfEventsCrowdingAfterAStopOnlyTheLastStays) {
    // Tempo changes 0.005 and 0.01 beats after a stop are both near it; the first goes.
    const ConvertedTiming t = convertSmTiming(
        songWith({{0, 120}, {4.005, 100}, {4.01, 60}}, {{4, 0.5}}), kRate, kRate * 4);
    // Beat 4 (stop) is a marker; afterwards the tempo is 60: a beat takes 44100 samples.
    const auto& b = t.beats;
    ASSERT_GE(b.size(), 8u);
    EXPECT_EQ(b[4].sample, 4 * 22050);
    EXPECT_EQ(b[6].sample - b[5].sample, 44100);
}

TEST(SmTiming, AbsurdTempiEndWithoutHanging) {
    for (double bpm : {-120.0, 0.0, 1e-9, 1e12}) {
        const ConvertedTiming t = convertSmTiming(songWith({{0, bpm}}), kRate, kRate * 2);
        EXPECT_LE(t.beats.size(), static_cast<std::size_t>(kRate * 2 + 3)) << bpm;
    }
    const ConvertedTiming t =
        convertSmTiming(songWith({{0, 120}, {1e9, -5}}, {{2, -1e9}}), kRate, kRate * 2);
    EXPECT_FALSE(t.beats.empty());
}

} // namespace
} // namespace quillex
