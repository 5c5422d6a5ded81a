#include <gtest/gtest.h>

#include <filesystem>

#include "fileio/song_paths.h"
#include "model/note_kind.h"
#include "song_file_fixture.h"

namespace quillex {
namespace {

class SongWriterTest : public ::testing::Test, public test::SongFileFixture {
  protected:
    void loadSong(const std::string& text) {
        ASSERT_TRUE(read(writeSongFile("start.sm", text)));
        messages.shown.clear();
        shell.notices.clear();
    }
    void expectRoundTrip(const std::string& original);
};

TEST_F(SongWriterTest, FewerThanTwoBeatsAreRefusedAndNothingIsTouched) {
    loadSong("#MUSIC:song.ogg;#BPMS:0=120;");
    store.clearSong();
    const std::string path = writeFile("keep.sm", "old");
    EXPECT_FALSE(write(path));
    EXPECT_EQ(messages.lastText(), kTooFewBeatsMessage);
    EXPECT_EQ(test::readFileBytes(path), "old");
    EXPECT_TRUE(shell.notices.empty());
}

TEST_F(SongWriterTest, AFileThatCannotBeWrittenIsReportedAndNotSaved) {
    loadSong("#MUSIC:song.ogg;#BPMS:0=120;");
    const std::string missingFolder = pathOf("no/such/folder/x.sm");
    EXPECT_FALSE(write(missingFolder));
    EXPECT_EQ(messages.lastText().rfind("I could not save the file " + missingFolder, 0), 0u);
    EXPECT_EQ(messages.shown.back().caption, "Tip");
    EXPECT_TRUE(shell.notices.empty());

    // The companion's name is taken by a folder: neither file is replaced and no
    // temporary file stays behind.
    const std::string path = pathOf("s.qx");
    std::ofstream(path) << "old song";
    std::filesystem::create_directory(companionPathOf(path));
    messages.shown.clear();
    EXPECT_FALSE(write(path));
    EXPECT_EQ(messages.lastText().rfind("I could not save the file " + companionPathOf(path), 0),
              0u);
    EXPECT_EQ(test::readFileBytes(path), "old song");
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().string().find(".saving-"), std::string::npos) << entry.path();
    EXPECT_TRUE(shell.notices.empty());
}

TEST_F(SongWriterTest, NamesOfTheSongsFilesFollowItIntoAnotherFolder) {
    std::filesystem::create_directories(pathOf("pics"));
    std::filesystem::create_directories(pathOf("out/deeper"));
    writeFile("pics/bn.png", "x");
    loadSong("#MUSIC:song.ogg;#BANNER:pics\\bn.png;#BACKGROUND:gone.png;#BPMS:0=120;");
    struct Case {
        const char* path;
        const char* music;
        const char* banner;
    };
    // A copy beside the original, one deeper down (a backup does not move the song),
    // then the song itself saved there.
    for (const Case& c : {Case{"same.sm", "song.ogg", "pics\\bn.png"},
                          Case{"out/deeper/backup.sm", "../../song.ogg", "../../pics/bn.png"}}) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(write(pathOf(c.path), false));
        const std::string text = test::readFileBytes(pathOf(c.path));
        EXPECT_NE(text.find(std::string("#MUSIC:") + c.music + ";"), std::string::npos);
        EXPECT_NE(text.find(std::string("#BANNER:") + c.banner + ";"), std::string::npos);
        EXPECT_NE(text.find("#BACKGROUND:gone.png;"), std::string::npos) << "not found: kept";
    }
    ASSERT_TRUE(write(pathOf("out/moved.sm")));
    EXPECT_EQ(editor.song().properties().banner, "../pics/bn.png");
    ASSERT_TRUE(read(pathOf("out/moved.sm"))) << "the music is found from there";
}

TEST_F(SongWriterTest, TitleAndNoticesFollowTheFormatAndTheCaller) {
    loadSong("#MUSIC:song.ogg;#BPMS:0=120;");
    const std::string sm = pathOf("out.sm");
    ASSERT_TRUE(write(sm));
    EXPECT_EQ(shell.title, "quillex - [" + sm + "]");
    EXPECT_EQ(shell.notices, std::vector<SaveNotice>{SaveNotice::SavedAsSm});

    shell.notices.clear();
    editor.song().setPerBeatBpm(false);
    editor.song().properties().title = "Named";
    ASSERT_TRUE(write(sm));
    EXPECT_EQ(shell.title, "quillex - [Named]");
    EXPECT_EQ(shell.notices,
              (std::vector<SaveNotice>{SaveNotice::SavedAsSm, SaveNotice::SingleBpm}));

    // A backup leaves title and notices alone; another extension gets no notice and
    // no companion.
    shell.notices.clear();
    shell.title.clear();
    ASSERT_TRUE(write(pathOf("backup.qx"), false));
    EXPECT_TRUE(std::filesystem::exists(pathOf("backup.qxx")));
    ASSERT_TRUE(write(pathOf("other.txt")));
    EXPECT_FALSE(std::filesystem::exists(pathOf("other.qxx")));
    EXPECT_TRUE(shell.notices.empty());
    EXPECT_EQ(shell.title, "quillex - [Named]");
}

// Reads `original`, writes it to `.sm` and reads that back: every beat within one
// sample, every pause, note and kept tag as before. The second generation is the same
// file byte for byte.
void SongWriterTest::expectRoundTrip(const std::string& original) {
    loadSong(original);
    const ItemSnapshot first = store.snapshot();
    const MeterTable meters = editor.meters();
    const std::string path = pathOf("back.sm");
    ASSERT_TRUE(write(path));
    ASSERT_TRUE(read(path));
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        EXPECT_EQ(editor.meters().get(level), meters.get(level)) << level;

    ASSERT_EQ(store.beats().size(), first.beats.size());
    for (std::size_t i = 0; i < first.beats.size(); ++i) {
        EXPECT_NEAR(store.beats()[i].sample, first.beats[i].sample, 1) << i;
        EXPECT_EQ(store.beats()[i].row(), first.beats[i].row()) << i;
    }
    ASSERT_EQ(store.pauses().size(), first.pauses.size());
    for (std::size_t i = 0; i < first.pauses.size(); ++i) {
        EXPECT_EQ(store.pauses()[i].row(), first.pauses[i].row());
        EXPECT_EQ(store.pauses()[i].lengthRows(), first.pauses[i].lengthRows());
    }
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        ASSERT_EQ(store.notes(level).size(), first.notes[level].size()) << level;
        for (std::size_t i = 0; i < first.notes[level].size(); ++i) {
            const EditItem& a = store.notes(level)[i];
            const EditItem& b = first.notes[level][i];
            EXPECT_EQ(a.row(), b.row());
            EXPECT_EQ(a.column, b.column);
            EXPECT_EQ(noteKindOf(a), noteKindOf(b));
            EXPECT_EQ(a.isHold ? a.lengthRows() : 0, b.isHold ? b.lengthRows() : 0);
            EXPECT_NEAR(a.sample, b.sample, 1);
        }
    }
    ASSERT_TRUE(write(pathOf("again.sm")));
    EXPECT_EQ(test::readFileBytes(pathOf("again.sm")), test::readFileBytes(path));
}

TEST_F(SongWriterTest, ASongWithoutItsMusicNamesWhatItNamed) {
    files.missingMusic = MissingMusic::StandIn;
    const std::pair<std::string, std::string> cases[] = {{"", "#MUSIC:;"},
                                                         {"gone.ogg", "#MUSIC:gone.ogg;"}};
    for (const auto& [named, written] : cases) {
        ASSERT_TRUE(read(writeFile("a.sm", "#MUSIC:" + named + ";#BPMS:0=120;")));
        ASSERT_TRUE(write(pathOf("b.sm")));
        EXPECT_NE(test::readFileBytes(pathOf("b.sm")).find("\r\n" + written + "\r\n"),
                  std::string::npos)
            << named;
    }
}

TEST_F(SongWriterTest, ASongReadFromSmAndWrittenBackKeepsItsContent) {
    const std::string charts =
        "#NOTES:dance-single: :Hard:8:0,0,0,0,0:\n"
        "1000\n0100\n0010\n0001\n,2000\n0000\n3000\n0000\n,"
        "M000\n0L00\n0040\n0000\n0030\n0000\n0000\n0001\n,1111\n0000\n0000\n0000\n,"
        "1000\n0000\n0000\n0000\n,0100\n0000\n0000\n0000\n;\n"
        "#NOTES:pump-single: :Edit:5:0,0,0,0,0:\n10000\n00000\n00000\n00100\n;\n";
    // Stops, tempo changes on and off the beat, an offset of a fraction of a sample.
    expectRoundTrip("#TITLE:Trip;#MUSIC:song.ogg;#OFFSET:-0.123;#BPMS:0=120,8=147,16.5=90;"
                    "#STOPS:4=0.25,12=1;#BGCHANGES:1=x.png=1=0=0=1;#GENRE:Kept;"
                    "#KEYSOUNDS:a.wav;#METERTYPE:DDR;#LYRICSPATH:l.lrc;#NOSUCHTAG:x:y;\n" +
                    charts);
    EXPECT_EQ(messages.lastText(), kStopsMessage);
    EXPECT_EQ(editor.song().kept().songStatements,
              (std::vector<KeptStatement>{{"#BGCHANGES", "1=x.png=1=0=0=1"},
                                          {"#KEYSOUNDS", "a.wav"},
                                          {"#METERTYPE", "DDR"},
                                          {"#LYRICSPATH", "l.lrc"},
                                          {"#NOSUCHTAG", "x:y"}}));
    EXPECT_EQ(editor.song().properties().genre, "Kept");
    EXPECT_EQ(editor.meters().get(3), 8);
    EXPECT_EQ(editor.meters().get(29), 5);
    // Tempos of no whole number of samples per beat: the markers alternate between two
    // spacings, and the file still gets the two tempos it had.
    expectRoundTrip("#MUSIC:song.ogg;#OFFSET:-0.31;#BPMS:0=150.5,20=133.3;\n" + charts);
    EXPECT_NE(test::readFileBytes(pathOf("back.sm")).find("\r\n#BPMS:0=150.5,20=133.3;\r\n"),
              std::string::npos);
}

} // namespace
} // namespace quillex
