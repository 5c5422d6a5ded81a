// The view commands (zoom, note size, layers, grid), the per-frame steps and the
// item boxes.
#include <gtest/gtest.h>

#include <map>

#include "audio/player_fixture.h"
#include "ports/shell_hooks.h"
#include "support/store_fixture.h"
#include "view/column_layout.h"
#include "view/editor_view.h"
#include "view/player_bridge.h"

namespace quillex {
namespace {

class MarkHooks : public NullShellHooks {
  public:
    void setMenuCheck(CommandId command, bool checked) override { marks[command] = checked; }
    std::map<CommandId, bool> marks;
};

struct ViewFixture : ::testing::Test, test::StoreFixture {
    MarkHooks hooks;
    EditorView view{store, editor.waveView(), hooks};
    WaveView& wave = editor.waveView();
};

TEST_F(ViewFixture, ZoomCouplesTheNoteSizeAndLightsThePanel) {
    EXPECT_EQ(wave.zoomLevel, 10);
    view.zoom(ZoomCommand::Out);
    EXPECT_EQ(wave.zoomLevel, 11);
    EXPECT_EQ(view.noteSize(), 1);
    EXPECT_EQ(view.status().textFade(StatusPanel::Zoom), 255);
    view.zoom(ZoomCommand::OutFull);
    EXPECT_EQ(view.noteSize(), 3);
    EXPECT_EQ(view.geometry(0).samplesPerRow, 4096);

    view.noteSizeCommand(NoteSizeCommand::Larger);
    EXPECT_TRUE(wave.manualNoteSize);
    EXPECT_FALSE(hooks.marks[CommandId::NoteSizeAuto]);
    view.zoom(ZoomCommand::InFull);
    EXPECT_EQ(view.noteSize(), 2); // set by hand: the zoom leaves it
    view.noteSizeCommand(NoteSizeCommand::Auto);
    EXPECT_EQ(view.noteSize(), 0);
    EXPECT_TRUE(hooks.marks[CommandId::NoteSizeAuto]);
    EXPECT_FALSE(view.setNoteSize(4));
    EXPECT_FALSE(view.setNoteSize(-1));
    EXPECT_EQ(view.noteSize(), 0);
    EXPECT_TRUE(view.setNoteSize(3));
    EXPECT_EQ(view.arrowLayout().noteSize, 3);
}

TEST_F(ViewFixture, LayerSwitchesAndGridSetTheirMarks) {
    view.setLayer(Layer::Wave, true);
    EXPECT_TRUE(wave.visible);
    EXPECT_TRUE(store.layerOn(Layer::Wave));
    EXPECT_TRUE(hooks.marks[CommandId::WaveLayer]);
    view.toggleLayer(Layer::Arrow);
    EXPECT_TRUE(store.layerOn(Layer::Arrow));
    EXPECT_TRUE(hooks.marks[CommandId::ArrowLayer]);
    view.toggleLayer(Layer::Arrow);
    EXPECT_FALSE(hooks.marks[CommandId::ArrowLayer]);

    view.chooseGrid(GridChoice::Eighth);
    EXPECT_TRUE(hooks.marks[CommandId::Grid8th]);
    EXPECT_FALSE(hooks.marks[CommandId::NoGrid]);
    view.chooseGrid(GridChoice::None);
    EXPECT_TRUE(hooks.marks[CommandId::NoGrid]);
    EXPECT_FALSE(hooks.marks[CommandId::Grid8th]);
}

TEST_F(ViewFixture, ScrollingCursorEasesHomeEverySecondFrameWhilePlaying) {
    store.addScreenRegions();
    wave.cursorRow = 310;
    wave.homeRow = 300;
    TransportState t;
    t.playing = true;
    view.status().light(StatusPanel::Volume);
    for (int frame = 0; frame < 4; ++frame)
        view.finishFrame(t);
    EXPECT_EQ(wave.cursorRow, 308);
    EXPECT_EQ(view.status().textFade(StatusPanel::Volume), 251);
    EXPECT_EQ(store.region(ItemKind::CursorLine)->box.top, 305) << "the cursor line follows";
    for (int frame = 0; frame < 40; ++frame)
        view.finishFrame(t);
    EXPECT_EQ(wave.cursorRow, 300);
    t.playing = false;
    wave.cursorRow = 250;
    view.finishFrame(t);
    view.finishFrame(t);
    EXPECT_EQ(wave.cursorRow, 250);
}

TEST_F(ViewFixture, BoxesOfItemsInViewOnly) {
    addBeats(400, 44100, 22050);
    addPause(48 * 3, 24);
    addNote(0, 2, 48 * 2);
    addNote(0, 3, 48 * 3, 96); // a hold of two beats
    store.refresh();
    store.setLayer(Layer::Beat, true);
    store.setLayer(Layer::Pause, true);
    store.setLayer(Layer::Arrow, true);
    store.addScreenRegions();
    view.setWindowSize(800, 600);

    const double position = 66150; // beat 2 on the cursor row
    view.layoutBoxes(position);
    const ViewGeometry g = view.geometry(position);
    const EditItem& beat2 = store.beats()[1];
    EXPECT_EQ(beat2.box, (ScreenBox{90, 97, 710, 103}));
    const EditItem& tap = store.notes(0)[0];
    EXPECT_EQ(tap.box, (ScreenBox{435 - 32, 100 - 32, 435 + 32, 100 + 32}));
    const EditItem& hold = store.notes(0)[1];
    const int holdHead = g.rowOfSample(88200);
    const int holdEnd = g.rowOfSample(88200 + 2 * 22050);
    EXPECT_EQ(hold.box, (ScreenBox{505 - 32, holdHead - 32, 505 + 32, holdEnd + 32}));
    EXPECT_EQ(hold.tailBox, (ScreenBox{505 - 32, holdEnd + 16 - 32, 505 + 32, holdEnd + 16 + 32}));
    EXPECT_EQ(tap.tailBox, ScreenBox{});
    EXPECT_EQ(store.pauses()[0].box.top, holdHead - 3);
    // A beat far below the window is left as it was.
    const ScreenBox far = store.beats()[300].box;
    EXPECT_GT(g.rowOfSample(store.beats()[300].sample), 600);
    EXPECT_EQ(store.beats()[300].box, far);
    // The target row follows the note size and the current level's columns.
    view.setNoteSize(3);
    view.layoutBoxes(position);
    EXPECT_EQ(store.notes(0)[0].box, (ScreenBox{405 - 4, 96, 405 + 4, 104}));
    const EditItem* target = store.region(ItemKind::TargetRow);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->box, (ScreenBox{385 - 4, 96, 415 + 4, 104}));
}

TEST_F(ViewFixture, FixedRegionsFollowTheWindowTheCursorAndTheLevel) {
    store.addScreenRegions();
    wave.cursorRow = 120;
    view.setNoteSize(1);
    view.setWindowSize(800, 700);
    EXPECT_EQ(store.region(ItemKind::CursorLine)->box, (ScreenBox{100, 117, 700, 123}));
    EXPECT_EQ(store.region(ItemKind::EditorArea)->box, (ScreenBox{100, 0, 700, 700}));
    // The bar's region takes in the density graph beside it.
    EXPECT_EQ(store.region(ItemKind::PositionBar)->box, (ScreenBox{747, 0, 791, 698}));
    EXPECT_EQ(store.region(ItemKind::TargetRow)->box,
              (ScreenBox{columnX(0, 1, 0) - 16, 104, columnX(0, 1, 3) + 16, 136}));
    store.setCurrentLevel(levelIndex(1, 0)); // dance-double: eight columns
    view.layoutBoxes(0);
    EXPECT_EQ(store.region(ItemKind::TargetRow)->box.right, columnX(1, 1, 7) + 16);
}

TEST_F(ViewFixture, UnchangedBoxesLeaveSharedListsAlone) {
    addBeats(50, 44100, 22050);
    addNote(0, 0, 48 * 2);
    store.refresh();
    store.setLayer(Layer::Beat, true);
    store.setLayer(Layer::Arrow, true);
    view.layoutBoxes(66150);
    const ItemSnapshot before = store.snapshot();
    view.layoutBoxes(66150);
    EXPECT_TRUE(store.beats().sharesStorageWith(before.beats));
    EXPECT_TRUE(store.notes(0).sharesStorageWith(before.notes[0]));
    // Scrolling changes the boxes: the list is copied, the snapshot keeps its own.
    view.layoutBoxes(66150 + 512 * 5);
    EXPECT_FALSE(store.beats().sharesStorageWith(before.beats));
    EXPECT_EQ(store.beats()[1].box.top, before.beats[1].box.top - 5);
}

} // namespace
} // namespace quillex

namespace quillex {
namespace {

struct BarFixture : ::testing::Test, test::PlayerFixture {
    MarkHooks hooks;
    EditorView view{store, editor.waveView(), hooks};
};

TEST_F(BarFixture, PositionBarClickSeeksAndRestoresTheTicks) {
    ASSERT_TRUE(player.loadMusic(addMusic("song.wav", 44100 * 10), "", true));
    view.setWindowSize(800, 600);
    player.setBeatTickOff(false);
    player.setNoteTickOff(true);
    EXPECT_TRUE(clickPositionBar(view, player, 780, 299));
    EXPECT_EQ(player.position(), static_cast<SamplePosition>(298.0 / 596 * 44100 * 10));
    EXPECT_FALSE(player.beatTickOff());
    EXPECT_TRUE(player.noteTickOff());
    // The density graph beside the bar seeks alike; outside both: no seek.
    EXPECT_TRUE(clickPositionBar(view, player, DensityGraph::kX + 1, 150));
    EXPECT_EQ(player.position(), static_cast<SamplePosition>(149.0 / 596 * 44100 * 10));
    EXPECT_FALSE(clickPositionBar(view, player, 700, 50));
    EXPECT_FALSE(clickPositionBar(view, player, DensityGraph::kX, 50));
    EXPECT_EQ(player.position(), static_cast<SamplePosition>(149.0 / 596 * 44100 * 10));
}

} // namespace
} // namespace quillex
