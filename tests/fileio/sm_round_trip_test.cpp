// `.sm` songs read and saved unchanged: the saved file brings every beat marker back on
// its sample, keeps the tempos as the original wrote them, and the game plays every
// note where it played it before.
#include <gtest/gtest.h>

#include <cmath>

#include "fileio/sm_parser.h"
#include "fileio/song_paths.h"
#include "fileio/statement_text.h"
#include "corpus_files.h"
#include "game_timeline.h"
#include "song_file_fixture.h"

namespace quillex {
namespace {

namespace fs = std::filesystem;

// What the game sees in a `.sm` text: its timeline and the beat of every note, level by
// level.
struct GameView {
    test::GameTimeline timeline;
    std::vector<std::vector<double>> noteBeats;
    std::string musicName;
};

GameView gameView(const std::string& text) {
    TagMap tags;
    RecordingMessages messages;
    const SmFileContent content = parseSmText(joinLines(text, TextKind::Song), tags, messages);
    GameView view;
    view.musicName = tags.first("#MUSIC");
    view.timeline.offsetSeconds = textToDouble(tags.first("#OFFSET"));
    for (const SmTimedValue& b : content.timing.bpms)
        view.timeline.bpms.push_back({b.beat, b.value});
    for (const SmTimedValue& s : content.timing.stops)
        view.timeline.stops.push_back({s.beat, s.value});
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        const std::size_t columns = static_cast<std::size_t>(columnCountOfLevel(level));
        std::vector<double> beats;
        const std::vector<std::string>& measures = content.timing.levels[level].measures;
        for (std::size_t m = 0; m < measures.size(); ++m) {
            const std::size_t rows = measures[m].size() / columns;
            for (std::size_t i = 0; i < rows * columns; ++i)
                if (std::string_view("124ML").find(measures[m][i]) != std::string_view::npos)
                    beats.push_back(4.0 * m + 4.0 * static_cast<double>(i / columns) / rows);
        }
        view.noteBeats.push_back(std::move(beats));
    }
    return view;
}

// Every chart's "#NOTES" header as a game reads it: type, description, difficulty,
// meter and the radar values, sorted (a save orders the charts by level).
std::vector<std::string> notesHeaders(const std::string& text) {
    std::vector<std::string> headers;
    // The statements are views into the joined text, which must outlive them.
    const std::string joined = joinLines(text, TextKind::Song);
    for (const Statement& s : splitStatements(joined)) {
        const std::vector<std::string_view> fields = splitNonEmpty(s.value, ':');
        if (toUpper(trimBlanks(s.key)) != "#NOTES" || fields.size() != 6)
            continue;
        std::string header;
        for (std::size_t i = 0; i < 5; ++i)
            header += (i == 4  ? withoutBlanks(fields[i])
                       : i % 2 ? std::string(trimBlanks(fields[i]))
                               : toLower(trimBlanks(fields[i]))) +
                      "|";
        headers.push_back(header);
    }
    std::sort(headers.begin(), headers.end());
    return headers;
}

// The tempo segments of a file, equal neighbours merged, each to 3 decimals.
std::vector<long long> tempoSegments(const test::GameTimeline& timeline) {
    std::vector<long long> values;
    for (const auto& change : timeline.bpms) {
        const long long milli = std::llround(change.value * 1000);
        if (values.empty() || values.back() != milli)
            values.push_back(milli);
    }
    return values;
}

class SmRoundTripTest : public ::testing::Test, public test::SongFileFixture {
  protected:
    std::vector<SamplePosition> markerSamples() const {
        std::vector<SamplePosition> samples;
        for (const EditItem& beat : store.beats())
            samples.push_back(beat.sample);
        return samples;
    }

    // Reads `original`, saves it as `.sm` and compares what the game and the reader
    // make of the two files.
    void expectUnchangedBySaving(const std::string& name, const std::string& original) {
        SCOPED_TRACE(name);
        const GameView before = gameView(original);
        writeFile(std::string(fileNameOf(before.musicName)), "x");
        ASSERT_TRUE(read(writeFile("original.sm", original)));
        const std::vector<SamplePosition> markers = markerSamples();
        const std::string savedPath = pathOf("saved.sm");
        ASSERT_TRUE(write(savedPath));
        const std::string saved = test::readFileBytes(savedPath);
        const GameView after = gameView(saved);

        EXPECT_EQ(tempoSegments(after.timeline), tempoSegments(before.timeline));
        for (LevelIndex level = 0; level < kLevelCount; ++level) {
            const std::vector<double>& was = before.noteBeats[level];
            const std::vector<double>& is = after.noteBeats[level];
            ASSERT_EQ(is.size(), was.size()) << "level " << level;
            for (std::size_t i = 0; i < was.size(); ++i)
                ASSERT_NEAR(after.timeline.secondsAt(is[i]), before.timeline.secondsAt(was[i]),
                            1e-4)
                    << "level " << level << " note " << i << " at beat " << was[i];
        }
        EXPECT_EQ(notesHeaders(saved), notesHeaders(original));
        ASSERT_TRUE(read(savedPath));
        EXPECT_EQ(markerSamples(), markers);
        // The own format keeps them too: saved as .qx, reopened and saved as .sm again.
        ASSERT_TRUE(write(pathOf("saved.qx")));
        ASSERT_TRUE(read(pathOf("saved.qx")));
        ASSERT_TRUE(write(pathOf("again.sm")));
        EXPECT_EQ(notesHeaders(test::readFileBytes(pathOf("again.sm"))), notesHeaders(original));
        fs::remove(pathOf(std::string(fileNameOf(before.musicName))));
    }
};

// 24 measures with a note on every quarter and a mine on some eighths, the first note
// on beat 0.
std::string chart() {
    std::string measures;
    for (int m = 0; m < 24; ++m)
        measures += std::string(m ? "," : "") + "1000\n0000\n0100\n0010\n0001\n0000\nM000\n0000\n";
    return "#NOTES:dance-single:A description:Hard:5:0.1,0.2,0.3,0.4,0.5:\n" + measures + ";\n";
}

TEST_F(SmRoundTripTest, SavingAnUnchangedSongChangesNothingTheGamePlays) {
    music.frames = 44100 * 120;
    const std::vector<std::pair<std::string, std::string>> songs = {
        {"a positive offset puts beat 0 before the music",
         "#MUSIC:song.ogg;#OFFSET:0.1;#BPMS:0=128;"},
        {"stops, and tempo changes on and off the beat",
         "#MUSIC:song.ogg;#OFFSET:-0.123;#BPMS:0=120,8=147,16.5=90;#STOPS:4=0.25,12=1;"},
        {"a tempo change on a stop's beat",
         "#MUSIC:song.ogg;#OFFSET:-0.05;#BPMS:0=150,10=100.5,30=171;#STOPS:10=0.4,30=0.123;"},
    };
    for (const auto& [name, header] : songs)
        expectUnchangedBySaving(name, header + chart());
}

TEST_F(SmRoundTripTest, EveryCorpusSongWithMusicIsUnchangedBySaving) {
    const std::vector<fs::path> files = test::songFilesUnder(QUILLEX_SM_CORPUS, {".sm"});
    if (files.empty())
        GTEST_SKIP() << "no corpus at " << QUILLEX_SM_CORPUS;
    music.frames = 44100 * 400;
    int songs = 0;
    for (const fs::path& file : files) {
        const std::string text = test::readFileBytes(file.string());
        const GameView view = gameView(text);
        if (view.musicName.empty() || view.timeline.bpms.empty())
            continue;
        ++songs;
        expectUnchangedBySaving(file.filename().string(), text);
    }
    EXPECT_GE(songs, 6);
}

} // namespace
} // namespace quillex
