// Real `.sm` files written by other tools, each read with silent music of its name.
#include <gtest/gtest.h>

#include "fileio/sm_parser.h"
#include "fileio/song_paths.h"
#include "fileio/statement_text.h"
#include "song_file_fixture.h"

namespace quillex {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpusFiles() {
    std::vector<fs::path> files;
    const fs::path root = QUILLEX_SM_CORPUS;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error))
        if (it->path().extension() == ".sm")
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

// Notes a level's measures hold.
std::size_t notesIn(const SmLevelData& level) {
    std::size_t count = 0;
    for (const std::string& measure : level.measures)
        for (char c : measure)
            count += c == '1' || c == '2' || c == '4' || c == 'M' || c == 'L';
    return count;
}

class CorpusTest : public ::testing::Test, public test::SongFileFixture {};

TEST_F(CorpusTest, EveryFileReadsAndThoseWithMusicAndTempoReadTheirCharts) {
    const std::vector<fs::path> files = corpusFiles();
    if (files.empty())
        GTEST_SKIP() << "no corpus at " << QUILLEX_SM_CORPUS;
    music.frames = 44100 * 400;
    int songsRead = 0;
    for (const fs::path& original : files) {
        SCOPED_TRACE(original.string());
        const std::string text = test::readFileBytes(original.string());
        const std::string path = writeFile(original.filename().string(), text);

        TagMap tags;
        RecordingMessages parseMessages;
        const SmFileContent parsed =
            parseSmText(joinLines(text, TextKind::Song), tags, parseMessages);
        const std::string musicName = tags.first("#MUSIC");
        if (!musicName.empty())
            writeFile(std::string(fileNameOf(musicName)), "x");

        messages.shown.clear();
        const bool read = this->read(path);
        const bool readable = !musicName.empty() && !parsed.timing.bpms.empty() &&
                              parsed.timing.bpms.front().beat == 0;
        EXPECT_EQ(read, readable);
        songsRead += read;
        std::size_t charts = 0;
        for (LevelIndex level = 0; level < kLevelCount; ++level) {
            const std::size_t expected = notesIn(parsed.timing.levels[level]);
            if (expected == 0)
                continue;
            ++charts;
            if (readable) {
                EXPECT_EQ(store.notes(level).size(), expected) << "level " << level;
            }
        }
        EXPECT_GT(charts, 0u);
        if (readable) {
            EXPECT_GT(store.beats().size(), 10u);
        }
        if (!musicName.empty())
            fs::remove(pathOf(std::string(fileNameOf(musicName))));
    }
    EXPECT_GE(songsRead, 6); // all but the two without a #MUSIC
}

} // namespace
} // namespace quillex
