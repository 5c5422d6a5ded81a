// The dispatcher: Open and dropped files by extension, the save prompt's answers,
// level selection, the sync-mode guard, the wheel and mouse buttons.
#include <gtest/gtest.h>

#include "app/commands/command_table.h"
#include "app/commands/dispatcher.h"
#include "shell_fakes.h"

namespace quillex {
namespace {

class DispatcherTest : public ::testing::Test, protected test::ShellFakes {
  protected:
    using Ran = std::vector<std::pair<CommandId, int>>;
    Ran ran; // (id, argument) of registered handlers

    void record(std::initializer_list<CommandId> ids, const CommandRules& rules = {}) {
        for (CommandId id : ids)
            dispatcher.registerHandler(
                id,
                [this, id](int arg) {
                    ran.push_back({id, arg});
                },
                rules);
    }
};

TEST_F(DispatcherTest, OpenLoadsByExactExtension) {
    ui.openAnswer = "/songs/a/Song.sm";
    dispatcher.dispatch(CommandId::Open);
    ui.openAnswer = "/songs/b/Music.ogg";
    dispatcher.dispatch(CommandId::Open);
    EXPECT_EQ(files.loaded, (std::vector<std::string>{"/songs/a/Song.sm", "/songs/b/Music.ogg"}));
    EXPECT_EQ(dispatcher.songFolder(), "/songs/b/");
    EXPECT_TRUE(messages.shown.empty());

    ui.openAnswer = "/songs/a/SONG.SM";
    dispatcher.dispatch(CommandId::Open);
    EXPECT_EQ(messages.lastText(), "Sorry, quillex does not support this file type.");
    EXPECT_EQ(messages.shown.back().caption, "Tip");
    ui.openAnswer = "/songs/a/song.qxx";
    dispatcher.dispatch(CommandId::Open);
    EXPECT_EQ(messages.lastText(),
              "Sorry, quillex cannot open .qxx files directly.  Open the .qx file instead.");
    EXPECT_EQ(files.loaded.size(), 2u);
}

TEST_F(DispatcherTest, OpeningQxMakesSaveWriteInPlaceAndSmAsksForAFile) {
    record({CommandId::LevelManager});
    ui.openAnswer = "/songs/song.qx";
    dispatcher.dispatch(CommandId::Open);
    EXPECT_TRUE(saveFlow.ownFormat());
    EXPECT_EQ(ran.size(), 1u) << "the Level Manager opens after a song";
    dispatcher.dispatch(CommandId::Save);
    ASSERT_EQ(files.writes.size(), 1u);
    EXPECT_EQ(files.writes[0].path, "/songs/song.qx");
    EXPECT_TRUE(ui.saveDialogStarts.empty());

    ui.openAnswer = "/songs/other.sm";
    dispatcher.dispatch(CommandId::Open);
    dispatcher.dispatch(CommandId::Save);
    EXPECT_EQ(ui.saveDialogStarts.size(), 1u) << "Save of an .sm song is Save As";
}

TEST_F(DispatcherTest, CancelledOpenDialogLoadsNothing) {
    dispatcher.dispatch(CommandId::Open);
    EXPECT_EQ(ui.openDialogs, 1);
    EXPECT_TRUE(files.loaded.empty());
}

TEST_F(DispatcherTest, SavePromptGuardsOpenCloseAndQuit) {
    store.setModified(true);
    files.music = "/songs/Tune.ogg";
    ui.openAnswer = "/songs/new.ogg";

    ui.promptAnswer = SavePromptAnswer::Cancel;
    dispatcher.dispatch(CommandId::Open);
    dispatcher.dispatch(CommandId::Close);
    EXPECT_FALSE(dispatcher.confirmQuit());
    EXPECT_EQ(ui.prompts, 3);
    EXPECT_TRUE(files.loaded.empty());
    EXPECT_EQ(files.closes, 0);
    EXPECT_TRUE(store.modified()) << "Cancel keeps the song";
    EXPECT_EQ(ui.promptNames.back(), "Tune (not saved yet)") << "the question names the song";

    ui.promptAnswer = SavePromptAnswer::No;
    dispatcher.dispatch(CommandId::Close);
    EXPECT_EQ(files.closes, 1);
    EXPECT_FALSE(store.modified());
    EXPECT_TRUE(dispatcher.confirmQuit());
    EXPECT_EQ(ui.prompts, 4) << "no prompt without changes";
}

TEST_F(DispatcherTest, YesWithAFailedOrCancelledSaveKeepsTheSong) {
    store.setModified(true);
    ui.promptAnswer = SavePromptAnswer::Yes;
    // No own-format file: Save goes to Save As, and the user cancels it.
    EXPECT_FALSE(dispatcher.confirmQuit());
    EXPECT_TRUE(store.modified());

    ui.saveAnswer = SaveTarget{"/songs/x.sm", 2};
    files.writeSucceeds = false;
    dispatcher.dispatch(CommandId::Close);
    EXPECT_EQ(files.closes, 0);
    EXPECT_TRUE(store.modified());

    files.writeSucceeds = true;
    EXPECT_TRUE(dispatcher.confirmQuit());
    EXPECT_FALSE(store.modified());
}

TEST_F(DispatcherTest, ASongOpenedWithLocatedMusicIsModified) {
    for (const bool located : {false, true}) {
        files.located = located;
        dispatcher.dropFiles({"/songs/a.sm"});
        EXPECT_EQ(store.modified(), located);
    }
}

TEST_F(DispatcherTest, DropOpensExactlyOneFile) {
    dispatcher.dropFiles({"/a/one.wav", "/a/two.wav"});
    EXPECT_TRUE(files.loaded.empty());
    EXPECT_TRUE(messages.shown.empty());
    dispatcher.dropFiles({"/a/readme.txt"});
    EXPECT_EQ(messages.lastText(), "Sorry, quillex does not support this file type.");
    dispatcher.dropFiles({"/a/one.wav"});
    EXPECT_EQ(files.loaded, std::vector<std::string>{"/a/one.wav"});
    EXPECT_EQ(ui.openDialogs, 0);
}

TEST_F(DispatcherTest, LevelSelectionMarksExactlyOneLevelAndSwitchesNotesOn) {
    dispatcher.dispatch(levelCommandId(20));
    EXPECT_EQ(store.currentLevel(), 20);
    EXPECT_TRUE(store.layerOn(Layer::Arrow));
    EXPECT_TRUE(hooks.checks[levelCommandId(20)]);
    EXPECT_TRUE(hooks.checks[CommandId::ArrowLayer]);

    dispatcher.dispatch(CommandId::SyncMode);
    EXPECT_FALSE(store.layerOn(Layer::Arrow));
    dispatcher.dispatch(CommandId::NextLevel);
    EXPECT_EQ(store.currentLevel(), 21);
    EXPECT_TRUE(store.layerOn(Layer::Arrow)) << "choosing a level in sync mode shows the notes";
    int marked = 0;
    for (LevelIndex l = 0; l < kLevelCount; ++l)
        marked += hooks.checks[levelCommandId(l)] ? 1 : 0;
    EXPECT_EQ(marked, 1);

    dispatcher.selectLevel(47);
    dispatcher.dispatch(CommandId::NextLevel);
    EXPECT_EQ(store.currentLevel(), 47);
    dispatcher.selectLevel(0);
    dispatcher.dispatch(CommandId::PreviousLevel);
    EXPECT_EQ(store.currentLevel(), 0);
    dispatcher.selectLevel(48);
    EXPECT_EQ(store.currentLevel(), 0);
}

TEST_F(DispatcherTest, AGuardedCommandIsRefusedWhileTheNotesAreEdited) {
    record({CommandId::InsertBeat}, {.refusedInNoteMode = kInsertBeatsGuard});
    record({CommandId::Rewind});
    dispatcher.selectLevel(0);
    dispatcher.dispatch(CommandId::InsertBeat);
    dispatcher.dispatch(CommandId::Rewind);
    EXPECT_EQ(messages.lastText(),
              "To insert beats, first press TAB (or go into Sync Mode) to disable the notes.");
    EXPECT_EQ(ran, (Ran{{CommandId::Rewind, 0}}));

    store.options().oneLayerEdit = false;
    dispatcher.dispatch(CommandId::InsertBeat, 2);
    dispatcher.dispatch(CommandId::SyncMode);
    store.options().oneLayerEdit = true;
    dispatcher.dispatch(CommandId::InsertBeat, 3);
    EXPECT_EQ(
        ran, (Ran{{CommandId::Rewind, 0}, {CommandId::InsertBeat, 2}, {CommandId::InsertBeat, 3}}));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(DispatcherTest, UnwiredCommandsAreUnavailableAndDoNothing) {
    EXPECT_FALSE(dispatcher.available(CommandId::Undo));
    EXPECT_TRUE(dispatcher.available(CommandId::Open));
    EXPECT_TRUE(dispatcher.available(levelCommandId(33)));
    dispatcher.dispatch(CommandId::Undo);
    record({CommandId::Undo});
    EXPECT_TRUE(dispatcher.available(CommandId::Undo));
}

TEST_F(DispatcherTest, CommitAfterEditsAreCommittedAfterTheirHandlerUnlessRecording) {
    std::vector<std::string> undo;
    bool recording = false;
    dispatcher.openUndoEntry = [&](std::string_view label) { undo.push_back(std::string(label)); };
    dispatcher.commitUndoEntry = [&] { undo.push_back("commit"); };
    dispatcher.recordingEntryOpen = [&] { return recording; };
    record({CommandId::Delete, CommandId::TurnLeft}, {.commitsAfter = true});
    record({CommandId::Rewind});
    dispatcher.dispatch(CommandId::Delete);
    dispatcher.dispatch(CommandId::Rewind);
    recording = true;
    dispatcher.dispatch(CommandId::TurnLeft);
    // The handlers open their own entries once they know there is something to do.
    EXPECT_EQ(undo, (std::vector<std::string>{"commit"}));
    EXPECT_EQ(ran.size(), 3u);
}

TEST_F(DispatcherTest, PlayPauseEscapeAndPlayFromStart) {
    record({CommandId::NoSnap, CommandId::Rewind});
    dispatcher.dispatch(CommandId::PlayPause);
    EXPECT_TRUE(transport.isPlaying);
    dispatcher.dispatch(CommandId::Escape);
    EXPECT_FALSE(transport.isPlaying);
    EXPECT_TRUE(ran.empty()) << "Esc while playing only stops";
    dispatcher.dispatch(CommandId::Escape);
    EXPECT_EQ(ran.back().first, CommandId::NoSnap);
    dispatcher.dispatch(CommandId::PlayFromStart);
    EXPECT_EQ(ran.back().first, CommandId::Rewind);
    EXPECT_TRUE(transport.isPlaying);
}

TEST_F(DispatcherTest, WheelStepsByNotchWithExactModifiers) {
    record({CommandId::PreviousRow, CommandId::NextRow, CommandId::PageUp, CommandId::PageDown,
            CommandId::Nudge, CommandId::QuickGrow, CommandId::QuickShrink});
    dispatcher.wheel(119, {});
    EXPECT_TRUE(ran.empty()) << "less than a notch moves nothing";
    dispatcher.wheel(240, {});
    dispatcher.wheel(-120, {});
    EXPECT_EQ(ran, (Ran{{CommandId::PageUp, 0}, {CommandId::PageUp, 0}, {CommandId::PageDown, 0}}));

    ran.clear();
    transport.snap = true;
    music.set(44100, 441000);
    store.addBeat(0, {.white = true});
    store.addBeat(44100, {.white = true});
    store.refresh();
    dispatcher.wheel(-120, {});
    dispatcher.wheel(120, {true, false, false});
    dispatcher.wheel(-120, {true, false, false});
    dispatcher.wheel(120, {false, true, false});
    dispatcher.wheel(-360, {false, true, false});
    dispatcher.wheel(120, {true, true, false});
    dispatcher.wheel(120, {false, false, true});
    EXPECT_EQ(ran, (Ran{{CommandId::NextRow, 0},
                        {CommandId::Nudge, 3},
                        {CommandId::Nudge, 0},
                        {CommandId::QuickShrink, 0},
                        {CommandId::QuickGrow, 0}}));

    ran.clear();
    keys.setDown('1', true);
    dispatcher.wheel(120, {true, false, false});
    dispatcher.wheel(120, {});
    EXPECT_EQ(ran, (Ran{{CommandId::PreviousRow, 0}})) << "a held column key blocks nudging";
}

TEST_F(DispatcherTest, RightAndMiddleButtons) {
    record({CommandId::ZoomIn, CommandId::ZoomOut, CommandId::InsertBeat});
    dispatcher.rightButtonDown({});
    dispatcher.rightButtonDown({true, false, false});
    EXPECT_EQ(ran, (Ran{{CommandId::ZoomIn, 0},
                        {CommandId::ZoomIn, 0},
                        {CommandId::ZoomOut, 0},
                        {CommandId::ZoomOut, 0}}));

    ran.clear();
    dispatcher.middleButtonDown({10, 10});
    EXPECT_EQ(ran.size(), 1u) << "the middle button inserts a beat by default";
    options.mmbInsertBeat = false;
    dispatcher.middleButtonDown({10, 10});
    EXPECT_TRUE(state.middleAutoscroll);
    dispatcher.middleButtonUp({10, 10});
    EXPECT_TRUE(state.middleAutoscroll) << "a click toggles";
    dispatcher.middleButtonUp({10, 60});
    EXPECT_FALSE(state.middleAutoscroll) << "a press-drag-release scrolls only while held";
}

TEST_F(DispatcherTest, ExitAsksTheWindowToClose) {
    dispatcher.dispatch(CommandId::Exit);
    EXPECT_EQ(ui.closeRequests, 1);
}

} // namespace
} // namespace quillex
