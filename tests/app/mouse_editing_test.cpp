// The left mouse button on a real song: grabbing and dragging beats and pauses as one
// undo step, what a click selects, the rubber band in each layer, the cursor line and
// the position bar.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/input/mouse_editing.h"
#include "editing_fixture.h"
#include "fileio/song_reader.h"

namespace quillex {
namespace {

// 120 BPM: a beat every 22050 samples. Four taps, one per beat, in dance-single Medium.
const std::string kSong = "#TITLE:Mouse;#MUSIC:song.ogg;#OFFSET:0;#BPMS:0=120;#STOPS:;\n"
                          "#NOTES:dance-single: :Medium:3:0,0,0,0,0:\n"
                          "1000\n0100\n0010\n0001\n;\n";
constexpr int kBeat = 22050;
constexpr int kSpr = 512;     // samples per row at the default zoom
constexpr int kMarkerX = 110; // on the beat markers, left of every note column

class MouseEditingTest : public ::testing::Test, public test::EditingFixture {
  protected:
    MouseEditingTest() {
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "song.ogg") << "x";
        std::ofstream(folder / "song.sm", std::ios::binary) << kSong;
        store.addScreenRegions();
        EXPECT_TRUE(readSong(song, (folder / "song.sm").string()));
        dispatcher.selectLevel(levelIndex(0, 2));
        view.setWindowSize(800, 600);
        editor.player().seek(kBeat);
        store.setModified(false);
    }
    ~MouseEditingTest() override { std::filesystem::remove_all(folder); }

    void beatMode() { view.setLayer(Layer::Arrow, false); }
    int rowOf(SamplePosition sample) const {
        return view.geometry(editor.player().position()).rowOfSample(sample);
    }
    // A press, motion frames toward (x, y) in steps of `step` rows, and the release.
    void drag(int x0, int y0, int x, int y, bool ctrl = false, int step = 10) {
        mouse.press(x0, y0, ctrl);
        for (int row = y0; row != y;) {
            row = y > row ? std::min(y, row + step) : std::max(y, row - step);
            mouse.motion(x, row, 0);
        }
        mouse.release();
    }
    void click(int x, int y, bool ctrl = false) { drag(x, y, x, y, ctrl); }
    static std::vector<SamplePosition> samples(const ItemList& list) {
        std::vector<SamplePosition> out;
        for (const EditItem& item : list)
            out.push_back(item.sample);
        return out;
    }
    static std::vector<int> selected(const ItemList& list) { // indices
        std::vector<int> out;
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].selected)
                out.push_back(static_cast<int>(i));
        return out;
    }
    const ItemList& notes() const { return store.notes(store.currentLevel()); }
    std::string undoCaption() { return editor.history().menuState().undoCaption; }

    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quillex-mouse-" + std::to_string(::getpid()));
    ItemStore& store = editor.store();
    SongFileContext song = songFileContext(editor);
    EditorView view{store, editor.waveView(), shell};
    MouseEditing mouse{editor, view, dispatcher};
};

TEST_F(MouseEditingTest, DraggingABeatPastItsNeighbourIsOneUndoStep) {
    beatMode();
    const std::vector<SamplePosition> before = samples(store.beats());
    ASSERT_GT(before.size(), 5u);
    const SamplePosition third = before[2];
    // 60 rows down, in six frames: past the fourth beat, 43 rows below.
    drag(kMarkerX, rowOf(third), kMarkerX, rowOf(third) + 60);

    std::vector<SamplePosition> expected = before;
    expected[2] = third + 60 * kSpr;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(samples(store.beats()), expected);
    EXPECT_TRUE(store.modified());
    EXPECT_FALSE(editor.openEntries().any());
    EXPECT_EQ(undoCaption(), "Undo Drag Item(s)\tCtrl+Z");
    EXPECT_EQ(editor.history().activeCount(), 1u);

    dispatcher.dispatch(CommandId::Undo);
    EXPECT_EQ(samples(store.beats()), before);
}

TEST_F(MouseEditingTest, DraggingAPauseMovesItsRowAndLeavesLockedBeatsAlone) {
    beatMode();
    store.addPause({3, 0}, {0, 24});
    {
        ItemList::Items& beats = store.editBeats();
        beats[6].locked = true;
        beats[6].selected = true;
    }
    store.refresh();
    const std::vector<SamplePosition> beatsBefore = samples(store.beats());
    const SamplePosition pauseSample = store.pauses()[0].sample;
    // Ctrl keeps the locked beat selected; the pause wins over the beat it starts on.
    drag(kMarkerX, rowOf(pauseSample), kMarkerX, rowOf(pauseSample) + 11, true);

    ASSERT_EQ(store.pauses().size(), 1u);
    EXPECT_EQ(store.pauses()[0].row(), 3 * 48 + 12) << "11 rows of 512 samples: 12 grid rows";
    EXPECT_EQ(store.pauses()[0].sample, store.timing().rowToSample({3, 12}));
    EXPECT_EQ(samples(store.beats()), beatsBefore) << "the locked beat stays";
    EXPECT_TRUE(store.modified());
    EXPECT_EQ(undoCaption(), "Undo Drag Item(s)\tCtrl+Z");
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_EQ(store.pauses()[0].row(), 3 * 48);
}

TEST_F(MouseEditingTest, GrabbingANoteMovesNothing) {
    store.editBeats()[3].selected = true;
    const std::vector<SamplePosition> before = samples(store.beats());
    view.layoutBoxes(editor.player().position());
    const EditItem note = notes()[1];
    const int x = (note.box.left + note.box.right) / 2;
    drag(x, rowOf(note.sample), x, rowOf(note.sample) + 30, true);
    EXPECT_EQ(samples(store.beats()), before);
    EXPECT_EQ(samples(notes()), (std::vector<SamplePosition>{0, kBeat, 2 * kBeat, 3 * kBeat}));
    EXPECT_FALSE(store.modified());
    EXPECT_EQ(undoCaption(), "Undo \tCtrl+Z");
}

TEST_F(MouseEditingTest, ClicksSelectAsCtrlSays) {
    view.layoutBoxes(editor.player().position());
    auto noteAt = [this](int i) {
        const EditItem& n = notes()[static_cast<std::size_t>(i)];
        return std::pair((n.box.left + n.box.right) / 2, rowOf(n.sample));
    };
    auto [x1, y1] = noteAt(1);
    auto [x2, y2] = noteAt(2);
    click(x1, y1);
    EXPECT_EQ(selected(notes()), std::vector<int>{1});
    click(x2, y2, true);
    EXPECT_EQ(selected(notes()), (std::vector<int>{1, 2})) << "Ctrl adds";
    click(x1, y1, true);
    EXPECT_EQ(selected(notes()), std::vector<int>{2}) << "Ctrl takes away";
    click(x1, y1);
    EXPECT_EQ(selected(notes()), std::vector<int>{1}) << "a plain click selects only it";

    // In note mode with one layer at a time, a beat is out of reach: the click is a
    // band of no size, which changes nothing, and the selection is kept with Ctrl.
    click(kMarkerX, rowOf(store.beats()[5].sample), true);
    EXPECT_TRUE(selected(store.beats()).empty());
    EXPECT_EQ(selected(notes()), std::vector<int>{1});
    click(kMarkerX, rowOf(store.beats()[5].sample) + 20);
    EXPECT_TRUE(selected(notes()).empty()) << "a click on empty space clears";
}

TEST_F(MouseEditingTest, RubberBandSelectsWhatItCoversInEachLayer) {
    struct Case {
        const char* name;
        bool noteMode;
        bool oneLayer;
        std::vector<int> beats, pauses, notes;
    };
    // The band runs from half a beat after beat 2 to half a beat after beat 4, across
    // the whole editor. Notes lie on beats 1..4 (indices 0..3).
    const Case cases[] = {
        {"beat mode", false, true, {2, 3}, {0}, {}},
        {"note mode, one layer", true, true, {}, {}, {2, 3}},
        {"note mode, every layer", true, false, {2, 3}, {0}, {2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view.setLayer(Layer::Arrow, c.noteMode);
        store.options().oneLayerEdit = c.oneLayer;
        store.addPause({3, 12}, {0, 12});
        store.refresh();
        store.clearAllSelection();
        editor.waveView().cursorRow = 100; // a click in beat mode brought it to the mouse
        editor.player().seek(kBeat);
        const int top = rowOf(kBeat + kBeat / 2);
        drag(105, top, 695, top + 2 * kBeat / kSpr);
        EXPECT_EQ(selected(store.beats()), c.beats);
        EXPECT_EQ(selected(store.pauses()), c.pauses);
        EXPECT_EQ(selected(notes()), c.notes);
    }
}

TEST_F(MouseEditingTest, ADragDuringARecordingLeavesTheRecordingOpen) {
    beatMode();
    dispatcher.openUndoEntry("Record");
    editor.openEntries().recording = true;
    drag(kMarkerX, rowOf(store.beats()[2].sample), kMarkerX, rowOf(store.beats()[2].sample) + 5);
    EXPECT_TRUE(editor.openEntries().recording);
    EXPECT_TRUE(editor.history().pending()) << "the recording's entry takes the drag";
    EXPECT_EQ(undoCaption(), "Undo Record\tCtrl+Z");
}

TEST_F(MouseEditingTest, CursorLineAndPositionBarFollowTheMouse) {
    editor.player().seek(kBeat + kBeat / 2); // the cursor line between two beats
    const SamplePosition position = editor.player().position();
    drag(600, 100, 600, 300);
    EXPECT_EQ(editor.waveView().cursorRow, 300);
    EXPECT_EQ(editor.waveView().homeRow, 300);
    EXPECT_EQ(editor.player().position(), position) << "the cursor's sample stays";
    // A drag on the position bar seeks even when it leaves the bar sideways.
    drag(780, 299, 900, 149);
    EXPECT_EQ(editor.player().position(),
              static_cast<SamplePosition>(148.0 / 596 * editor.player().musicLength()));
}

} // namespace
} // namespace quillex
