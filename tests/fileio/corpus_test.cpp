// Real `.sm` and `.ssc` files written by other tools, each read with silent music of its
// name, longer and shorter than its charts (or over silence when it names none); every
// note must be kept and sound where the game plays it.
#include <gtest/gtest.h>

#include "fileio/sm_parser.h"
#include "fileio/song_paths.h"
#include "fileio/ssc_parser.h"
#include "fileio/statement_text.h"
#include "corpus_files.h"
#include "game_timeline.h"
#include "song_file_fixture.h"

namespace quillex {
namespace {

namespace fs = std::filesystem;

test::GameTimeline gameTimelineOf(const SmTimingInput& timing, const TagMap& tags) {
    test::GameTimeline game;
    game.offsetSeconds = textToDouble(tags.first("#OFFSET"));
    for (const SmTimedValue& b : timing.bpms)
        game.bpms.push_back({b.beat, b.value});
    for (const SmTimedValue& s : timing.stops)
        game.stops.push_back({s.beat, s.value});
    return game;
}

class CorpusTest : public ::testing::Test, public test::SongFileFixture {
  protected:
    // Every note of the chart is kept, on or after beat marker 1, and sounds within
    // 0.05 ms of where the game plays it, before, inside or after the music.
    void expectNotesWhereTheGamePlaysThem(LevelIndex level,
                                          const std::vector<test::NoteBeat>& expected,
                                          const test::GameTimeline& game) {
        const ItemList& notes = store.notes(level);
        ASSERT_EQ(notes.size(), expected.size()) << "level " << level;
        for (std::size_t i = 0; i < notes.size(); ++i) {
            EXPECT_EQ(notes[i].column, expected[i].column);
            EXPECT_GE(notes[i].row(), kRowsPerBeat);
            EXPECT_NEAR(notes[i].sample, game.sampleAt(expected[i].beat, music.rate),
                        0.05e-3 * music.rate)
                << "level " << level << " note " << i << " at beat " << expected[i].beat;
        }
    }
};

TEST_F(CorpusTest, EveryFileReadsAndEveryNoteSoundsWhereTheGamePlaysIt) {
    const std::vector<fs::path> files = test::songFilesUnder(QUILLEX_SM_CORPUS);
    if (files.empty())
        GTEST_SKIP() << "no corpus at " << QUILLEX_SM_CORPUS;
    int songsRead = 0;
    for (const fs::path& original : files)
        for (const int seconds : {400, 20}) {
            music.frames = 44100 * seconds;
            SCOPED_TRACE(original.string() + " with music of " + std::to_string(seconds) + " s");
            const std::string text = test::readFileBytes(original.string());
            const std::string path = writeFile(original.filename().string(), text);

            TagMap tags;
            RecordingMessages parseMessages;
            const bool ssc = original.extension() == ".ssc";
            SmFileContent parsed;
            std::size_t keptCharts = 0;
            if (ssc) {
                SscFileContent content = parseSscText(text, tags, parseMessages);
                parsed.timing = std::move(content.timing);
                keptCharts = content.kept.charts.size();
            } else {
                parsed = parseSmText(joinLines(text, TextKind::Song), tags, parseMessages);
            }
            const std::string musicName = tags.first("#MUSIC");
            if (!musicName.empty())
                writeFile(std::string(fileNameOf(musicName)), "x");

            messages.shown.clear();
            const bool read = this->read(path);
            const bool readable =
                !parsed.timing.bpms.empty() && parsed.timing.bpms.front().beat == 0;
            EXPECT_EQ(read, readable);
            songsRead += read;
            const test::GameTimeline game = gameTimelineOf(parsed.timing, tags);
            std::size_t charts = 0;
            for (LevelIndex level = 0; level < kLevelCount; ++level) {
                const std::vector<test::NoteBeat> expected = test::noteBeatsOf(
                    parsed.timing.levels[level].measures, columnCountOfLevel(level));
                if (expected.empty())
                    continue;
                ++charts;
                if (readable)
                    expectNotesWhereTheGamePlaysThem(level, expected, game);
            }
            EXPECT_GT(charts + keptCharts, 0u);
            if (readable && charts > 0) {
                EXPECT_GT(store.beats().size(), 10u);
            }
            if (!musicName.empty())
                fs::remove(pathOf(std::string(fileNameOf(musicName))));
        }
    EXPECT_GE(songsRead, 2 * 10);
}

} // namespace
} // namespace quillex
