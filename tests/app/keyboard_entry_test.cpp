// The keyboard as a user plays it: B tapped in time while the music plays, arrows
// recorded, and the column keys placing, toggling and drawing notes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "app/input/input_tick.h"
#include "app/input/input_timer.h"
#include "app/input/keyboard_note_entry.h"
#include "app/input/recording.h"
#include "app/shell/keyboard_input.h"
#include "editing_fixture.h"

namespace quillex {
namespace {

constexpr SamplePosition kBeat = 22050; // 120 BPM at 44100 Hz

class KeyboardTest : public ::testing::Test, public test::EditingFixture {
  protected:
    KeyboardTest() {
        std::ofstream(musicPath) << "x";
        EXPECT_TRUE(editor.player().loadMusic(musicPath.string(), "x", true));
        recording.registerCommands();
    }
    ~KeyboardTest() override { std::filesystem::remove(musicPath); }

    void addBeats() {
        for (int i = 0; i < 20; ++i)
            editor.store().addBeat(i * kBeat);
        editor.store().refresh();
        dispatcher.selectLevel(levelIndex(0, 2));
    }
    // One frame of keyboard note entry with `key` down or up.
    void frame(VirtualKey key, bool down) {
        keys.setDown(key, down);
        noteEntry.frame();
    }
    std::vector<std::int32_t> rows() const {
        std::vector<std::int32_t> out;
        for (const EditItem& n : editor.store().notes(editor.store().currentLevel()))
            out.push_back(n.row());
        return out;
    }

    std::filesystem::path musicPath = std::filesystem::temp_directory_path() /
                                      ("quillex-keys-" + std::to_string(::getpid()) + ".ogg");
    InputFlags flags;
    Recording recording{editor, dispatcher, commands, flags, false};
    KeyStateTable states;
    KeyboardNoteEntry noteEntry{editor, dispatcher, keys, states, state};
};

TEST_F(KeyboardTest, BeatsTappedDuringPlaybackLandWithinOnePollAndUndoAsOneStep) {
    // The channel advances 1 ms (44.1 samples) a tick; B goes down 0.3 ms after each
    // true beat, so the poll after it stamps the beat less than one poll late.
    double channel = 0;
    bool playing = true;
    InputTick tick{editor.busyCounter(),
                   state,
                   keys,
                   states,
                   [](CommandId) {},
                   [](std::function<void()> task) { task(); },
                   recording,
                   flags,
                   {[&] { return playing; }, [] { return 0; },
                    [&] { return std::optional<SamplePosition>(static_cast<int>(channel)); }}};
    editor.player().play();
    for (int tickIndex = 0; tickIndex < 2200; ++tickIndex) {
        const double now = tickIndex * 44.1;
        bool down = false;
        for (int k = 1; k <= 4; ++k)
            down = down || (now >= k * kBeat + 13.2 && now < k * kBeat + 3000);
        keys.setDown('B', down);
        channel = now;
        tick.tick();
    }
    recording.stop();
    const ItemList& beats = editor.store().beats();
    ASSERT_EQ(beats.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_GE(beats[k].sample, (k + 1) * kBeat);
        EXPECT_LE(beats[k].sample, (k + 1) * kBeat + 58) << k; // 0.3 ms plus one poll
    }
    EXPECT_EQ(shell.caption(CommandId::Undo), "Undo Record\tCtrl+Z");
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_TRUE(editor.store().beats().empty());
}

TEST_F(KeyboardTest, RecordedRowsRoundHalfUpToTheSnapAndStayOnTheBeats) {
    addBeats();
    struct Case {
        int divisions; // 0: no snap, counted as 48ths
        SamplePosition sample;
        std::int32_t row;
    } cases[] = {
        {4, 5 * kBeat + kBeat * 6 / 48, 5 * 48 + 48 + 12}, // fraction 6: half up
        {4, 5 * kBeat + kBeat * 5 / 48, 5 * 48 + 48},      // fraction 5: down
        {1, 5 * kBeat + kBeat * 30 / 48, 7 * 48},          // carries into the next beat
        {0, 5 * kBeat + kBeat * 7 / 48, 5 * 48 + 48 + 7},
        {4, 30 * kBeat, 20 * 48}, // past the last beat
    };
    for (const Case& c : cases) {
        editor.player().setSnap(c.divisions, false);
        EXPECT_EQ(editor.player().snappedRowAt(c.sample).row(), c.row)
            << c.divisions << " divisions at sample " << c.sample;
    }
}

TEST_F(KeyboardTest, ColumnKeysPlaceToggleAndDrawNotesAsOneEditEach) {
    addBeats();
    editor.player().setSnap(4, false); // 16ths
    editor.player().seek(4 * kBeat);   // beat 5, row 240
    frame('1', true);
    frame('1', true);
    EXPECT_EQ(rows(), (std::vector<std::int32_t>{240}));
    editor.player().seek(6 * kBeat); // two beats later, still held: a hold of 96 rows
    frame('1', true);
    frame('1', false);
    ASSERT_EQ(editor.store().notes(editor.store().currentLevel()).size(), 1u);
    EXPECT_EQ(editor.store().notes(editor.store().currentLevel())[0].lengthRows(), 96);
    EXPECT_EQ(shell.caption(CommandId::Undo), "Undo Edit Note\tCtrl+Z");

    // Shift+'3' places a mine in column 2; '3' pressed on it and released removes it
    // (inserting the same arrow deletes it); with Ctrl held nothing happens.
    keys.setDown(kVkLShift, true);
    frame('3', true);
    frame('3', false);
    keys.setDown(kVkLShift, false);
    EXPECT_TRUE(editor.store().notes(editor.store().currentLevel())[1].isMineLike());
    frame('3', true);
    frame('3', false);
    EXPECT_EQ(rows(), (std::vector<std::int32_t>{240}));
    keys.setDown(kVkLControl, true);
    frame('4', true);
    frame('4', false);
    keys.setDown(kVkLControl, false);
    EXPECT_EQ(rows(), (std::vector<std::int32_t>{240}));

    dispatcher.dispatch(CommandId::Undo); // the toggle
    dispatcher.dispatch(CommandId::Undo); // the mine
    dispatcher.dispatch(CommandId::Undo); // the hold
    EXPECT_TRUE(rows().empty());
}

TEST_F(KeyboardTest, AHeldKeyWhilePlayingMakesAHoldOnlyPastTwelveRows) {
    addBeats();
    editor.player().setSnap(4, false);
    editor.player().seek(2 * kBeat);
    editor.player().play();
    frame('2', true);
    frame('2', true);
    editor.player().seek(2 * kBeat + kBeat * 12 / 48);
    frame('2', true);
    EXPECT_FALSE(editor.store().notes(editor.store().currentLevel()).items().back().isHold);
    editor.player().seek(2 * kBeat + kBeat * 13 / 48);
    frame('2', true);
    frame('2', false);
    EXPECT_EQ(editor.store().notes(editor.store().currentLevel()).items().back().lengthRows(), 13);
    // Pressed late in a snap step, it snaps back; 12 rows after the press it is a tap.
    editor.player().seek(4 * kBeat + kBeat * 5 / 48);
    frame('3', true);
    frame('3', true);
    editor.player().seek(4 * kBeat + kBeat * 17 / 48);
    frame('3', true);
    frame('3', false);
    EXPECT_FALSE(editor.store().notes(editor.store().currentLevel()).items().back().isHold);
}

TEST_F(KeyboardTest, ColumnKeysPressedAndReleasedWithinAFramePlaceNotesWhereTheyWentDown) {
    addBeats();
    editor.player().setSnap(4, false);
    SamplePosition channel = 0;
    keys.setStamp([&] { return std::optional(channel); });
    for (auto [key, at] : {std::pair('1', 5 * kBeat), std::pair('2', 6 * kBeat + kBeat / 4)}) {
        channel = at;
        keys.setDown(static_cast<VirtualKey>(key), true);
        keys.setDown(static_cast<VirtualKey>(key), false);
    }
    noteEntry.frame();
    const ItemList& notes = editor.store().notes(editor.store().currentLevel());
    ASSERT_EQ(rows(), (std::vector<std::int32_t>{6 * 48, 7 * 48 + 12}));
    EXPECT_EQ(notes[0].column, 0);
    EXPECT_EQ(notes[1].column, 1);
    EXPECT_EQ(shell.caption(CommandId::Undo), "Undo Edit Note\tCtrl+Z");
}

TEST_F(KeyboardTest, RecordNeedsBeatsForcesTheFinestSnapAndPutsItBack) {
    dispatcher.dispatch(CommandId::Record);
    EXPECT_EQ(messages.lastText(), std::string(kRecordNeedsBeatsMessage));
    addBeats();
    editor.player().setSnap(0, false);
    dispatcher.dispatch(CommandId::Record);
    EXPECT_TRUE(recording.recordingArrows());
    EXPECT_EQ(editor.player().snap(false), 48);
    recording.arrowRecorded(3, 3 * kBeat);
    dispatcher.dispatch(CommandId::Record);
    EXPECT_FALSE(recording.recordingArrows());
    EXPECT_EQ(editor.player().snap(false), 0);
    EXPECT_EQ(rows(), (std::vector<std::int32_t>{4 * 48}));
    EXPECT_EQ(shell.caption(CommandId::Undo), "Undo Record\tCtrl+Z");
}

TEST_F(KeyboardTest, ShiftATogglesPracticeModeAndRecordPutsBackTheToggledSetting) {
    addBeats();
    editor.player().setBeatTickOff(true);
    dispatcher.dispatch(CommandId::PracticeMode);
    EXPECT_TRUE(flags.practice.load());
    dispatcher.dispatch(CommandId::Record); // Record: practice and the beat tick forced on
    EXPECT_TRUE(flags.practice.load());
    EXPECT_FALSE(editor.player().beatTickOff());
    dispatcher.dispatch(CommandId::PracticeMode);
    EXPECT_TRUE(flags.practice.load()) << "still forced while recording";
    dispatcher.dispatch(CommandId::Record);
    EXPECT_FALSE(flags.practice.load());
    EXPECT_TRUE(editor.player().beatTickOff());
}

// The real timer thread ticking while the main thread edits, draws its frames and runs
// what the timer posted: the ThreadSanitizer build runs this to prove the two threads
// share only what they may.
TEST_F(KeyboardTest, TheTimerThreadAndTheMainThreadShareOnlyWhatTheyMay) {
    addBeats();
    std::mutex queueMutex;
    std::vector<std::function<void()>> queue;
    PracticeJudge judge{[this] { editor.player().playEffect(EffectSound::Mine); }};
    editor.player().setBeatTickOff(false);
    editor.player().setNoteTickOff(false);
    InputTick tick{editor.busyCounter(),
                   state,
                   keys,
                   states,
                   [](CommandId) {},
                   [&](std::function<void()> task) {
                       std::lock_guard lock(queueMutex);
                       queue.push_back(std::move(task));
                   },
                   recording,
                   flags,
                   {[this] { return editor.player().playing(); },
                    [this] { return editor.player().position(); },
                    [this] { return editor.player().channelPosition(); },
                    playAlongStep(editor.player(), judge)}};
    InputTimer timer;
    timer.start(std::chrono::milliseconds(1), [&] { tick.tick(); });
    editor.player().play();
    for (int frameIndex = 0; frameIndex < 200; ++frameIndex) {
        keys.setDown('B', frameIndex % 10 < 3);
        keys.setDown(kVkUp, frameIndex % 7 < 2);
        keys.setDown('1', frameIndex % 13 < 4);
        std::vector<std::function<void()>> tasks;
        {
            std::lock_guard lock(queueMutex);
            tasks.swap(queue);
        }
        for (auto& task : tasks)
            task();
        editor.player().pollPosition();
        recording.frame(0);
        noteEntry.frame();
        if (frameIndex == 100)
            recording.stop();
        if (frameIndex == 120) { // the chart plays itself while notes go in
            flags.practice = false;
            editor.player().play();
        }
        static_cast<void>(judge.display().combo.load()); // read as the drawing does
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    timer.stop();
    recording.stop();
    EXPECT_GE(editor.store().beats().size(), 20u);
}

} // namespace
} // namespace quillex
