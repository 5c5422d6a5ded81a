#include <gtest/gtest.h>

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
    // Every marker is written without duplicate removal, the ones at the pause's
    // start and end on the same beat.
    song.setRemoveDuplicateBpms(false);
    EXPECT_EQ(lineOf(text(), "#BPMS"), "#BPMS:0=120,1=120,2=120,2=120,3=120,4=120;");
}

TEST_F(SmWriterTest, WritesEveryKindPropertyKeptTagAndForeignChart) {
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
    song.tags().add("#TITLETRANSLIT", "Song T");
    song.tags().add("#GENRE", "not kept");
    song.tags().add("#ARTISTTRANSLIT", "");
    song.tags().add("#BGCHANGES", "0=bg.png=1.000=0=0=1");
    song.tags().add("#TITLETRANSLIT", "second, ignored");
    song.foreignCharts().push_back(
        {"ez2-single", "desc", "hard", "5", {"0.1", "0.2"}, {"1000000000", "01000"}});
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

TEST_F(SmWriterTest, NothingIsWrittenOutsideTheGrid) {
    beats({0, 22050, 44100});
    note(0, 0, 96, 200); // the tail lies past the one measure: written as a tap
    note(0, 1, 60, 24);  // a hold inside the grid stays a hold
    const std::string t = text();
    EXPECT_NE(t.find("\r\n0200\r\n"), std::string::npos);
    EXPECT_NE(t.find("\r\n0300\r\n"), std::string::npos);
    EXPECT_NE(t.find("\r\n1000\r\n"), std::string::npos);
    EXPECT_EQ(rowsOfFirstMeasure(t), 16);
}

TEST_F(SmWriterTest, OffsetOfALaterFirstBeatIsNegative) {
    beats({22050, 44100});
    EXPECT_EQ(lineOf(text(), "#OFFSET"), "#OFFSET:-0.5;");
}

} // namespace
} // namespace quillex
