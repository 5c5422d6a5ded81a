// `.ssc` songs: where the notes of small hand-made files sound (stops, delays, warps,
// charts with timing of their own, a second chart of one level), what a `.sm` save
// leaves out, and real and hand-made files saved again unchanged.
#include <gtest/gtest.h>

#include <cmath>

#include "fileio/kept_chart_conversion.h"
#include "fileio/qxx_kept_data.h"
#include "fileio/sm_losses.h"
#include "fileio/ssc_timeline.h"
#include "fileio/statement_text.h"
#include "game_timeline.h"
#include "song_file_fixture.h"

namespace quillex {
namespace {

namespace fs = std::filesystem;

constexpr LevelIndex kSingleHard = 3;
constexpr LevelIndex kSingleEdit = 5;

// A dance-single chart with a tap in the first column on each of `beats` (whole beats).
std::string chart(std::string_view difficulty, std::initializer_list<int> beats,
                  std::string_view ownTags = "") {
    const int last = *std::max_element(beats.begin(), beats.end());
    std::string text =
        "#NOTEDATA:;\n#STEPSTYPE:dance-single;\n#DIFFICULTY:" + std::string(difficulty) +
        ";\n#METER:3;\n" + std::string(ownTags) + "#NOTES:\n";
    for (int beat = 0; beat <= last / 4 * 4 + 3; ++beat) {
        text += std::find(beats.begin(), beats.end(), beat) != beats.end() ? "1000\n" : "0000\n";
        if (beat % 4 == 3)
            text += beat >= last ? ";\n" : ",\n";
    }
    return text;
}

std::string song(std::string_view timing, const std::string& charts) {
    return "#VERSION:0.83;\n#TITLE:t;\n#MUSIC:song.ogg;\n#OFFSET:0;\n#BPMS:0=120;\n" +
           std::string(timing) + charts;
}

// The seconds of the played notes of a level, in order.
std::vector<double> playedSeconds(const ItemStore& store, LevelIndex level, int rate) {
    std::vector<double> seconds;
    const TimingMap timing = store.timing();
    for (const EditItem& note : store.notes(level))
        if (!timing.insideWarp(note.row()))
            seconds.push_back(static_cast<double>(note.sample) / rate);
    return seconds;
}

std::vector<double> keptSeconds(const Song& song, std::size_t chart) {
    std::vector<double> seconds;
    for (const KeptNote& note : keptChartNotes(song.kept().charts[chart].sectionText, 4,
                                               timingOfStatements(song.kept().songTiming)))
        if (note.seconds)
            seconds.push_back(*note.seconds);
    return seconds;
}

class SscTest : public ::testing::Test, public test::SongFileFixture {
  protected:
    SscTest() { music.frames = 44100 * 60; }
};

TEST_F(SscTest, NotesSoundWhereTheGamePlaysThem) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<double> edited;    // seconds of the edited chart's played notes
        std::vector<double> keptFirst; // of the first chart kept as read
    };
    const std::string beats012 = chart("Hard", {0, 1, 2});
    const Case cases[] = {
        {"stop", song("#STOPS:1=1;\n", beats012), {0, 0.5, 2.0}, {}},
        {"delay", song("#DELAYS:1=1;\n", beats012), {0, 1.5, 2.0}, {}},
        {"stop and delay on a row",
         song("#STOPS:1=1;\n#DELAYS:1=0.5;\n", beats012),
         {0, 1.0, 2.5},
         {}},
        {"warp", song("#WARPS:1=1;\n", chart("Hard", {0, 1, 2, 3})), {0, 0.5, 1.0}, {}},
        {"warp at 0", song("#WARPS:0=1;\n", beats012), {0, 0.5}, {}},
        {"negative stop", song("#STOPS:1=-0.5;\n", chart("Hard", {0, 1, 2, 3})), {0, 0.5, 1.0}, {}},
        {"overlapping warps",
         song("#WARPS:1=2,2=2;\n", chart("Hard", {0, 1, 2, 3, 4, 5})),
         {0, 0.5, 1.0},
         {}},
        {"own timing",
         song("", beats012 + chart("Edit", {0, 1, 2}, "#BPMS:0=60;\n")),
         {0, 0.5, 1.0},
         {0, 1.0, 2.0}},
        {"empty own offset", song("", chart("Hard", {0, 1, 2}, "#OFFSET:;\n")), {0, 0.5, 1.0}, {}},
        {"two Edits",
         song("", chart("Edit", {0, 1}) + chart("Edit", {2}, "#CHARTNAME:b;\n")),
         {0, 0.5},
         {1.0}},
        {"NOTES2",
         song("",
              [] {
                  std::string c = chart("Hard", {0, 1});
                  c.replace(c.find("#NOTES:"), 7, "#NOTES2:");
                  return c;
              }()),
         {0, 0.5},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(read(writeSongFile("a.ssc", c.text)));
        const LevelIndex level = store.notes(kSingleHard).empty() ? kSingleEdit : kSingleHard;
        const std::vector<double> edited = playedSeconds(store, level, music.rate);
        ASSERT_EQ(edited.size(), c.edited.size());
        for (std::size_t i = 0; i < edited.size(); ++i)
            EXPECT_NEAR(edited[i], c.edited[i], 0.05e-3) << "note " << i;
        if (c.keptFirst.empty())
            continue;
        const std::vector<double> kept = keptSeconds(editor.song(), 0);
        ASSERT_EQ(kept.size(), c.keptFirst.size());
        for (std::size_t i = 0; i < kept.size(); ++i)
            EXPECT_NEAR(kept[i], c.keptFirst[i], 0.05e-3) << "kept note " << i;
    }
    // The stops' message names the file's kind.
    ASSERT_TRUE(read(writeSongFile("a.ssc", cases[0].text)));
    EXPECT_EQ(messages.lastText().rfind("I found pauses while reading this SSC file.", 0), 0u);
}

// Reads `path` with music of `musicSeconds`, saves it as `.ssc` and reads that back:
// every note and marker within
// 0.1 ms, as many tempos, the charts kept as read byte for byte in the file written.
void expectSavedUnchanged(SscTest& t, const std::string& path, int musicSeconds = 400) {
    t.music.frames = 44100 * musicSeconds;
    ASSERT_TRUE(t.read(path));
    const auto samplesOf = [](const ItemList& list) {
        std::vector<SamplePosition> samples;
        for (const EditItem& item : list)
            samples.push_back(item.sample);
        return samples;
    };
    const auto everything = [&] {
        std::vector<std::vector<SamplePosition>> lists{
            samplesOf(t.store.beats()), samplesOf(t.store.pauses()), samplesOf(t.store.delays()),
            samplesOf(t.store.warps())};
        for (LevelIndex level = 0; level < kLevelCount; ++level)
            lists.push_back(samplesOf(t.store.notes(level)));
        return lists;
    };
    const std::vector<std::vector<SamplePosition>> before = everything();
    const KeptSongData keptBefore = t.editor.song().kept();
    const std::string saved = t.pathOf("saved.ssc");
    ASSERT_TRUE(t.write(saved, false));
    ASSERT_TRUE(t.read(saved));
    // Markers, pauses, delays, warps and each level's notes, within 0.1 ms.
    const std::vector<std::vector<SamplePosition>> after = everything();
    for (std::size_t list = 0; list < before.size(); ++list) {
        ASSERT_EQ(after[list].size(), before[list].size()) << "list " << list;
        for (std::size_t i = 0; i < before[list].size(); ++i)
            EXPECT_NEAR(after[list][i], before[list][i], 0.1e-3 * t.music.rate)
                << "list " << list << " item " << i;
    }
    const KeptSongData& keptAfter = t.editor.song().kept();
    EXPECT_EQ(keptAfter.charts, keptBefore.charts);
    EXPECT_EQ(keptAfter.songStatements, keptBefore.songStatements);
    EXPECT_EQ(keptAfter.chartOrder, keptBefore.chartOrder);
    const auto tempoCount = [](const KeptSongData& kept) {
        return timingOfStatements(kept.songTiming).bpms.size();
    };
    EXPECT_EQ(tempoCount(keptAfter), tempoCount(keptBefore));
}

TEST_F(SscTest, RealAndHandMadeSongsSaveUnchanged) {
    std::vector<std::string> paths;
    std::error_code error;
    for (fs::recursive_directory_iterator it(QUILLEX_SM_CORPUS, error), end; !error && it != end;
         it.increment(error))
        if (it->path().extension() == ".ssc")
            paths.push_back(it->path().string());
    for (const std::string& path : paths) {
        // Each beside silence of the name its #MUSIC gives (one for those without).
        const std::string name = fs::path(path).filename().string();
        std::string text = test::readFileBytes(path);
        TagMap tags;
        RecordingMessages quiet;
        parseSscText(text, tags, quiet);
        if (tags.first("#MUSIC").empty())
            text = "#MUSIC:song.ogg;\n" + text;
        else
            writeFile(tags.first("#MUSIC"), "x");
        SCOPED_TRACE(path);
        expectSavedUnchanged(*this, writeSongFile(name, text));
    }
    SCOPED_TRACE("hand-made");
    expectSavedUnchanged(
        *this, writeSongFile("b.ssc", song("#STOPS:1=1;\n#DELAYS:1=0.5,3=0.25;\n#WARPS:5=1.5;\n"
                                           "#LABELS:0=Start;\n#FOO:kept;\n",
                                           chart("Hard", {0, 1, 2, 3, 4, 5, 6, 7, 8}) +
                                               chart("Edit", {0, 2}, "#BPMS:0=150;\n") +
                                               chart("Easy", {0, 4}))));
    // A long warp with music that ends with the chart: the markers are fewer than the
    // file's beats, and the measures after the warp are still written.
    SCOPED_TRACE("a long warp");
    expectSavedUnchanged(
        *this,
        writeSongFile("w.ssc",
                      song("#WARPS:4=8;\n", chart("Hard", {0, 1, 2, 3, 4, 12, 13, 14, 15}))),
        4);
}

TEST_F(SscTest, AChartWithTimingOfItsOwnTakesTheSongsTimingAndUndoKeepsItAsRead) {
    // At 60 BPM its beats 0, 1 and 2 sound on the song's beats 0, 2 and 4; at 100 BPM
    // its beat 1 sounds on the song's beat 1.2, between two of the song's 192nds.
    for (const auto& [bpm, beats, offGrid] :
         {std::tuple("60", std::vector<double>{0, 2, 4}, false),
          std::tuple("100", std::vector<double>{0, 1.2, 2.4}, true)}) {
        SCOPED_TRACE(bpm);
        ASSERT_TRUE(read(writeSongFile(
            "a.ssc", song("", chart("Edit", {0, 1, 2}, "#BPMS:0=" + std::string(bpm) + ";\n")))));
        messages.shown.clear();
        ASSERT_TRUE(convertKeptChart(files, 0));
        const ItemList& notes = store.notes(kSingleEdit);
        ASSERT_EQ(notes.size(), 3u);
        for (std::size_t i = 0; i < notes.size(); ++i)
            EXPECT_NEAR(notes[i].sample, beats[i] * 0.5 * music.rate, 0.5 * 0.5 * music.rate / 48);
        EXPECT_EQ(messages.shown.size(), offGrid ? 1u : 0u);
        EXPECT_FALSE(convertKeptChart(files, 0)); // its level has the notes now
        ASSERT_TRUE(write(pathOf("b.ssc"), false));
        EXPECT_EQ(test::readFileBytes(pathOf("b.ssc")).find("#BPMS:0=" + std::string(bpm)),
                  std::string::npos);
        // Undone, the level is empty and the chart is kept as read again.
        store.editNotes(kSingleEdit).clear();
        EXPECT_TRUE(writtenAsRead(editor.song().kept().charts[0], store));
    }
}

TEST_F(SscTest, SavingAsSmAsksBeforeLeavingOutWhatSmCannotHold) {
    // A kept chart of a type the editor does not know, seven columns wide, goes into the
    // .sm with its rows as the file laid them out.
    const std::string sevenColumns =
        "#NOTEDATA:;\n#STEPSTYPE:kb7-single;\n#DIFFICULTY:Hard;\n"
        "#METER:4;\n#NOTES:\n1000000\n0[2]000100\n0000000\n0000010\n;\n";
    ASSERT_TRUE(read(writeSongFile(
        "a.ssc", song("#WARPS:1=1;\n", chart("Hard", {0, 2, 3}, "#CREDIT:someone;\n") +
                                           chart("Edit", {0}, "#BPMS:0=60;\n") + sevenColumns))));
    const std::string sm = pathOf("a.sm");
    messages.answer = false;
    EXPECT_FALSE(write(sm));
    EXPECT_FALSE(fs::exists(sm));
    EXPECT_NE(messages.lastText().find("1 warp\n  #CREDIT of the chart dance-single Hard\n  the "
                                       "chart dance-single Edit kept as read"),
              std::string::npos)
        << messages.lastText();
    messages.answer = true;
    ASSERT_TRUE(write(sm));
    const std::string written = test::readFileBytes(sm);
    EXPECT_EQ(written.find("Edit"), std::string::npos);
    EXPECT_NE(written.find("kb7-single:\r\n"), std::string::npos);
    EXPECT_NE(written.find("\r\n1000000\r\n0[2]000100\r\n0000000\r\n0000010\r\n;"),
              std::string::npos)
        << written;
    // Without its warp the markers keep their samples, so the notes after the warp
    // keep their times: the tempo over the warp's rows is raised instead.
    ASSERT_TRUE(read(sm));
    const std::vector<double> seconds = playedSeconds(store, kSingleHard, music.rate);
    ASSERT_EQ(seconds.size(), 3u);
    EXPECT_NEAR(seconds[2], 1.0, 0.1e-3);
}

// Saved as .qx and opened again, a song read from .ssc still writes back the charts and
// statements it kept; a damaged companion value keeps what was read whole before the
// damage, with every chart it kept still in the chart order, and names what it lost.
TEST_F(SscTest, TheOwnFormatCarriesWhatTheSscKept) {
    ASSERT_TRUE(read(writeSongFile("a.ssc", song("#LABELS:0=Start;\n#FOO:a;b\\;\n",
                                                 chart("Hard", {0, 1}) +
                                                     chart("Edit", {0, 2}, "#BPMS:0=150;\n") +
                                                     chart("Edit", {1}) + chart("Edit", {3})))));
    const KeptSongData before = editor.song().kept();
    ASSERT_EQ(before.charts.size(), 2u);
    ASSERT_TRUE(write(pathOf("a.qx"), false));
    ASSERT_TRUE(read(pathOf("a.qx")));
    const KeptSongData& after = editor.song().kept();
    EXPECT_EQ(after.songStatements, before.songStatements);
    EXPECT_EQ(after.songTiming, before.songTiming);
    EXPECT_EQ(after.levelStatements, before.levelStatements);
    EXPECT_EQ(after.charts, before.charts);
    EXPECT_EQ(after.chartOrder, before.chartOrder);
    ASSERT_TRUE(write(pathOf("b.ssc"), false));
    const std::string written = test::readFileBytes(pathOf("b.ssc"));
    for (const KeptChart& chart : before.charts)
        EXPECT_NE(written.find(chart.sectionText), std::string::npos) << chart.sectionText;

    const std::string value = keptDataValue(before);
    std::string secondChart; // where the second kept chart starts in the value
    for (unsigned char c : std::to_string(before.charts[1].sectionText.size()) + ":")
        secondChart += "0123456789abcdef"[c >> 4], secondChart += "0123456789abcdef"[c & 15];
    const std::size_t cutInCharts = value.find(secondChart);
    ASSERT_NE(cutInCharts, std::string::npos);
    const struct {
        std::string value;
        std::size_t charts;
        std::string lost;
    } cases[] = {
        {value.substr(0, value.size() - 2), 2,
         "the order of the .ssc file's charts could not be read"},
        {value + "0", 2, "it ends in text that is not part of it"},
        {value.substr(0, cutInCharts + 40), 1,
         "1 of the 2 charts kept from the .ssc file could not be read"},
        {"zz" + value.substr(2), 0,
         "the song statements and charts kept from the .ssc file could not be read"},
        {"3a", 0, "the song statements and charts kept from the .ssc file could not be read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lost);
        const KeptDataRead read = readKeptDataValue(c.value);
        EXPECT_EQ(read.lost, c.lost);
        ASSERT_EQ(read.kept.charts.size(), c.charts);
        for (std::size_t i = 0; i < c.charts; ++i)
            EXPECT_EQ(read.kept.charts[i], before.charts[i]);
        EXPECT_EQ(read.kept.songTiming,
                  c.charts > 0 ? before.songTiming : std::vector<KeptStatement>{});
        std::size_t ordered = 0;
        for (const ChartSlot& slot : read.kept.chartOrder)
            ordered += slot.kept;
        EXPECT_EQ(ordered, c.charts);
    }
    EXPECT_TRUE(readKeptDataValue(value).lost.empty());
}

} // namespace
} // namespace quillex
