#include <gtest/gtest.h>

#include "fileio/qxx_companion.h"
#include "fileio/song_paths.h"
#include "model/note_kind.h"
#include "song_file_fixture.h"

namespace quillex {
namespace {

class OwnFormatTest : public ::testing::Test, public test::SongFileFixture {
  protected:
    // A song with music loaded (from a minimal `.sm`) and an empty store.
    void loadEmptySong() {
        ASSERT_TRUE(read(writeSongFile("start.sm", "#MUSIC:song.ogg;#BPMS:0=120;")));
        store.clearSong();
    }
    void addBeat(SamplePosition s, RowPosition r = {}, bool locked = false, bool white = false) {
        store.addBeatAtRow(s, r, {.locked = locked, .white = white});
    }
    void addNote(LevelIndex level, int column, std::int32_t row, NoteKind kind,
                 std::int32_t length = 0) {
        const bool hold = fieldsOfNoteKind(kind).isHold;
        store.addNote(level, column, RowPosition::fromRow(row),
                      RowPosition::fromRow(hold ? length : 0), kind);
    }
};

TEST_F(OwnFormatTest, CompanionTextMatchesTheFormat) {
    loadEmptySong();
    addBeat(0);
    addBeat(22050);
    store.refresh();
    addNote(0, 0, 48, NoteKind::Tap);
    store.refresh();
    EXPECT_EQ(
        companionText(store, editor.meters(), 0, 0, 0),
        "#BEATLOC_EX:48=0,96=22050;\r\n#BEATPROPS_EX:48=0000,96=0000;\r\n#PAUSES:;\r\n"
        "#SONGDEMOBEGIN:0;\r\n#SONGDEMOEND:0;\r\n#NOTES_DANCE_SINGLE_BEGINNER_EX:48=0|0|0;\r\n"
        "#FOOT_DANCE_SINGLE_BEGINNER:1;\r\n#WAVECURSOR:0;\r\n");
}

TEST_F(OwnFormatTest, WrittenAndReadBackEverythingIsIdentical) {
    loadEmptySong();
    for (int i = 0; i < 12; ++i)
        addBeat(1000 + i * 20000, {}, i == 3, i % 2 == 0);
    addBeat(1000 + 4 * 20000 + 7000, {4, 12}, true, false); // a sub-beat
    store.refresh();
    store.addPause({6, 0}, {0, 24});
    store.addDelay({8, 0}, {0, 12});
    store.addWarp({10, 0}, {1, 0}); // beat 11 has no marker: the markers are renumbered
    addNote(0, 1, 48, NoteKind::Tap);
    addNote(0, 2, 60, NoteKind::Hold, 30);
    addNote(29, 4, 150, NoteKind::Roll, 24);
    addNote(29, 0, 200, NoteKind::Mine);
    addNote(47, 9, 250, NoteKind::Lift);
    addNote(47, 8, 260, NoteKind::Tap);
    store.refresh();
    editor.meters().set(29, 9);
    editor.player().setPreviewStart(1234);
    editor.player().setPreviewEnd(56789);
    SongProperties& p = editor.song().properties();
    p.title = "Round";
    p.artist = "Trip";
    p.selectable = false;
    p.setDisplayBpmFromText("*");
    p.banner = "b.png";
    const ItemSnapshot before = store.snapshot();
    const SongProperties propertiesBefore = p;

    const std::string path = pathOf("round.qx");
    ASSERT_TRUE(write(path));
    EXPECT_EQ(shell.notices, std::vector<SaveNotice>{SaveNotice::SavedAsQx});
    EXPECT_EQ(shell.title, "quillex - [Round]");
    editor.meters().reset();
    messages.shown.clear();
    ASSERT_TRUE(read(path));
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_EQ(editor.song().properties(), propertiesBefore);
    EXPECT_EQ(editor.player().previewStart(), 1234);
    EXPECT_EQ(editor.player().previewEnd(), 56789);
    EXPECT_EQ(editor.meters().get(29), 9);
    auto same = [](const ItemList& a, const ItemList& b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const EditItem &x = a[i], &y = b[i];
            if (x.sample != y.sample || x.row() != y.row() || x.isSubBeat != y.isSubBeat ||
                x.locked != y.locked || x.colour != y.colour || x.column != y.column ||
                x.lengthRows() != y.lengthRows() || noteKindOf(x) != noteKindOf(y) ||
                x.altKind != y.altKind)
                return false;
        }
        return true;
    };
    EXPECT_TRUE(same(store.beats(), before.beats));
    EXPECT_TRUE(same(store.pauses(), before.pauses));
    EXPECT_TRUE(same(store.delays(), before.delays));
    EXPECT_TRUE(same(store.warps(), before.warps));
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        EXPECT_TRUE(same(store.notes(level), before.notes[level])) << level;
}

TEST_F(OwnFormatTest, BeatsBeforeTheFirstMarkerSurviveTheOwnFormat) {
    loadEmptySong();
    for (int i = 0; i < 4; ++i)
        addBeat(20000 + i * 22050);
    store.refresh();
    addNote(0, 0, 24, NoteKind::Tap);
    store.refresh();
    editor.song().setBeatsBeforeFirstMarker(2);
    const std::string path = pathOf("lead.qx");
    ASSERT_TRUE(write(path));
    EXPECT_NE(test::readFileBytes(companionPathOf(path)).find("\r\n#BEATSBEFOREFIRSTMARKER:2;\r\n"),
              std::string::npos);
    editor.song().setBeatsBeforeFirstMarker(0);
    ASSERT_TRUE(read(path));
    EXPECT_EQ(editor.song().beatsBeforeFirstMarker(), 2);

    // A companion written before the statement existed reads as none.
    std::ofstream(companionPathOf(path), std::ios::binary)
        << "#BEATLOC_EX:48=0,96=22050;\r\n#BEATPROPS_EX:48=0000,96=0000;\r\n";
    ASSERT_TRUE(read(path));
    EXPECT_EQ(store.beats().size(), 2u);
    EXPECT_EQ(editor.song().beatsBeforeFirstMarker(), 0);
}

TEST_F(OwnFormatTest, AHundredThousandNotesComeBackWithTheirMeter) {
    // The companion holds them on one line of more than a megabyte, before the meters.
    music.frames = 44100 * 300;
    loadEmptySong();
    for (int i = 0; i < 540; ++i)
        addBeat(i * 22050);
    store.refresh();
    const LevelIndex level = 4;
    for (int i = 0; i < 100'000; ++i)
        addNote(level, i % 4, 48 + i / 4, i % 7 == 0 ? NoteKind::Mine : NoteKind::Tap);
    store.refresh();
    editor.meters().set(level, 20);
    const std::string path = pathOf("many.qx");
    ASSERT_TRUE(write(path));
    store.clearSong();
    editor.meters().reset();
    ASSERT_TRUE(read(path));
    ASSERT_EQ(store.notes(level).size(), 100'000u);
    EXPECT_EQ(store.notes(level).back().row(), 48 + 99'999 / 4);
    EXPECT_EQ(noteKindOf(store.notes(level).back()), NoteKind::Tap);
    EXPECT_EQ(editor.meters().get(level), 20);
}

TEST_F(OwnFormatTest, CompanionStatementsReadAsTheFormatSays) {
    loadEmptySong();
    applyCompanionText(files, "#BEATLOC_EX:48=0;#BEATPROPS_EX:48=0000;");
    EXPECT_TRUE(store.beats().empty()); // a single location without "," is no grid

    applyCompanionText(files, "#BEATLOC_EX:48=0,96=22050,144=44100,192=66150;"
                              "#BEATPROPS_EX:48=0000,96=0011,144=1100,192=0000;"
                              "#NOTES_DANCE_SINGLE_EASY_EX:150=3|3|24,100=2;"
                              "#FOOT_DANCE_SINGLE_EASY:0;#FOOT_PUMP_COUPLE_EDIT:7;");
    ASSERT_EQ(store.beats().size(), 4u);
    EXPECT_TRUE(store.beats()[1].locked);
    EXPECT_EQ(store.beats()[1].colour, kWhiteMarker);
    EXPECT_FALSE(store.beats()[2].locked);
    EXPECT_EQ(store.beats()[2].colour, kBlueMarker);
    ASSERT_EQ(store.notes(1).size(), 2u);
    EXPECT_EQ(noteKindOf(store.notes(1)[0]), NoteKind::Tap); // missing fields read as 0
    EXPECT_EQ(store.notes(1)[0].column, 2);
    const EditItem& roll = store.notes(1)[1];
    EXPECT_EQ(noteKindOf(roll), NoteKind::Roll);
    EXPECT_EQ(roll.column, 3);
    EXPECT_EQ(roll.start(), (RowPosition{3, 6}));
    EXPECT_EQ(roll.lengthRows(), 24);
    EXPECT_EQ(editor.meters().get(1), 1);
    EXPECT_EQ(editor.meters().get(47), 7);
    EXPECT_TRUE(store.layerOn(Layer::Arrow));
    EXPECT_TRUE(shell.checks[CommandId::ArrowLayer]);
}

TEST_F(OwnFormatTest, AMissingCompanionLeavesASongWithoutBeats) {
    const std::string path = writeSongFile("alone.qx", "#TITLE:Alone;#MUSIC:song.ogg;#BPMS:0=120;");
    ASSERT_TRUE(read(path));
    EXPECT_EQ(messages.lastText(), kMissingCompanionMessage);
    EXPECT_EQ(editor.song().properties().title, "Alone");
    EXPECT_EQ(editor.song().kept().songTiming, (std::vector<KeptStatement>{{"#BPMS", "0=120"}}));
    EXPECT_TRUE(store.beats().empty());
}

// A companion that is not as it was saved opens with what can be read and names what
// was lost; one with nothing to read leaves a song without beats and says why.
TEST_F(OwnFormatTest, ADamagedCompanionSaysWhatItLost) {
    loadEmptySong();
    for (int i = 0; i < 6; ++i)
        addBeat(i * 22050);
    store.refresh();
    for (int row = 48; row <= 240; row += 48)
        addNote(0, 0, row, NoteKind::Tap);
    store.refresh();
    const std::string path = pathOf("d.qx");
    const std::string companionPath = companionPathOf(path);
    ASSERT_TRUE(write(path, false));
    const std::string whole = test::readFileBytes(companionPath);
    const std::size_t notesAt = whole.find("#NOTES_");
    const std::size_t lastProps = whole.find(",288=0000;");
    ASSERT_NE(lastProps, std::string::npos);
    const std::string lost =
        "Some of " + companionPath +
        " could not be read as it was saved; the song opens with what could.\n";
    const std::string notLoaded = ".  The beats, pauses and notes of the song are not loaded.";
    const std::string demoEnd = "#SONGDEMOEND:0;";
    const struct {
        const char* name;
        std::optional<std::string> companion; // none: a folder in its place
        std::string message;
        std::size_t beats, notes;
    } cases[] = {
        {"empty", "", "I can't read " + companionPath + ": it is empty" + notLoaded, 0, 0},
        {"a folder", std::nullopt,
         "I can't read " + companionPath + ": it is a folder, not a file" + notLoaded, 0, 0},
        {"cut inside the notes", whole.substr(0, notesAt + 52),
         lost + "It ends inside #NOTES_DANCE_SINGLE_BEGINNER_EX: the file was cut short there, "
                "and whatever followed is lost.",
         6, 2},
        {"beat properties short of one",
         whole.substr(0, lastProps) + ";" + whole.substr(lastProps + 10),
         lost + "#BEATPROPS_EX holds 5 beat properties for 6 beats: beats without theirs are "
                "unlocked and blue.",
         6, 5},
        {"a piece that is no note", std::string(whole).insert(whole.find(";", notesAt), ",junk"),
         lost + "#NOTES_DANCE_SINGLE_BEGINNER_EX: skipped 1 piece that is not \"row=value\".", 6,
         5},
        {"damaged kept .ssc data", whole + "#KEPTSSC:3a;\r\n",
         lost + "#KEPTSSC is damaged: the song statements and charts kept from the .ssc file "
                "could not be read.",
         6, 5},
        {"from another save",
         std::string(whole).replace(whole.find(demoEnd), demoEnd.size(), "#SONGDEMOEND:5;"),
         lost + "It is not the companion that was saved with the song file: it was changed or "
                "replaced since, or that save was interrupted.  Its beats and notes are loaded "
                "as they are; check them against the song before saving.",
         6, 5},
        {"whole", whole, "", 6, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(companionPath);
        if (c.companion)
            writeFile("d.qxx", *c.companion);
        else
            std::filesystem::create_directory(companionPath);
        messages.shown.clear();
        ASSERT_TRUE(read(path));
        EXPECT_EQ(shownTexts(), c.message.empty() ? std::vector<std::string>{}
                                                  : std::vector<std::string>{c.message});
        EXPECT_EQ(store.beats().size(), c.beats);
        EXPECT_EQ(store.notes(0).size(), c.notes);
    }
}

TEST_F(OwnFormatTest, PausesStayInTheCompanionAndLeaveTheSongFileRows) {
    loadEmptySong();
    for (int i = 0; i < 8; ++i)
        addBeat(i * 22050);
    store.refresh();
    store.addPause({3, 0}, {1, 0});
    addNote(0, 0, 192, NoteKind::Tap);
    store.refresh();
    const std::string path = pathOf("p.qx");
    ASSERT_TRUE(write(path));
    const std::string song = test::readFileBytes(path);
    const std::string companion = test::readFileBytes(companionPathOf(path));
    EXPECT_NE(song.find("#STOPS:2=0.5;\r\n"), std::string::npos);
    EXPECT_NE(song.find("\r\n0000\r\n0000\r\n1000\r\n"), std::string::npos); // row 144
    EXPECT_NE(companion.find("#PAUSES:144=48;\r\n"), std::string::npos);
    EXPECT_NE(companion.find("_EX:192=0|0|0;"), std::string::npos);
}

} // namespace
} // namespace quillex
