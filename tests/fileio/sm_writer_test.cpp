#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "fileio/sm_chart_text.h"
#include "fileio/sm_parser.h"
#include "fileio/statement_text.h"
#include "game_timeline.h"
#include "tools/autofill.h"
#include "writer_fixture.h"

namespace quillex {
namespace {

class SmWriterTest : public ::testing::Test, public test::WriterFixture {
  protected:
    // The line of the text that starts with `key`, without its line break.
    std::string lineOf(const std::string& text, const std::string& key) {
        const std::size_t at = text.find("\r\n" + key);
        if (at == std::string::npos)
            return {};
        const std::size_t end = text.find("\r\n", at + 2);
        return text.substr(at + 2, end - at - 2);
    }
    // Rows written for the first measure of the first chart.
    int rowsOfFirstMeasure(const std::string& text) {
        std::size_t at = text.find("0.000,0.000,0.000,0.000,0.000:\r\n");
        at += 32;
        int rows = 0;
        for (;;) {
            const std::size_t end = text.find("\r\n", at);
            const std::string line = text.substr(at, end - at);
            if (line == "," || line == ";")
                return rows;
            ++rows;
            at = end + 2;
        }
    }
};

TEST_F(SmWriterTest, WritesTheExpectedFileForThreeBeats) {
    beats({0, 22050, 44100});
    song.properties().title = "T";
    note(0, 0, 48);
    EXPECT_EQ(text(), test::dataFile("three_beats.sm"));
}

TEST_F(SmWriterTest, PausesBecomeStopsAndTheirRowsLeaveTheChart) {
    beats({0, 22050, 44100, 66150, 88200, 110250});
    pause(144, 48);
    note(27, 4, 192); // at the pause's end: written at the pause's start row
    note(27, 1, 168); // inside the pause: not written
    meters.set(27, 7);
    EXPECT_EQ(text(), test::dataFile("pause.sm"));
    // Without duplicate removal every kept marker gets an entry; the markers at the
    // pause's start and end share a beat and one entry.
    song.setRemoveDuplicateBpms(false);
    EXPECT_EQ(lineOf(text(), "#BPMS"), "#BPMS:0=120,1=120,2=120,3=120,4=120;");
}

TEST_F(SmWriterTest, WritesEveryKindPropertyKeptTagAndKeptChart) {
    beats({22050, 44100, 66150, 88200, 132300});
    SongProperties& p = song.properties();
    p.title = "Song";
    p.subtitle = "Sub";
    p.artist = "Me";
    p.credit = "Us";
    p.selectable = false;
    p.background = "bg.png";
    p.banner = "bn.png";
    p.cdTitle = "cd.png";
    p.setDisplayBpmFromText("120:180");
    musicPath = "C:\\songs\\music.wav";
    previewStart = 551250;
    previewEnd = 992250;
    p.genre = "Rock";
    // Written in their order, as read; the foreign chart in its place before the level.
    song.kept().songStatements = {{"#TITLETRANSLIT", "Song T"},
                                  {"#BGCHANGES", "0=bg.png=1.000=0=0=1"},
                                  {"#KEYSOUNDS", "a.wav,b.wav"},
                                  {"#TITLETRANSLIT", "second"}};
    const SmChart foreign{
        "ez2-single", "desc", "hard", "5", {"0.1", "0.2"}, {"1000000000", "01[3]0{x}00"}, 5};
    song.kept().charts.push_back({keptSectionOf(foreign), "ez2-single", "hard", "", false, {}});
    song.kept().chartOrder = {{true, 0}};
    const LevelIndex level = 4; // dance-single Challenge
    meters.set(level, 12);
    note(level, 0, 48, 16);              // hold
    note(level, 2, 56, 40, false, true); // roll
    note(level, 0, 144, 0, true);        // mine
    note(level, 3, 168, 0, true, true);  // lift
    EXPECT_EQ(text(), test::dataFile("kinds.sm"));
}

TEST_F(SmWriterTest, TempoLinesInTheirThreeModes) {
    beats({0, 22050, 66150});
    EXPECT_EQ(lineOf(text(), "#BPMS"), "#BPMS:0=120,1=60;");
    song.setPerBeatBpm(false);
    EXPECT_EQ(lineOf(text(), "#BPMS"), "#BPMS:0=80;");
    song.setPerBeatBpm(true);
    song.setRemoveDuplicateBpms(false);
    EXPECT_EQ(lineOf(text(), "#BPMS"), "#BPMS:0=120,1=60,2=60;");
}

TEST_F(SmWriterTest, EachMeasureTakesTheCoarsestGridThatHoldsItsNotes) {
    beats({0, 22050, 44100, 66150, 88200});
    note(0, 0, 48);
    note(0, 1, 48 + 96);
    EXPECT_EQ(rowsOfFirstMeasure(text()), 4);
    note(0, 2, 48 + 8);
    EXPECT_EQ(rowsOfFirstMeasure(text()), 24);
    note(0, 3, 48 + 12);
    note(0, 3, 48 + 16);
    EXPECT_EQ(rowsOfFirstMeasure(text()), 48);
    note(0, 0, 48 + 1);
    EXPECT_EQ(rowsOfFirstMeasure(text()), 192);
}

TEST_F(SmWriterTest, TheMeasuresReachTheLastHoldTail) {
    beats({0, 22050, 44100});
    note(0, 0, 96, 200); // the tail lies past the last marker, in a second measure
    note(0, 1, 60, 24);
    const std::string t = text();
    EXPECT_NE(t.find("\r\n0200\r\n"), std::string::npos);
    EXPECT_NE(t.find("\r\n0300\r\n"), std::string::npos);
    const std::size_t head = t.find("\r\n2000\r\n");
    const std::size_t comma = t.find("\r\n,\r\n", head);
    ASSERT_NE(head, std::string::npos);
    EXPECT_GT(t.find("\r\n3000\r\n"), comma);
    EXPECT_NE(t.find("\r\n3000\r\n"), std::string::npos);
    EXPECT_EQ(rowsOfFirstMeasure(t), 16);
}

// Markers every `samplesPerBeat` (rounded to whole samples) from `first`, as a file
// read with that tempo leaves them.
std::vector<SamplePosition> markersAt(double first, double samplesPerBeat, int count) {
    std::vector<SamplePosition> samples;
    for (int k = 0; k < count; ++k)
        samples.push_back(
            static_cast<SamplePosition>(std::floor(first + k * samplesPerBeat + 0.5)));
    return samples;
}

TEST_F(SmWriterTest, TimingLinesFitTheMarkers) {
    const double at142 = 44100 * 60 / 142.0; // 18633.80... samples per beat
    struct Case {
        const char* name;
        std::function<void(test::WriterFixture&)> build;
        const char* offset;
        const char* bpms;
        const char* stops;
    };
    const std::vector<Case> cases = {
        {"a tempo of no whole number of samples per beat stays one tempo",
         [&](test::WriterFixture& f) {
             for (SamplePosition s : markersAt(529.2, at142, 200))
                 f.store.addBeat(s);
         },
         "#OFFSET:-0.012;", "#BPMS:0=142;", "#STOPS:;"},
        {"a beat before the music keeps its notes and the offset reaches back to it",
         [&](test::WriterFixture& f) {
             for (SamplePosition s : markersAt(-264.6 + at142, at142, 40))
                 f.store.addBeat(s);
             f.song.setBeatsBeforeFirstMarker(1);
         },
         "#OFFSET:0.006;", "#BPMS:0=142;", "#STOPS:;"},
        {"a note before the first marker puts a beat before it",
         [&](test::WriterFixture& f) {
             f.beats({22050, 44100, 66150});
             f.note(0, 0, 24);
         },
         "#OFFSET:0;", "#BPMS:0=120;", "#STOPS:;"},
        {"the tempo after a pause is written on the stop's beat, the stop from its span",
         [&](test::WriterFixture& f) {
             f.beats({0, 22050, 44100, 88200, 99225, 110250, 121275});
             f.pause(144, 48);
         },
         "#OFFSET:0;", "#BPMS:0=120,2=240;", "#STOPS:2=1;"},
        {"a sub-beat keeps its entry, even with the tempo before it",
         [&](test::WriterFixture& f) {
             f.beats({0, 22050, 44100, 77175, 121275, 165375});
             f.store.addBeatAtRow(11025, {1, 24});
             f.store.addBeatAtRow(55125, {3, 24});
         },
         "#OFFSET:0;", "#BPMS:0=120,0.5=120,2.5=60;", "#STOPS:;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriterFixture f;
        c.build(f);
        const std::string t = f.text();
        EXPECT_EQ(lineOf(t, "#OFFSET"), c.offset);
        EXPECT_EQ(lineOf(t, "#BPMS"), c.bpms);
        EXPECT_EQ(lineOf(t, "#STOPS"), c.stops);
    }
}

TEST_F(SmWriterTest, ASteadyTempoIsOneEntryAndATempoChangeTwo) {
    // Markers every `samplesPerBeat` from `first` for `count` beats, then every
    // `thenPerBeat`, each on the nearest whole sample, as a file read with those tempos
    // leaves them.
    const auto twoTempos = [](test::WriterFixture& f, double first, double samplesPerBeat,
                              int count, double thenPerBeat) {
        double x = first;
        for (int k = 0; k < 500; ++k, x += k <= count ? samplesPerBeat : thenPerBeat)
            f.store.addBeat(static_cast<SamplePosition>(std::floor(x + 0.5)));
    };
    struct Case {
        int rate;
        double bpm; // autofilled at this tempo, or 0
        double offset;
        const char* bpms;
    };
    const Case cases[] = {
        {44100, 137.412, 0.183215, "#BPMS:0=137.412;"},
        {44100, 160.021, 0.183215, "#BPMS:0=160.021;"},
        {44100, 179.995, 0.183215, "#BPMS:0=179.995;"},
        {44100, 160, 0.345, "#BPMS:0=160;"},
        {48000, 137.412, 0.183215, "#BPMS:0=137.412;"},
        {48000, 160.021, 0.183215, "#BPMS:0=160.021;"},
        {48000, 179.995, 0.183215, "#BPMS:0=179.995;"},
        {48000, 160, 0.345, "#BPMS:0=160;"},
        {44100, 0, 0.2, "#BPMS:0=137.412,100=160.021;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.bpm << " BPM");
        test::WriterFixture f;
        f.music.set(c.rate, c.rate * 240);
        if (c.bpm > 0)
            fillAtAverageBpm(f.store, c.bpm, c.offset);
        else
            twoTempos(f, c.offset * c.rate, c.rate * 60 / 137.412, 100, c.rate * 60 / 160.021);
        const std::string t = f.text();
        EXPECT_EQ(lineOf(t, "#BPMS"), c.bpms);
        if (c.bpm > 0) { // and the editor shows that tempo
            EXPECT_DOUBLE_EQ(f.store.timing().lowestBpm(), c.bpm);
            EXPECT_DOUBLE_EQ(f.store.timing().highestBpm(), c.bpm);
        }
        // Where a game plays each marker's beat from the file.
        TagMap tags;
        RecordingMessages messages;
        const SmFileContent content = parseSmText(joinLines(t, TextKind::Song), tags, messages);
        test::GameTimeline game;
        game.offsetSeconds = textToDouble(tags.first("#OFFSET"));
        for (const SmTimedValue& b : content.timing.bpms)
            game.bpms.push_back({b.beat, b.value});
        ASSERT_GT(f.store.beats().size(), 400u);
        for (const EditItem& marker : f.store.beats())
            ASSERT_NEAR(game.secondsAt(smBeat(marker.row())),
                        static_cast<double>(marker.sample) / c.rate, 1e-4)
                << "marker at row " << marker.row();
    }
}

TEST_F(SmWriterTest, NotesBeforeTheFirstMarkerKeepTheirBeat) {
    beats({22050, 44100, 66150});
    song.setBeatsBeforeFirstMarker(2);
    note(0, 0, 24);           // half a beat before marker 1: file beat 1.5
    note(0, 1, 48);           // on marker 1: file beat 2
    note(0, 2, 60, 24, true); // a mine that carries a length is still a mine
    const std::string t = text();
    EXPECT_EQ(lineOf(t, "#OFFSET"), "#OFFSET:0.5;");
    const std::size_t chart = t.find("0.000,0.000,0.000,0.000,0.000:\r\n");
    // 16 rows of quarter beats: file beat 1.5 is row 6, beat 2 row 8, the mine row 9.
    EXPECT_NE(t.find("\r\n0000\r\n1000\r\n0000\r\n0100\r\n00M0\r\n0000\r\n", chart),
              std::string::npos);
    EXPECT_EQ(rowsOfFirstMeasure(t), 16);
    EXPECT_EQ(t.find('2', chart), std::string::npos);
    EXPECT_EQ(t.find('3', chart), std::string::npos);
}

TEST_F(SmWriterTest, OffsetOfALaterFirstBeatIsNegative) {
    beats({22050, 44100});
    EXPECT_EQ(lineOf(text(), "#OFFSET"), "#OFFSET:-0.5;");
}

} // namespace
} // namespace quillex
