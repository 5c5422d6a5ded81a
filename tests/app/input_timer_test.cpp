// The input timer's thread and what its tick does: arrow navigation while stopped, B
// stamped with the lag-compensated playback position, arrows written while recording.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/input/input_tick.h"
#include "app/input/input_timer.h"

namespace quillex {
namespace {

struct RecordedEvents : TimerEvents {
    void beatTapped(SamplePosition sample) override { taps.push_back(sample); }
    void beatKeyWhileStopped() override { ++stoppedPresses; }
    void arrowRecorded(int column, SamplePosition at) override {
        columns.push_back(column);
        arrowsAt.push_back(at);
    }
    std::vector<SamplePosition> taps;
    int stoppedPresses = 0;
    std::vector<int> columns;
    std::vector<SamplePosition> arrowsAt;
};

class TickTest : public ::testing::Test {
  protected:
    BusyCounter busy;
    ShellState shell;
    KeyDownTable down;
    KeyStateTable states;
    InputFlags flags;
    RecordedEvents events;
    std::vector<std::pair<int, CommandId>> posted; // (tick, command)
    int tickNumber = 0;
    bool playing = false;
    SamplePosition channel = 0;
    InputTick tick{
        busy,
        shell,
        down,
        states,
        [this](CommandId id) {
            posted.push_back({tickNumber, id});
        },
        [](std::function<void()> task) { task(); },
        events,
        flags,
        {[this] { return playing; }, [this] { return channel; },
         [this] { return std::optional<SamplePosition>(channel); },
         [this](SamplePosition heard, SamplePosition judged, const PracticeJudge::KeyInput* keys,
                bool live) {
             playAlong.push_back({heard, judged, keys ? std::optional(*keys) : std::nullopt, live});
         }}};
    struct PlayAlongCall {
        SamplePosition heard, judged;
        std::optional<PracticeJudge::KeyInput> keys;
        bool live;
        bool operator==(const PlayAlongCall&) const = default;
    };
    std::vector<PlayAlongCall> playAlong;

    void run(int ticks) {
        for (int i = 0; i < ticks; ++i, ++tickNumber)
            tick.tick();
    }
    void tap(VirtualKey key, int ticks = 3) {
        down.setDown(key, true);
        run(ticks);
        down.setDown(key, false);
        run(1);
    }
};

TEST_F(TickTest, HeldUpRepeatsAfter202TicksThenEvery201) {
    down.setDown(kVkUp, true);
    run(700);
    ASSERT_EQ(posted.size(), 4u);
    EXPECT_EQ(posted[0], std::pair(0, CommandId::PreviousRow));
    EXPECT_EQ(posted[1].first, 202);
    EXPECT_EQ(posted[2].first, 403);
    EXPECT_EQ(posted[3].first, 604);
}

TEST_F(TickTest, ThePracticeFlagDoesNotMakeStoppedArrowsRepeatTwiceAsFast) {
    flags.practice = true;
    down.setDown(kVkUp, true);
    run(405);
    EXPECT_EQ(posted.size(), 3u);
}

TEST_F(TickTest, EachArrowPostsItsCommandOncePerPress) {
    for (VirtualKey key : {kVkLeft, kVkRight, kVkDown})
        tap(key);
    std::vector<CommandId> ids;
    for (auto& p : posted)
        ids.push_back(p.second);
    EXPECT_EQ(ids, (std::vector<CommandId>{CommandId::PreviousSnap, CommandId::NextSnap,
                                           CommandId::NextRow}));
}

TEST_F(TickTest, PressesWaitOutARebuildButNotACtrlKeyOrASuspendedWindow) {
    busy.raise();
    tap(kVkUp);
    tap('B');
    busy.lower();
    EXPECT_TRUE(posted.empty());
    run(1);
    EXPECT_EQ(posted.size(), 1u);
    EXPECT_EQ(events.stoppedPresses, 1);
    down.setDown(kVkRControl, true);
    tap(kVkUp);
    tap('B');
    down.setDown(kVkRControl, false);
    shell.suspended = true;
    tap(kVkUp);
    tap('B');
    shell.suspended = false;
    run(5);
    EXPECT_EQ(posted.size(), 1u);
    EXPECT_EQ(events.stoppedPresses, 1);
}

TEST_F(TickTest, PressesShorterThanATickCountOnceEachAtTheirOwnPosition) {
    down.setStamp([this] { return playing ? std::optional(channel) : std::nullopt; });
    const auto quickPress = [this](VirtualKey key, SamplePosition at) {
        channel = at;
        down.setDown(key, true);
        down.setDown(key, false);
    };
    quickPress(kVkDown, 0);
    quickPress(kVkDown, 0);
    run(1);
    EXPECT_EQ(posted.size(), 2u) << "both steps down";
    playing = true;
    flags.lagSamples = 100;
    for (SamplePosition at : {1000, 1500, 2000})
        quickPress('B', at);
    flags.practice = true;
    flags.recordingArrows = true;
    quickPress(kVkLeft, 2500);
    channel = 3000;
    run(2);
    EXPECT_EQ(events.taps, (std::vector<SamplePosition>{900, 1400, 1900}));
    EXPECT_EQ(events.arrowsAt, (std::vector<SamplePosition>{2500}));
    ASSERT_EQ(playAlong.size(), 2u);
    EXPECT_EQ(playAlong[0].keys->pressedAt[0], 2400) << "judged where it was pressed";
    EXPECT_FALSE(playAlong[1].keys->pressedAt[0]) << "once";
}

TEST_F(TickTest, BeatKeyTapsAtTheLagCompensatedChannelPositionOncePerPress) {
    playing = true;
    flags.lagSamples = 2205; // 50 ms at 44100 Hz
    channel = 44100;
    tap('B', 10);
    channel = 66150;
    tap('B');
    down.setDown(kVkLShift, true); // Shift+B is the sub-beat shortcut
    tap('B');
    down.setDown(kVkLShift, false);
    EXPECT_EQ(events.taps, (std::vector<SamplePosition>{41895, 63945}));
    EXPECT_TRUE(posted.empty()) << "arrows do not navigate while playing";
    playing = false;
    tap('B');
    EXPECT_EQ(events.stoppedPresses, 1);
}

TEST_F(TickTest, RecordingWritesArrowsInTheirColumnsAndAlternateKeysOnlyWhilePlaying) {
    flags.recordingArrows = true;
    flags.practice = true;
    playing = true;
    for (VirtualKey key : {kVkLeft, kVkDown, kVkUp, kVkRight, VirtualKey{'X'}})
        tap(key);
    EXPECT_EQ(events.columns, (std::vector<int>{0, 1, 2, 3, 1}));
    playing = false;
    tap('X');
    EXPECT_EQ(events.columns.size(), 5u);
    EXPECT_TRUE(posted.empty());
}

TEST_F(TickTest, PlayAlongJudgesAtTheLagCompensatedPositionWithTheArrowsOfPracticeMode) {
    run(1);
    EXPECT_TRUE(playAlong.empty()) << "nothing while stopped";
    playing = true;
    channel = 10000;
    flags.lagSamples = 441;
    down.setDown(kVkUp, true);
    down.setDown('X', true); // the alternate of Down
    flags.practice = true;
    run(1);
    flags.practice = false; // the chart plays itself
    run(1);
    flags.practice = true;
    flags.recordingArrows = true;
    run(1);
    flags.recordingArrows = false;
    down.setDown(kVkLControl, true);
    run(1);
    const PracticeJudge::KeyInput pressed{{false, true, true, false},
                                          {std::nullopt, 9559, 9559, std::nullopt}};
    const PracticeJudge::KeyInput held{{false, true, true, false}, {}};
    EXPECT_EQ(playAlong, (std::vector<PlayAlongCall>{{10000, 9559, pressed, true},
                                                     {10000, 9559, std::nullopt, true},
                                                     {10000, 9559, held, false},
                                                     {10000, 9559, std::nullopt, false}}));
}

TEST(InputTimer, TicksOnItsOwnThreadUntilStopped) {
    std::atomic<int> ticks{0};
    std::thread::id tickThread;
    InputTimer timer;
    timer.start(std::chrono::milliseconds(1), [&] {
        tickThread = std::this_thread::get_id();
        ticks.fetch_add(1);
    });
    while (ticks.load() < 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    timer.stop();
    EXPECT_FALSE(timer.running());
    int afterStop = ticks.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(ticks.load(), afterStop);
    EXPECT_NE(tickThread, std::this_thread::get_id());
}

TEST(InputTimer, RestsUntilWokenWhileNothingNeedsItsTicks) {
    std::atomic<int> ticks{0};
    std::atomic<bool> resting{true};
    InputTimer timer;
    timer.setRest([&] { return resting.load(); }, std::chrono::seconds(10));
    timer.start(std::chrono::milliseconds(1), [&] { ticks.fetch_add(1); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(ticks.load(), 1) << "one tick, then the rest";
    resting = false; // a key went down
    timer.wake();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_GT(ticks.load(), 20) << "every millisecond again";
    resting = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto before = std::chrono::steady_clock::now();
    timer.stop(); // a rest does not hold up the stop
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
}

} // namespace
} // namespace quillex
