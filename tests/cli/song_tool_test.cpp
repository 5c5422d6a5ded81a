#include <gtest/gtest.h>

#include <sstream>

#include "analysis/tempo_candidates.h"
#include "app/forms/statistics_form.h"
#include "cli/song_tool.h"
#include "fileio/song_file_fixture.h"
#include "fileio/song_music.h"
#include "tools/note_transforms.h"
#include "tools/straighten.h"
#include "tools/stretch_spans.h"

namespace quillex {
namespace {

class SongToolTest : public ::testing::Test, public test::SongFileFixture {
  protected:
    int run(std::vector<std::string> arguments) {
        out.str("");
        err.str("");
        return runSongTool(arguments, out, err, test::silentMusicBackend(music));
    }
    std::ostringstream out;
    std::ostringstream err;
};

const std::string kSong =
    "#TITLE:Tool;#ARTIST:Me;#MUSIC:song.ogg;#BPMS:0=120,2.5=60;#STOPS:4=0.5;\n"
    "#NOTES:dance-single: :Medium:4:0,0,0,0,0:2000\n0000\n3000\nM000\n,0100\n0000\n0000\n0000\n;\n";

TEST_F(SongToolTest, ListsWhatTheEditorReads) {
    music.frames = 44100 * 5;
    const std::string path = writeSongFile("a.sm", kSong);
    ASSERT_EQ(run({"info", path}), kToolSuccess);
    EXPECT_EQ(out.str(), "title\tTool\nartist\tMe\nmusic\t" + pathOf("song.ogg") +
                             "\nsample rate\t44100\nlength\t220500\nbeat markers\t7\n"
                             "sub-beats\t2\npauses\t1\ndelays\t0\nwarps\t0\nlowest "
                             "bpm\t60.000\nhighest bpm\t120.000\n"
                             "chart\t2\tdance-single Medium\tmeter 4\t1 tap\t1 hold\t0 roll\t"
                             "1 mine\t0 lift\n");
    // The stop's message goes where the editor would show it; the read still succeeds.
    EXPECT_EQ(err.str(), std::string(kStopsMessage) + "\n");

    ASSERT_EQ(run({"beats", path}), kToolSuccess);
    std::istringstream beats(out.str());
    std::string line;
    std::getline(beats, line);
    EXPECT_EQ(line, "48\t0\t0.000000\tbeat\t-\tblue");
    for (int i = 0; i < 3; ++i)
        std::getline(beats, line);
    EXPECT_EQ(line, "168\t55125\t1.250000\tsub\t-\tblue");

    ASSERT_EQ(run({"pauses", path}), kToolSuccess);
    EXPECT_EQ(out.str(), "240\t24\t0.500000\n");

    ASSERT_EQ(run({"notes", path}), kToolSuccess);
    EXPECT_EQ(out.str(), "2\t48\t0\thold\t96\t0.000000\n"
                         "2\t192\t0\tmine\t0\t1.750000\n"
                         "2\t240\t1\ttap\t0\t2.750000\n");
}

TEST_F(SongToolTest, ConvertsByTheOutputsExtension) {
    const std::string path = writeSongFile("a.sm", kSong);
    ASSERT_EQ(run({"convert", path, pathOf("b.qx"), "--single-bpm", "--keep-duplicate-bpms"}),
              kToolSuccess);
    EXPECT_TRUE(std::filesystem::exists(pathOf("b.qxx")));
    const std::string written = test::readFileBytes(pathOf("b.qx"));
    EXPECT_NE(written.find("\r\n#BPMS:0="), std::string::npos);
    EXPECT_EQ(written.find("#BPMS:0=120,"), std::string::npos);
    ASSERT_EQ(run({"notes", pathOf("b.qx")}), kToolSuccess);
    const std::string notes = out.str();
    EXPECT_EQ(std::count(notes.begin(), notes.end(), '\n'), 3);
}

TEST_F(SongToolTest, AnSscSongWithAChartOfItsOwnTimingGoesToSmOnlyWhenLossy) {
    const std::string path = writeSongFile(
        "a.ssc", "#VERSION:0.83;#MUSIC:song.ogg;#BPMS:0=120;#DELAYS:1=0.5;\n"
                 "#NOTEDATA:;#STEPSTYPE:dance-single;#DIFFICULTY:Edit;#BPMS:0=60;#NOTES:\n"
                 "1000\n0100\n0000\n0000\n;\n");
    ASSERT_EQ(run({"notes", path}), kToolSuccess);
    EXPECT_EQ(out.str(), "kept 0\t0\t0\ttap\t0\t0.000000\nkept 0\t48\t1\ttap\t0\t1.000000\n");
    EXPECT_EQ(run({"convert", path, pathOf("b.sm")}), kToolFailed);
    EXPECT_NE(err.str().find("1 delay\n  the chart dance-single Edit kept as read"),
              std::string::npos)
        << err.str();
    EXPECT_FALSE(std::filesystem::exists(pathOf("b.sm")));
    EXPECT_EQ(run({"convert", path, pathOf("b.sm"), "--lossy"}), kToolSuccess);
    EXPECT_TRUE(std::filesystem::exists(pathOf("b.sm")));
}

TEST_F(SongToolTest, FailuresAndUsage) {
    EXPECT_EQ(run({}), kToolUsage);
    EXPECT_EQ(run({"info"}), kToolUsage);
    EXPECT_EQ(run({"info", "a.sm", "b.sm"}), kToolUsage);
    EXPECT_EQ(run({"frobnicate", "a.sm"}), kToolUsage);
    EXPECT_EQ(run({"info", "a.sm", "--single-bpm"}), kToolUsage);
    EXPECT_NE(err.str().find("usage:"), std::string::npos);

    EXPECT_EQ(run({"info", pathOf("x.qxx")}), kToolFailed);
    EXPECT_EQ(err.str(), "Sorry, quillex cannot open .qxx files directly.  Open the .qx file "
                         "instead.\n");
    EXPECT_EQ(run({"info", pathOf("x.txt")}), kToolFailed);
    EXPECT_EQ(err.str(), "Sorry, quillex does not support this file type.\n");
    EXPECT_EQ(run({"info", pathOf("gone.sm")}), kToolFailed);
    EXPECT_EQ(err.str(), missingFileMessage(pathOf("gone.sm")) + "\n");
    EXPECT_EQ(run({"notes", writeFile("noise.sm", "\x01\x02;x:y")}), kToolFailed);
    EXPECT_EQ(err.str(), notASongMessage(pathOf("noise.sm")) + "\n");
    EXPECT_EQ(
        run({"notes", writeSongFile("cut.sm", "#MUSIC:song.ogg;#BPMS:0=120;"
                                              "#NOTES:dance-single: :Hard:2:0,0,0,0,0:1000")}),
        kToolSuccess);
    EXPECT_EQ(err.str().rfind("Some of " + pathOf("cut.sm") + " could not be read", 0), 0u);

    const std::string path = writeSongFile("a.sm", kSong);
    EXPECT_EQ(run({"convert", path, pathOf("missing/b.sm")}), kToolFailed);
    EXPECT_NE(err.str().find("I could not save the file"), std::string::npos);
}

TEST_F(SongToolTest, SongsWhoseMusicDoesNotLoadAreListedAndConvertedAt44100Hz) {
    music.frames = 1000;
    music.rate = 22050;
    std::string song = kSong;
    song.replace(song.find("song.ogg"), 8, "lost.ogg");
    const std::string path = writeFile("a.sm", song);
    const std::string said = standInMusicMessage(pathOf("lost.ogg")) + "\n";
    ASSERT_EQ(run({"notes", path}), kToolSuccess);
    EXPECT_EQ(out.str(), "2\t48\t0\thold\t96\t0.000000\n"
                         "2\t192\t0\tmine\t0\t1.750000\n"
                         "2\t240\t1\ttap\t0\t2.750000\n");
    EXPECT_EQ(err.str(), said + std::string(kStopsMessage) + "\n");
    for (const char* command : {"info", "beats", "pauses"}) {
        EXPECT_EQ(run({command, path}), kToolSuccess) << command;
        EXPECT_EQ(err.str().rfind(said, 0), 0u) << command;
    }
    ASSERT_EQ(run({"transform", path, "--level", "dance-single:Medium", "--turn", "mirror", "-o",
                   pathOf("t.sm")}),
              kToolSuccess);
    ASSERT_EQ(run({"convert", pathOf("t.sm"), pathOf("c.qx")}), kToolSuccess);
    EXPECT_NE(test::readFileBytes(pathOf("c.qx")).find("#MUSIC:lost.ogg;"), std::string::npos);

    // Given its music later (22,050 Hz), the song keeps every note at its time.
    ASSERT_EQ(
        run({"set-music", path, "--music", writeFile("found.ogg", "x"), "-o", pathOf("f.sm")}),
        kToolSuccess);
    EXPECT_NE(test::readFileBytes(pathOf("f.sm")).find("#MUSIC:found.ogg;"), std::string::npos);
    ASSERT_EQ(run({"notes", pathOf("f.sm")}), kToolSuccess);
    std::istringstream given(out.str());
    for (const auto& [note, seconds] :
         {std::pair("2\t48\t0\thold\t96", 0.0), std::pair("2\t192\t0\tmine\t0", 1.75),
          std::pair("2\t240\t1\ttap\t0", 2.75)}) {
        std::string line;
        ASSERT_TRUE(std::getline(given, line));
        const std::size_t tab = line.rfind('\t');
        EXPECT_EQ(line.substr(0, tab), note); // within a sample at 22,050 Hz
        EXPECT_NEAR(std::stod(line.substr(tab + 1)), seconds, 1.0 / 22050);
    }
    EXPECT_EQ(run({"set-music", path, "--music", pathOf("gone.ogg"), "-o", pathOf("g.sm")}),
              kToolFailed);
}

TEST_F(SongToolTest, TransformsTheNotesOfOneLevelAndSaves) {
    music.frames = 44100 * 5;
    const std::string path = writeSongFile("a.sm", kSong);
    const std::string out = pathOf("t.sm");
    ASSERT_EQ(
        run({"transform", path, "--level", "dance-single:medium", "--turn", "mirror", "-o", out}),
        kToolSuccess);
    ASSERT_EQ(run({"notes", out}), kToolSuccess);
    EXPECT_EQ(this->out.str(), "2\t48\t3\thold\t96\t0.000000\n"
                               "2\t192\t3\tmine\t0\t1.750000\n"
                               "2\t240\t2\ttap\t0\t2.750000\n");

    // Only the rows asked for; a level without notes is refused with the editor's words.
    ASSERT_EQ(run({"transform", path, "--level", "dance-single:Medium", "--rows", "190:250",
                   "--change-type", "-o", out}),
              kToolSuccess);
    ASSERT_EQ(run({"notes", out}), kToolSuccess);
    EXPECT_NE(this->out.str().find("\t192\t0\tlift"), std::string::npos);
    EXPECT_NE(this->out.str().find("\t48\t0\thold"), std::string::npos);
    EXPECT_EQ(
        run({"transform", path, "--level", "dance-single:Hard", "--quantize", "4", "-o", out}),
        kToolFailed);
    EXPECT_NE(err.str().find(kNothingToQuantizeMessage), std::string::npos);

    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"transform", path, "--level", "dance-single:Medium", "-o", out},
             {"transform", path, "--level", "dance-single:Medium", "--quantize", "5", "-o", out},
             {"transform", path, "--level", "tango:Hard", "--turn", "left", "-o", out},
             {"transform", path, "--level", "dance-single:Medium", "--scale", "0/2", "-o", out},
             {"transform", path, "--level", "dance-single:Medium", "--turn", "left"}})
        EXPECT_EQ(run(bad), kToolUsage) << bad[3] << ' ' << bad[4];
}

// The sync assistant's commands: silent music has no rhythm (said, never a default
// tempo); straighten puts the markers of the beats asked for on one tempo.
TEST_F(SongToolTest, SyncAssistantCommands) {
    ::setenv("XDG_CACHE_HOME", pathOf("cache").c_str(), 1);
    music.frames = 44100 * 5;
    const std::string path = writeSongFile("a.sm", kSong);
    const std::string out = pathOf("s.sm");
    EXPECT_EQ(run({"tempo", path}), kToolFailed);
    EXPECT_NE(err.str().find(kNoRhythmMessage), std::string::npos);
    EXPECT_EQ(run({"autosync", path, "-o", out}), kToolFailed);
    EXPECT_NE(err.str().find(kNoRhythmMessage), std::string::npos);

    // Beats 2 to 5 (the tempo halves after 2.5) come evenly spaced, sub-beat between.
    ASSERT_EQ(run({"straighten", path, "--from-beat", "2", "--to-beat", "5", "-o", out}),
              kToolSuccess);
    ASSERT_EQ(run({"beats", out}), kToolSuccess);
    std::istringstream lines(this->out.str());
    std::vector<long> samples;
    for (long row, sample; lines >> row >> sample; lines.ignore(100, '\n'))
        if (row >= 96 && row <= 240 && row % 48 == 0)
            samples.push_back(sample);
    ASSERT_EQ(samples.size(), 4u);
    EXPECT_NEAR(samples[2] - samples[1], samples[1] - samples[0], 1);
    EXPECT_NEAR(samples[3] - samples[2], samples[1] - samples[0], 1);
    EXPECT_EQ(run({"straighten", path, "--from-beat", "1", "--to-beat", "2", "-o", out}),
              kToolFailed);
    EXPECT_NE(err.str().find(kStraightenNeedsThreeMessage), std::string::npos);
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"tempo", path, "--top", "0"},
             {"tempo", path, "--bpm", "120"},
             {"autosync", path},
             {"straighten", path, "--from-beat", "4", "--to-beat", "2", "-o", out}})
        EXPECT_EQ(run(bad), kToolUsage) << bad[0] << ' ' << bad[2];
}

// A Hard chart of a quarter-note measure, two measures of 16ths, a measure's break and
// one more of 16ths; an Easy chart of one jump.
std::string statsSong() {
    std::string stream;
    for (int i = 0; i < 16; ++i)
        stream += i % 4 == 0 ? "1001\n" : "0100\n";
    return "#TITLE:Stats;#MUSIC:song.ogg;#OFFSET:0;#BPMS:0=150;\n"
           "#NOTES:dance-single: :Hard:9:0,0,0,0,0:1000\n0100\n0010\n0001\n,\n" +
           stream + "," + stream + ",0000\n," + stream + ";\n" +
           "#NOTES:dance-single: :Easy:2:0,0,0,0,0:1100\n;\n";
}

TEST_F(SongToolTest, StatsPrintWhatTheStatisticsDialogShows) {
    music.frames = 44100 * 20;
    const std::string path = writeSongFile("stats.sm", statsSong());
    ASSERT_EQ(run({"stats", path, "--json"}), kToolSuccess);
    const std::string json = out.str();
    ASSERT_TRUE(read(path));
    for (LevelIndex level : {levelIndex(0, 1), levelIndex(0, 3)}) {
        store.setCurrentLevel(level);
        const StatisticsView view = statisticsView(editor);
        std::string object = "{\"level\": \"" + view.chart + "\"";
        for (const StatisticsField& f : view.fields)
            object +=
                ", \"" + std::string(f.key) + "\": " + (f.number ? f.value : '"' + f.value + '"');
        EXPECT_NE(json.find(object + "}"), std::string::npos) << object << '\n' << json;
    }
    EXPECT_NE(json.find("\"taps\": 64, \"jumps\": 12"), std::string::npos);
    EXPECT_NE(json.find("\"breakdown\": \"2 (1) 1\""), std::string::npos);
    EXPECT_NE(json.find("\"peak_nps\": 12.50"), std::string::npos); // 20 notes in 1.6 s

    ASSERT_EQ(run({"stats", "--level", "dance-single:easy", path}), kToolSuccess);
    EXPECT_EQ(out.str(), "level\ttaps\tjumps\thands\tholds\trolls\tmines\tlifts\tpeak_nps\t"
                         "average_nps\tbreakdown\n"
                         "dance-single:Easy\t2\t1\t0\t0\t0\t0\t0\t1.25\t1.25\t-\n");
    EXPECT_EQ(run({"stats", path, "--level", "dance-single"}), kToolUsage);
}

// The same notes twice in a .ssc whose measure 1 starts with a warp of one beat and
// has a stop of half a second on its third beat: as an edited Hard chart, and as a
// Challenge chart with an offset of its own, which is kept as read. The warped notes
// are not counted, and measure 1 lasts 2 s, as the others do.
TEST_F(SongToolTest, StatsCountKeptChartsAndLeaveOutWarpedNotes) {
    music.frames = 44100 * 20;
    std::string stream;
    for (int i = 0; i < 16; ++i)
        stream += i % 4 == 0 ? "1001\n" : "0100\n";
    const std::string notes = "1000\n0100\n0010\n0001\n," + stream + "," + stream + ";\n";
    const std::string path = writeSongFile(
        "kept.ssc",
        "#VERSION:0.83;#TITLE:Kept;#MUSIC:song.ogg;#OFFSET:0;#BPMS:0=120;"
        "#WARPS:4=1;#STOPS:6=0.5;\n#NOTEDATA:;#STEPSTYPE:dance-single;#DIFFICULTY:Hard;#NOTES:\n" +
            notes +
            "#NOTEDATA:;#STEPSTYPE:dance-single;#DIFFICULTY:Challenge;#OFFSET:-1;"
            "#BPMS:0=120;#WARPS:4=1;#STOPS:6=0.5;"
            "#NOTES:\n" +
            notes);
    ASSERT_EQ(run({"stats", path}), kToolSuccess);
    const std::string figures = "\t39\t7\t0\t0\t0\t0\t0\t10.00\t6.50\t1\n";
    EXPECT_NE(out.str().find("dance-single:Hard" + figures + "dance-single:Challenge" + figures),
              std::string::npos)
        << out.str();
}

// A warp opened and closed again leaves every note where it sounded; a delay that
// would overlap the start of the song is refused with the editor's message.
TEST_F(SongToolTest, DelaysAndWarpsAreInsertedAndDeleted) {
    music.frames = 44100 * 5;
    const std::string path = writeSongFile(
        "a.sm", "#MUSIC:song.ogg;#BPMS:0=120;\n#NOTES:dance-single: :Medium:4:0,0,0,0,0:"
                "1000\n0100\n0010\n0001\n,1000\n0100\n0010\n0001\n;\n");
    auto noteSeconds = [this](const std::string& song) {
        EXPECT_EQ(run({"notes", song}), kToolSuccess);
        std::vector<std::string> seconds;
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);)
            seconds.push_back(line.substr(line.rfind('\t') + 1));
        return seconds;
    };
    const auto before = noteSeconds(path);
    const std::string warped = pathOf("w.qx"), delayed = pathOf("d.qx"), back = pathOf("b.qx");
    ASSERT_EQ(run({"insert-warp", path, "--beat", "3", "--length", "2", "-o", warped}),
              kToolSuccess);
    EXPECT_EQ(noteSeconds(warped), before);
    ASSERT_EQ(run({"insert-delay", warped, "--beat", "2", "--length", "0.5", "-o", delayed}),
              kToolSuccess);
    ASSERT_EQ(run({"delete-warp", delayed, "--beat", "3", "-o", back}), kToolSuccess);
    ASSERT_EQ(run({"delete-delay", back, "--beat", "2", "-o", back}), kToolSuccess);
    EXPECT_EQ(noteSeconds(back), before);
    EXPECT_EQ(run({"delete-delay", back, "--beat", "2", "-o", back}), kToolFailed);
    EXPECT_EQ(run({"insert-delay", path, "--beat", "0", "--length", "1", "-o", back}), kToolFailed);
    EXPECT_NE(err.str().find(kDelayRefusedMessage), std::string::npos);
    EXPECT_EQ(run({"insert-warp", path, "--beat", "3", "-o", back}), kToolUsage);
}

} // namespace
} // namespace quillex
