// Songs that cannot be read as they are: damaged charts open with what could be read
// and a message saying what was skipped; files that are missing or are no song are
// refused by name; music that does not load can be located, or given later while the
// song plays over silence.
#include <gtest/gtest.h>

#include <random>

#include "fileio/song_music.h"
#include "song_file_fixture.h"

namespace quillex {
namespace {

class SongOpenProblemsTest : public ::testing::Test, public test::SongFileFixture {};

const std::string kHeader = "#TITLE:T;#MUSIC:song.ogg;#BPMS:0=120;\n";
const std::string kChallenge = "#NOTES:dance-single: :Challenge:9:0,0,0,0,0:\n";

std::string randomBytes(std::size_t count) {
    std::mt19937 random(18);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

TEST_F(SongOpenProblemsTest, DamagedChartsOpenWithWhatCouldBeReadAndSaySo) {
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> said; // each in the one message
        std::size_t notes;             // of the Challenge chart
    } cases[] = {
        {"cut in a row", kHeader + kChallenge + "1000\n0100\n,0010\n00", {"ends without"}, 2},
        {"closed by the next statement",
         kHeader + kChallenge + "1000\n0100\n#NOTES:dance-single: :Easy:1:0,0,0,0,0:1000;",
         {"ends without"},
         2},
        {"lines that are no note rows",
         kHeader + kChallenge + "1000\n0100\n,10x0\n0000\n,whatever\n,0001\n;",
         {"skipped 2 measures that are not made of note rows"},
         3},
        {"random bytes after the header", kHeader + kChallenge + randomBytes(3000), {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        const std::string path = writeSongFile("damaged.sm", c.text);
        ASSERT_TRUE(read(path));
        ASSERT_EQ(messages.shown.size(), 1u) << messages.lastText();
        const std::string& said = messages.shown[0].text;
        EXPECT_EQ(said.rfind("Some of " + path + " could not be read", 0), 0u) << said;
        EXPECT_NE(said.find("\ndance-single Challenge:"), std::string::npos) << said;
        for (const std::string& part : c.said)
            EXPECT_NE(said.find(part), std::string::npos) << said;
        if (c.notes > 0) {
            EXPECT_EQ(store.notes(levelIndex(0, 4)).size(), c.notes);
        }
    }
}

TEST_F(SongOpenProblemsTest, AChartLongerThanASamplePositionHoldsIsCutWithAMessage) {
    // At 1 BPM, 2^31 samples at 44,100 Hz end after beat 811; the last tap is on beat 1200.
    std::string measures = "1000";
    for (int m = 1; m < 300; ++m)
        measures += ",0000";
    ASSERT_TRUE(read(
        writeSongFile("long.sm", "#MUSIC:song.ogg;#BPMS:0=1;" + kChallenge + measures + ",1000;")));
    const std::string cut = timelineCutMessage(1, 812, 44100);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{cut});
    EXPECT_NE(cut.find("13.5 hours"), std::string::npos);
    EXPECT_EQ(store.notes(levelIndex(0, 4)).size(), 1u);
    EXPECT_EQ(store.beats().back().row(), 812 * kRowsPerBeat);

    // At a tempo of thousands a far stop would need millions of markers within 2^31
    // samples: the markers end at the most a file may make.
    messages.shown.clear();
    ASSERT_TRUE(read(writeSongFile("fast.sm", "#MUSIC:song.ogg;#BPMS:0=100000;#STOPS:5000000=1;" +
                                                  kChallenge + "1000,0000,0000,1000;")));
    EXPECT_EQ(store.beats().size(), kMostMarkers);
    EXPECT_NE(shownTexts().back().find("250000 beats"), std::string::npos);
    EXPECT_EQ(store.notes(levelIndex(0, 4)).size(), 2u);
}

TEST_F(SongOpenProblemsTest, MissingFilesAndFilesThatAreNoSongAreRefusedByName) {
    ASSERT_TRUE(read(writeSongFile("kept.sm", kHeader + kChallenge + "1000;")));
    const std::string garbage = randomBytes(3000);
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {pathOf("gone.sm"), missingFileMessage(pathOf("gone.sm"))},
        {pathOf("gone.qx"), missingFileMessage(pathOf("gone.qx"))},
        {writeFile("garbage.sm", garbage), notASongMessage(pathOf("garbage.sm"))},
        {writeFile("garbage.qx", garbage), notASongMessage(pathOf("garbage.qx"))},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        EXPECT_FALSE(read(c.path));
        EXPECT_EQ(shownTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(store.notes(levelIndex(0, 4)).size(), 1u) << "the open song stays";
    }
}

TEST_F(SongOpenProblemsTest, MusicThatIsNotFoundCanBeLocatedOrGivenLater) {
    // A tap on beat 0 and one on beat 40 (20 s at 120 BPM).
    std::string measures = "1000000000000000";
    for (int m = 1; m < 10; ++m)
        measures += "," + std::string(16, '0');
    const std::string path = writeFile("a.sm", "#MUSIC:lost.ogg;#BPMS:0=120;" + kChallenge +
                                                   measures + ",0100000000000000;");
    const std::string question = missingMusicQuestion(pathOf("lost.ogg"));
    const auto expectKeptOverSilence = [&] {
        EXPECT_TRUE(editor.player().silent());
        EXPECT_EQ(editor.player().musicPath(), pathOf("lost.ogg"));
        ASSERT_EQ(store.notes(levelIndex(0, 4)).size(), 2u);
        EXPECT_EQ(store.notes(levelIndex(0, 4))[1].sample, 20 * 44100);
    };

    // Declined: the song keeps its charts over silence.
    ASSERT_TRUE(read(path));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{question});
    EXPECT_TRUE(shell.musicDialogFolders.empty());
    expectKeptOverSilence();

    // Accepted, and the dialog cancelled: the same.
    messages.answer = true;
    ASSERT_TRUE(read(path));
    EXPECT_EQ(shell.musicDialogFolders, std::vector<std::string>{folder.string() + "/"});
    expectKeptOverSilence();

    // Saved as `.qx` over the silence, and read again once the music (at another rate)
    // is there: the companion's samples are scaled to it.
    ASSERT_TRUE(write(pathOf("silent.qx")));
    music.rate = 48000;
    writeFile("lost.ogg", "x");
    ASSERT_TRUE(read(pathOf("silent.qx")));
    EXPECT_FALSE(editor.player().silent());
    EXPECT_EQ(store.notes(levelIndex(0, 4))[1].sample, 20 * 48000);
    std::filesystem::remove(pathOf("lost.ogg"));
    ASSERT_TRUE(read(path));
    expectKeptOverSilence();

    // Given later at another rate (Properties): every marker and note keeps its time.
    EXPECT_FALSE(giveSongMusic(files, pathOf("missing.ogg")));
    expectKeptOverSilence();
    ASSERT_TRUE(giveSongMusic(files, writeFile("given.ogg", "x")));
    EXPECT_FALSE(editor.player().silent());
    ASSERT_EQ(store.notes(levelIndex(0, 4)).size(), 2u);
    EXPECT_EQ(store.notes(levelIndex(0, 4))[1].sample, 20 * 48000);
    EXPECT_TRUE(store.modified());
    ASSERT_TRUE(write(pathOf("given.sm")));
    EXPECT_NE(test::readFileBytes(pathOf("given.sm")).find("#MUSIC:given.ogg;"), std::string::npos);

    // A `.qx` song keeps its companion's samples, which are its music's own.
    ASSERT_TRUE(write(pathOf("given.qx")));
    std::filesystem::remove(pathOf("given.ogg"));
    messages.answer = false;
    ASSERT_TRUE(read(pathOf("given.qx")));
    EXPECT_TRUE(editor.player().silent());
    ASSERT_TRUE(giveSongMusic(files, writeFile("given.ogg", "x")));
    EXPECT_EQ(store.notes(levelIndex(0, 4))[1].sample, 20 * 48000);

    // A file chosen: the song opens with it and names it when saved.
    messages.answer = true;
    music.rate = 44100;
    shell.chosenMusic = writeFile("found.ogg", "x");
    ASSERT_TRUE(read(path));
    EXPECT_EQ(editor.player().musicPath(), pathOf("found.ogg"));
    EXPECT_TRUE(editor.song().musicLocated());
    EXPECT_EQ(store.notes(levelIndex(0, 4)).size(), 2u);
    ASSERT_TRUE(write(pathOf("b.sm")));
    EXPECT_NE(test::readFileBytes(pathOf("b.sm")).find("#MUSIC:found.ogg;"), std::string::npos);
}

} // namespace
} // namespace quillex
