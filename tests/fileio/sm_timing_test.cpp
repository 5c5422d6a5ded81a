#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "fileio/sm_parser.h"
#include "fileio/sm_timing.h"
#include "fileio/statement_text.h"
#include "game_timeline.h"
#include "song_file_fixture.h"

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
    EXPECT_EQ(t.beatsBeforeFirstMarker, 1);
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

TEST(SmTiming, EveryMeasureSpansFourBeatsWhateverItsLineCount) {
    std::vector<std::string> measures{"100010001000", "10000000000000000000", "1000"};
    // A 384-line measure: lines 1 and 2 both lie nearest to row 1; the second moves on.
    measures.push_back(std::string(4, '0') + "1000" + "1000" + std::string(381 * 4, '0'));
    const ConvertedTiming t = convertSmTiming(songWith({{0, 120}}, {}, measures), kRate, kRate * 9);
    // 3 lines at 0, 64, 128; 5 lines from 0 by 38.4 rows, the next measure on its beat.
    EXPECT_EQ(noteRows(t), (std::vector<std::int32_t>{48, 48 + 64, 48 + 128, 48 + 192, 48 + 384,
                                                      48 + 576 + 1, 48 + 576 + 2}));
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

    // A hold over a stop reaches its tail, which has moved by the pause's rows.
    const ConvertedTiming stopped =
        convertSmTiming(songWith({{0, 120}}, {{1, 0.5}}, measures), kRate, kRate * 8);
    EXPECT_EQ(stopped.notes[0].lengthRows, 96 + 48);
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

// Songs read from `.sm` text, every note checked against where the game plays it.

// A dance-single measure of `lines` lines with a tap on each of `noteLines`, in the
// column of the line's number.
std::string measure(int lines, std::vector<int> noteLines) {
    std::string text(static_cast<std::size_t>(lines) * 4, '0');
    for (int line : noteLines)
        text[static_cast<std::size_t>(line * 4 + line % 4)] = '1';
    return text;
}

struct TimingCase {
    std::string name;
    std::string header; // #OFFSET, #BPMS and #STOPS
    std::vector<std::string> measures;
    int beatsBeforeFirstMarker = 0;
};

// 150 tempo changes off the beat and 83 stops, two of them on one row, with notes on
// and around them: no rounding may add up over so many events.
TimingCase manyEvents() {
    TimingCase c{"many tempo changes and stops", "#OFFSET:-0.0371;#BPMS:0=137.7", {}};
    char number[64];
    for (int k = 1; k <= 150; ++k) {
        std::snprintf(number, sizeof number, ",%.4f=%.2f", 0.7 * k, 120 + (k * 7) % 53 + 0.37);
        c.header += number;
    }
    c.header += ";#STOPS:";
    for (int k = 0; k < 83; ++k) {
        std::snprintf(number, sizeof number, "%s%.3f=%.4f", k ? "," : "", 1.25 * k + 1.0 / 3,
                      0.0123 * (k % 7 + 1));
        c.header += number;
    }
    c.header += ",1.333=0.1;";
    for (int m = 0; m < 30; ++m)
        c.measures.push_back(measure(12, {0, 1, 2, 4, 5, 7, 9, 10}));
    return c;
}

const std::vector<TimingCase>& timingCases() {
    static const std::vector<TimingCase> cases{
        {"tempo changes on and off the beat",
         "#OFFSET:-0.5;#BPMS:0=120,2.5=60,6=200.5;",
         {measure(4, {0, 1, 2, 3}), measure(8, {1, 3, 4, 6}), measure(4, {1})}},
        {"a note on a stop's row sounds as the stop begins",
         "#BPMS:0=150;#STOPS:4.333=0.4,8.667=0.25;",
         {measure(4, {}), measure(12, {0, 1, 2, 11}), measure(12, {1, 2, 3})}},
        {"a stop and a tempo change a hair around a beat share its row",
         "#BPMS:0=120,4.01=90;#STOPS:3.99=0.3;",
         {measure(4, {3}), "1111000000001000", measure(4, {0, 2})}},
        {"a stop at beat 0",
         "#OFFSET:-0.1;#BPMS:0=120;#STOPS:0=0.5;",
         {measure(8, {0, 1, 2, 5}), measure(4, {0})}},
        {"a stop of no length", "#BPMS:0=120;#STOPS:0.000=0.000;", {measure(4, {0, 1, 2, 3})}},
        {"a tempo change on the row of a stop of no length",
         "#BPMS:0=120,4=180;#STOPS:4=0.000;",
         {measure(4, {1}), measure(4, {0, 1, 3}), measure(4, {0})}},
        {"a tempo change on a stop's row, and stops that add up",
         "#BPMS:0=120,4=180;#STOPS:4=0.5,4=0.25;",
         {measure(4, {3}), measure(8, {0, 1, 2})}},
        {"measures of lines that do not divide 192",
         "#OFFSET:-0.02;#BPMS:0=133;",
         {measure(5, {0, 1, 3, 4}), measure(7, {1, 2, 6}), measure(10, {3, 9}),
          measure(20, {1, 7, 19}), measure(40, {13, 39}), measure(100, {1, 33, 99}),
          measure(4, {0, 3})}},
        {"a positive offset: notes before the music keep their times",
         "#OFFSET:1.5;#BPMS:0=120;",
         {measure(8, {0, 3, 4, 6}), measure(4, {0, 3})}},
        {"a positive offset: marker 1 on the first beat in the music, before the notes",
         "#OFFSET:1.5;#BPMS:0=120;",
         {measure(4, {}), measure(8, {3, 4, 6})},
         3},
        manyEvents(),
    };
    return cases;
}

class SmTimingAgainstGame : public ::testing::Test, public test::SongFileFixture {
  protected:
    void expectPlayedAsTheGameDoes(const TimingCase& c);
};

void SmTimingAgainstGame::expectPlayedAsTheGameDoes(const TimingCase& c) {
    std::string text = "#MUSIC:song.ogg;" + c.header + "#NOTES:dance-single: :Beginner:1:0:";
    for (std::size_t m = 0; m < c.measures.size(); ++m)
        text += (m ? "," : "") + c.measures[m];
    ASSERT_TRUE(read(writeSongFile("timing.sm", text + ";")));
    EXPECT_EQ(editor.song().beatsBeforeFirstMarker(), c.beatsBeforeFirstMarker);

    TagMap tags;
    RecordingMessages unused;
    const SmFileContent parsed = parseSmText(text, tags, unused);
    test::GameTimeline game;
    game.offsetSeconds = textToDouble(tags.first("#OFFSET"));
    for (const SmTimedValue& b : parsed.timing.bpms)
        game.bpms.push_back({b.beat, b.value});
    for (const SmTimedValue& s : parsed.timing.stops)
        game.stops.push_back({s.beat, s.value});

    const std::vector<test::NoteBeat> expected = test::noteBeatsOf(c.measures, 4);
    const ItemList& notes = store.notes(0);
    ASSERT_EQ(notes.size(), expected.size());
    const double rate = music.rate;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        SCOPED_TRACE("note " + std::to_string(i) + " at beat " + std::to_string(expected[i].beat));
        EXPECT_EQ(notes[i].column, expected[i].column);
        EXPECT_GE(notes[i].row(), kRowsPerBeat); // on or after marker 1
        EXPECT_NEAR(notes[i].sample, game.sampleAt(expected[i].beat, music.rate), 0.05e-3 * rate);
    }

    // Each pause lasts its stops' seconds to the sample.
    std::map<std::int64_t, double> stopsByRow;
    for (const test::GameTimeline::Change& s : game.stops)
        stopsByRow[test::GameTimeline::rowOf(s.beat)] += s.value;
    std::erase_if(stopsByRow, [](const auto& s) { return s.second <= 0; });
    ASSERT_EQ(store.pauses().size(), stopsByRow.size());
    auto stop = stopsByRow.begin();
    for (const EditItem& pause : store.pauses())
        EXPECT_NEAR(store.timing().pauseSeconds(pause), (stop++)->second, 1 / rate);
}

TEST_F(SmTimingAgainstGame, EveryNoteSoundsWhereTheGamePlaysIt) {
    music.frames = 44100 * 90;
    for (const TimingCase& c : timingCases()) {
        SCOPED_TRACE(c.name);
        expectPlayedAsTheGameDoes(c);
    }
}

} // namespace
} // namespace quillex
