#include <gtest/gtest.h>

#include "fileio/sm_chart_text.h"
#include "fileio/sm_parser.h"
#include "fileio/song_music.h"
#include "fileio/ssc_parser.h"
#include "model/note_kind.h"
#include "song_file_fixture.h"

namespace quillex {
namespace {

class SmReaderTest : public ::testing::Test, public test::SongFileFixture {
  protected:
    // A song around a header and a dance-single chart of `difficulty`.
    static std::string song(const std::string& header, const std::string& notes = "",
                            const std::string& difficulty = "Easy") {
        std::string text = "#MUSIC:song.ogg;\n" + header + "\n";
        if (!notes.empty())
            text += "#NOTES:\n     dance-single:\n     :\n     " + difficulty +
                    ":\n     3:\n     0,0,0,0,0:\n" + notes + ";\n";
        return text;
    }
    std::vector<NoteKind> kinds(LevelIndex level) const {
        std::vector<NoteKind> out;
        for (const EditItem& n : store.notes(level))
            out.push_back(noteKindOf(n));
        return out;
    }
};

TEST_F(SmReaderTest, ReadsPropertiesMusicAndPreview) {
    const std::string path = writeSongFile(
        "a.sm", "\xEF\xBB\xBF#TITLE:Title;#TITLE:Second;#SUBTITLE:Sub;#ARTIST:Art;"
                "#CREDIT:Cred;#MUSIC:sub\\..\\song.ogg;#BANNER:bn.png;#BACKGROUND:bg.png;"
                "#CDTITLE:cd.png;#SELECTABLE:YES;#DISPLAYBPM:150;#SAMPLESTART:12.5;"
                "#SAMPLELENGTH:10;#GENRE:Rock;#BPMS:0=120;");
    std::filesystem::create_directory(folder / "sub");
    ASSERT_TRUE(read(path));
    const SongProperties& p = editor.song().properties();
    EXPECT_EQ(p.title, "Title");
    EXPECT_EQ(p.subtitle, "Sub");
    EXPECT_EQ(p.artist, "Art");
    EXPECT_EQ(p.credit, "Cred");
    EXPECT_EQ(p.banner, "bn.png");
    EXPECT_EQ(p.background, "bg.png");
    EXPECT_EQ(p.cdTitle, "cd.png");
    EXPECT_TRUE(p.selectable);
    EXPECT_EQ(p.displayBpmMode, DisplayBpmMode::Range);
    EXPECT_EQ(p.displayBpmLow, "150");
    EXPECT_EQ(p.displayBpmHigh, "150");
    EXPECT_EQ(editor.player().previewStart(), 551250);
    EXPECT_EQ(editor.player().previewEnd(), 992250);
    EXPECT_EQ(p.genre, "Rock");
    EXPECT_EQ(shell.title, "quillex - [Title]");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SmReaderTest, PropertyRulesForSelectableAndDisplayBpm) {
    SongProperties p;
    TagMap tags;
    tags.add("#SELECTABLE", "yes");
    tags.add("#DISPLAYBPM", "120:180");
    p.applyTags(tags);
    EXPECT_FALSE(p.selectable);
    EXPECT_EQ(p.displayBpmMode, DisplayBpmMode::Range);
    EXPECT_EQ(p.headerLines("m.ogg").back(), "#DISPLAYBPM:120:180;");
    p.setDisplayBpmFromText("*");
    EXPECT_EQ(p.displayBpmMode, DisplayBpmMode::Random);
    EXPECT_EQ(p.headerLines("m.ogg").back(), "#DISPLAYBPM:*;");
    p.setDisplayBpmFromText("150:");
    EXPECT_EQ(p.headerLines("m.ogg").back(), "#DISPLAYBPM:150:150;");
    p.applyTags(TagMap{});
    EXPECT_FALSE(p.selectable);
    EXPECT_EQ(p.displayBpmMode, DisplayBpmMode::None);
    EXPECT_EQ(p.headerLines("m.ogg").size(), 9u);
    EXPECT_TRUE(SongProperties{}.selectable);
}

TEST_F(SmReaderTest, ReadsBeatsNotesOfEveryKindAndMeters) {
    const std::string notes = "2M00\n0040\n3000\n0L31\n";
    ASSERT_TRUE(read(writeSongFile("a.sm", song("#OFFSET:-0.5;#BPMS:0=120;", notes, "HARD"))));
    const LevelIndex level = 3;
    EXPECT_EQ(store.beats()[0].sample, 22050);
    EXPECT_EQ(store.beats()[1].sample, 44100);
    EXPECT_EQ(kinds(level), (std::vector<NoteKind>{NoteKind::Hold, NoteKind::Mine, NoteKind::Roll,
                                                   NoteKind::Lift, NoteKind::Tap}));
    EXPECT_EQ(store.notes(level)[0].lengthRows(), 96);
    EXPECT_EQ(store.notes(level)[2].lengthRows(), 96);
    EXPECT_EQ(store.notes(level)[3].row(), 48 + 144);
    EXPECT_EQ(editor.meters().get(level), 3);
    EXPECT_TRUE(store.layerOn(Layer::Arrow));
    EXPECT_TRUE(shell.checks[CommandId::ArrowLayer]);
}

TEST_F(SmReaderTest, EveryMessageWithItsResult) {
    // Five #NOTES fields: the statement is skipped, reading goes on.
    EXPECT_TRUE(
        read(writeSongFile("a.sm", song("#BPMS:0=120;#NOTES:dance-single::Easy:1:0:1000;"))));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{std::string(kNotesErrorMessage)});

    messages.shown.clear();
    // Declined: the song opens over silence.
    EXPECT_TRUE(read(writeSongFile("b.sm", "#MUSIC:missing.ogg;#BPMS:0=120;")));
    EXPECT_EQ(messages.lastText(), missingMusicQuestion(pathOf("missing.ogg")));
    EXPECT_EQ(messages.shown.back().caption, "Tip");

    EXPECT_FALSE(read(writeSongFile("c.sm", song("#BPMS:;"))));
    EXPECT_EQ(messages.lastText(), kNoBpmsMessage);

    EXPECT_FALSE(read(writeSongFile("d.sm", song("#BPMS:1=120,0=120;"))));
    EXPECT_EQ(messages.lastText(), kNoBeatZeroMessage);

    messages.shown.clear();
    EXPECT_TRUE(read(writeSongFile("e.sm", song("#BPMS:0=120;#STOPS:4=0.5;"))));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{std::string(kStopsMessage)});
    EXPECT_EQ(store.pauses().size(), 1u);

    messages.shown.clear();
    EXPECT_TRUE(
        read(writeSongFile("f.sm", song("#BPMS:0=120;#NOTES:kb7-single:d:hard:2:1,2:\n1000000\n"
                                        "0000000\n,\n0100000\n0000000\n;"))));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{std::string(kForeignChartsMessage)});
    ASSERT_EQ(editor.song().kept().charts.size(), 1u);
    // A type the editor does not know: its width is that of its rows in the file.
    EXPECT_EQ(keptChartColumns(editor.song().kept().charts[0]), 7);
    EXPECT_EQ(chartMeasuresOf(editor.song().kept().charts[0].sectionText),
              (std::vector<std::string>{"10000000000000", "01000000000000"}));

    messages.shown.clear();
    EXPECT_FALSE(read(writeSongFile("g.txt", song("#BPMS:0=120;"))));
    EXPECT_FALSE(read(pathOf("G.SM")));
    EXPECT_TRUE(messages.shown.empty());
}

// Timing the editor's timeline cannot hold would drop the beats and notes it reaches:
// the song is refused by the tag that holds it.
TEST_F(SmReaderTest, TimingTheTimelineCannotHoldRefusesTheSongBeforeAnythingChanges) {
    ASSERT_TRUE(read(writeSongFile("kept.sm", song("#TITLE:Kept;#BPMS:0=120;", "1000"))));
    const std::size_t beats = store.beats().size();
    writeFile("other.ogg", "x");
    const std::string refused = "I can't open this song: ";
    const std::string tooLong =
        "longer than 11184 seconds (about 3 hours), the longest a song can last.";
    const struct {
        std::string file, timing, message;
    } cases[] = {
        {"a.sm", "#BPMS:0=120,16=-120,12.5=-60;#STOPS:2=-1;",
         refused + "it has a negative tempo at beat 12.5 (#BPMS).  Negative tempos are not "
                   "supported."},
        {"a.sm", "#BPMS:0=120;#STOPS:2=0.5,7.25=-0.5;",
         refused + "it has a negative stop at beat 7.25 (#STOPS).  Negative stops are not "
                   "supported."},
        {"a.sm", "#BPMS:0=120,1=0;",
         refused + "its tempo at beat 1 (#BPMS) is 0 or not a number; a tempo must be above 0."},
        {"a.sm", "#BPMS:0=120,1=nan;",
         refused + "its tempo at beat 1 (#BPMS) is 0 or not a number; a tempo must be above 0."},
        {"a.sm", "#BPMS:0=120,2=1e-300;",
         refused + "its tempo at beat 2 (#BPMS) of 1e-300 makes one beat last " + tooLong},
        {"a.sm", "#OFFSET:1e300;#BPMS:0=120;",
         refused + "its #OFFSET of 1e+300 seconds is " + tooLong},
        {"a.sm", "#OFFSET:0x10;#BPMS:0=120;",
         refused + "its #OFFSET (0x10) is not a decimal number of seconds."},
        {"a.sm", "#BPMS:0=120;#STOPS:1=1e308;",
         refused + "its stop at beat 1 (#STOPS) lasts 1e+308 seconds, " + tooLong},
        {"a.sm", "#BPMS:0=120,1e30=140;",
         refused + "its #BPMS entry at beat 1e+30 lies beyond beat 5592405, the last a song "
                   "can hold."},
        {"a.ssc", "#BPMS:0=120;#DELAYS:1=1e308;",
         refused + "its delay at beat 1 (#DELAYS) lasts 1e+308 seconds, " + tooLong},
        {"a.ssc", "#BPMS:0=120;#WARPS:1=1e30;",
         refused + "its warp at beat 1 (#WARPS, or a negative #STOPS entry) skips 1e+30 beats, "
                   "past beat 5592405, the last a song can hold."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.timing);
        messages.shown.clear();
        EXPECT_FALSE(read(writeFile(c.file, "#TITLE:New;#MUSIC:other.ogg;" + c.timing)));
        EXPECT_EQ(shownTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(editor.song().properties().title, "Kept");
        EXPECT_EQ(editor.player().musicPath(), pathOf("song.ogg"));
        EXPECT_EQ(store.beats().size(), beats);
        EXPECT_EQ(store.notes(1).size(), 1u);
    }
}

TEST_F(SmReaderTest, KeysAreExactButChartsAndTempoToleratePlainSpelling) {
    ASSERT_TRUE(read(writeSongFile(
        "a.sm", song(" #TITLE:spaced;#bpms:0=120;", "") +
                    "#notes:\n\tDance-Single:\n\tdesc:\n\tmedium:\n\t2:\n\t0,0,0,0,0:\n\t1000\n"
                    "\t0000 \n0000\n0000\n;")));
    EXPECT_EQ(editor.song().properties().title, "");
    EXPECT_EQ(editor.song().tags().first(" #TITLE"), "spaced");
    EXPECT_EQ(store.notes(2).size(), 1u);
}

TEST_F(SmReaderTest, ASecondChartOfALevelAndUnknownDifficultiesAreKeptAsRead) {
    const std::string text = song("#BPMS:0=120;", "1000\n0000\n0000\n0000\n", "Easy") +
                             "#NOTES:dance-single:second:easy:0:0:0100,0000;" +
                             "#NOTES:Dance-Single: :Expert:1:0:0010;";
    ASSERT_TRUE(read(writeSongFile("a.sm", text)));
    ASSERT_EQ(store.notes(1).size(), 1u);
    EXPECT_EQ(store.notes(1)[0].column, 0);
    EXPECT_EQ(editor.meters().get(1), 3);
    EXPECT_TRUE(messages.shown.empty());
    const KeptSongData& kept = editor.song().kept();
    ASSERT_EQ(kept.charts.size(), 2u);
    EXPECT_EQ(kept.charts[0].level, std::optional<LevelIndex>(1));
    EXPECT_EQ(chartSectionTextsOf(kept.charts[0].sectionText).texts.description, "second");
    EXPECT_EQ(chartMeasuresOf(kept.charts[0].sectionText),
              (std::vector<std::string>{"0100", "0000"}));
    EXPECT_EQ(kept.charts[1].level, std::nullopt);
    EXPECT_EQ(kept.charts[1].stepsType + " " + kept.charts[1].difficulty, "Dance-Single Expert");
    EXPECT_EQ(kept.chartOrder, (std::vector<ChartSlot>{{false, 1}, {true, 0}, {true, 1}}));
    // Saved as .sm, all three charts are there in their order.
    ASSERT_TRUE(write(pathOf("b.sm")));
    const std::string saved = test::readFileBytes(pathOf("b.sm"));
    const std::size_t first = saved.find("     Easy:"), second = saved.find("     second:"),
                      third = saved.find("     Expert:");
    EXPECT_TRUE(first < second && second < third && third != std::string::npos) << saved;
}

} // namespace
} // namespace quillex
