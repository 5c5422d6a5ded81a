// The sync commands through the dispatcher, as the keys and menus send them: each edit
// one undo step, a wheel run of nudges one step, the dialogs filled in by the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "app/commands/autosync_commands.h"
#include "app/commands/sync_commands.h"
#include "editing_fixture.h"
#include "tools/straighten.h"

namespace quillex {
namespace {

// Each dialog answers with the texts the test set, as a user typing them and OK.
class TypedDialogs : public SyncDialogs {
  public:
    bool editSubBeatFraction(SubBeatFractionModel& model) override {
        return !model.accept(fraction);
    }
    bool growSmooth(GrowSmoothModel& model) override {
        return !model.accept(grow, bpm, window, false);
    }
    bool autofill(AutofillModel& model) override {
        return !model.accept(average, bpm, offset, count);
    }
    std::string fraction, bpm, offset, window, count;
    bool grow = true, average = true;
};

constexpr std::int64_t kClickPeriod = 26460, kFirstClick = 13230;

class SyncCommandsTest : public ::testing::Test, public test::EditingFixture {
  protected:
    SyncCommandsTest() {
        std::ofstream(musicPath) << "x";
        music.clickPeriod = kClickPeriod; // 100 BPM from 0.3 s, for Autosync to find
        music.firstClick = kFirstClick;
        sync.registerAll(commands);
        autosync.registerAll();
        EXPECT_TRUE(editor.player().loadMusic(musicPath.string(), "x", true));
        dispatcher.dispatch(CommandId::SyncMode);
        dialogs.bpm = "120";
        dialogs.offset = "0.5";
        dispatcher.dispatch(CommandId::AutofillBeats); // 0.5 s, 1 s, ... 10 s
    }
    ~SyncCommandsTest() override { std::filesystem::remove(musicPath); }

    std::vector<SamplePosition> samples() const {
        std::vector<SamplePosition> out;
        for (const EditItem& b : editor.store().beats())
            out.push_back(b.sample);
        return out;
    }

    // Runs the main-thread tasks the analysis posted until Autosync has placed its
    // markers (or given up).
    void finishAutosync() {
        for (int waited = 0; autosync.busy() && waited < 3000; ++waited) {
            std::vector<std::function<void()>> tasks;
            {
                std::lock_guard lock(postedMutex);
                tasks.swap(posted);
            }
            for (auto& task : tasks)
                task();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::filesystem::path musicPath = std::filesystem::temp_directory_path() /
                                      ("quillex-sync-" + std::to_string(::getpid()) + ".ogg");
    TypedDialogs dialogs;
    SyncCommands sync{editor, dispatcher, dialogs, keys};
    std::mutex postedMutex;
    std::vector<std::function<void()>> posted;
    AutosyncCommands autosync{editor,
                              dispatcher,
                              [this](std::function<void()> task) {
                                  std::lock_guard lock(postedMutex);
                                  posted.push_back(std::move(task));
                              },
                              {}};
};

TEST_F(SyncCommandsTest, EachEditIsOneUndoStep) {
    ASSERT_EQ(samples().size(), 20u);
    EXPECT_EQ(shell.caption(CommandId::Undo), "Undo Autofill Avg.BPM\tCtrl+Z");
    struct Step {
        std::function<void()> run;
        const char* label;
    } steps[] = {
        {[&] {
             editor.player().seek(30000);
             dispatcher.dispatch(CommandId::InsertBeat);
         },
         "Insert Beat"},
        {[&] { dispatcher.dispatch(CommandId::PrevBeatAtStart); },
         "Insert Prev Beat"}, // at 14100, selected
        {[&] {
             editor.player().seek(77175);
             dispatcher.dispatch(CommandId::InsertSubBeat);
         },
         "Insert Subbeat"},
        {[&] { dispatcher.dispatch(CommandId::MakeBeatWhite); },
         "Beat Color"}, // the next beat is selected
        {[&] { dispatcher.dispatch(CommandId::LockUnlock); }, "Lock/Unlock"},
        {[&] {
             dispatcher.dispatch(CommandId::SelectAll);
             dialogs.average = false;
             dialogs.count = "1";
             dispatcher.dispatch(CommandId::AutofillBeats);
         },
         "Autofill Insertion"},
        {[&] {
             dispatcher.dispatch(CommandId::SelectNone);
             editor.player().seek(100000);
             dialogs.bpm = "241";
             dispatcher.dispatch(CommandId::GrowRegion);
         },
         "Grow"},
    };
    std::vector<std::vector<SamplePosition>> before;
    for (const Step& step : steps) {
        before.push_back(samples());
        step.run();
        sync.frameUpdate();
        EXPECT_EQ(shell.caption(CommandId::Undo), std::string("Undo ") + step.label + "\tCtrl+Z")
            << messages.lastText();
    }
    EXPECT_TRUE(editor.store().beats()[0].locked);
    EXPECT_EQ(editor.store().beats()[0].colour, kWhiteMarker);
    for (auto it = before.rbegin(); it != before.rend(); ++it) {
        dispatcher.dispatch(CommandId::Undo);
        EXPECT_EQ(samples(), *it);
    }
}

TEST_F(SyncCommandsTest, AWheelRunOfNudgesIsOneStepAndHoldsOffInsertion) {
    const auto start = samples();
    const int step = 2 * editor.waveView().samplesPerRow();
    keys.setDown(kVkShift, true);
    for (int i = 0; i < 3; ++i)
        dispatcher.wheel(120, MouseKeys{true, false, false}); // nudge closer more
    EXPECT_EQ(samples()[0], start[0] - 3 * step);
    editor.player().seek(30000);
    keys.setDown(kVkShift, false);
    dispatcher.dispatch(CommandId::InsertBeat);
    EXPECT_EQ(samples().size(), start.size()) << "no insertion while the run is open";
    sync.frameUpdate();
    EXPECT_FALSE(sync.groupOpen());
    EXPECT_EQ(shell.caption(CommandId::Undo), "Undo Nudge\tCtrl+Z");
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_EQ(samples(), start);

    dispatcher.dispatch(CommandId::NudgeCloserFromStart); // F12, the first marker at 0.5 s
    EXPECT_EQ(samples()[0], start[0] - step / 2);
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_FALSE(sync.groupOpen()) << "Undo ends the run";
}

TEST_F(SyncCommandsTest, BeatCommandsAreRefusedWhileTheNotesAreEdited) {
    const std::pair<CommandId, std::string_view> guarded[] = {
        {CommandId::InsertBeat, kInsertBeatsGuard},
        {CommandId::NextBeatAtEnd, kInsertBeatsGuard},
        {CommandId::PrevBeatAtStart, kInsertBeatsGuard},
        {CommandId::InsertSubBeat, kInsertSubBeatsGuard},
        {CommandId::Nudge, kNudgeGuard},
        {CommandId::NudgeAway, kNudgeGuard},
        {CommandId::QuickGrow, kGrowGuard},
        {CommandId::QuickShrink, kGrowGuard},
        {CommandId::GrowRegion, kGrowGuard},
        {CommandId::Autosync, kAutosyncGuard},
        {CommandId::StraightenBeats, kStraightenGuard},
    };
    const std::vector<SamplePosition> start = samples();
    dispatcher.selectLevel(0);
    for (const auto& [command, guard] : guarded) {
        messages.shown.clear();
        dispatcher.dispatch(command);
        EXPECT_EQ(messages.lastText(), guard) << toInt(command);
        EXPECT_EQ(messages.shown.size(), 1u) << toInt(command);
    }
    EXPECT_EQ(samples(), start);
}

TEST_F(SyncCommandsTest, BeatPropertyEditsCommitTheirEntryOnceDone) {
    for (CommandId edit :
         {CommandId::MakeBeatBlue, CommandId::MakeBeatWhite, CommandId::LockUnlock}) {
        dispatcher.dispatch(CommandId::SelectAll);
        dispatcher.dispatch(edit);
        EXPECT_FALSE(editor.history().pending()) << toInt(edit);
    }
    EXPECT_EQ(shell.caption(CommandId::Undo), "Undo Lock/Unlock\tCtrl+Z");
}

TEST_F(SyncCommandsTest, RefusalsShowTheirMessageAndOpenNoEntry) {
    struct Case {
        std::function<void()> run;
        std::string_view message;
    } cases[] = {
        {[&] { dispatcher.dispatch(CommandId::SubBeatFraction); }, kSelectOneSubBeatMessage},
        {[&] {
             dispatcher.dispatch(CommandId::SelectNone);
             dispatcher.dispatch(CommandId::InsertPause);
         },
         kPauseNeedsSpanMessage},
        {[&] {
             editor.player().seek(0);
             dispatcher.dispatch(CommandId::QuickGrow);
         },
         kGrowOutsideMessage},
        {[&] {
             dispatcher.dispatch(CommandId::PrevBeatAtStart);
             dispatcher.dispatch(CommandId::NudgeCloserFromStart);
         },
         kMoveLeavesMusicMessage}, // the new first beat, selected, at sample 0
        {[&] {
             dispatcher.selectLevel(0);
             dispatcher.dispatch(CommandId::InsertSubBeat);
         },
         "To insert subbeats, first press TAB (or go into Sync Mode) to disable the notes."},
    };
    editor.store().options().nudgeBasedOnZoom = false;
    for (const Case& c : cases) {
        const std::string caption = shell.caption(CommandId::Undo);
        c.run();
        EXPECT_EQ(messages.lastText(), c.message);
        sync.frameUpdate();
        if (c.message != kMoveLeavesMusicMessage) { // its Insert Prev Beat is an entry
            EXPECT_EQ(shell.caption(CommandId::Undo), caption) << c.message;
        }
    }
}

} // namespace
} // namespace quillex

namespace quillex {
namespace {

// Autosync puts a marker on every click except where a locked marker stands; Straighten
// evens out an off-grid marker; each is one undo step and Undo brings the markers back.
TEST_F(SyncCommandsTest, AutosyncAndStraightenAreOneStepAndKeepLockedMarkers) {
    const std::vector<SamplePosition> autofilled = samples();
    editor.player().seek(30000); // a tap between the first two markers
    dispatcher.dispatch(CommandId::InsertBeat);
    dispatcher.dispatch(CommandId::SelectAll);
    dispatcher.dispatch(CommandId::StraightenBeats);
    EXPECT_EQ(shell.caption(CommandId::Undo), "Undo Straighten Beats\tCtrl+Z");
    const std::vector<SamplePosition> straight = samples();
    for (std::size_t i = 1; i < straight.size(); ++i)
        EXPECT_NEAR(straight[i] - straight[i - 1], straight[1] - straight[0], 1) << i;
    dispatcher.dispatch(CommandId::Undo);
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_EQ(samples(), autofilled);

    editor.store().clearAllSelection();
    messages.shown.clear();
    dispatcher.dispatch(CommandId::StraightenBeats);
    EXPECT_EQ(messages.lastText(), kStraightenNeedsThreeMessage);

    editor.store().beatList().edit()[0].selected = true; // 0.5 s, locked
    dispatcher.dispatch(CommandId::LockUnlock);
    editor.store().clearAllSelection();
    dispatcher.dispatch(CommandId::Autosync);
    finishAutosync();
    EXPECT_EQ(shell.caption(CommandId::Undo), "Undo Autosync\tCtrl+Z");
    ASSERT_GT(samples().size(), 10u);
    for (const EditItem& b : editor.store().beats()) {
        if (b.locked) {
            EXPECT_EQ(b.sample, autofilled[0]);
            continue;
        }
        const std::int64_t fromClick = (b.sample - kFirstClick) % kClickPeriod;
        EXPECT_LE(std::min(fromClick, kClickPeriod - fromClick), 88) << b.sample; // 2 ms
    }
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_EQ(samples(), autofilled);
}

} // namespace
} // namespace quillex
