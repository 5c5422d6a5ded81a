// The input timer's thread and the arrow-key navigation it runs each tick.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/arrow_navigation.h"
#include "app/input_timer.h"

namespace quillex {
namespace {

class NavigationTest : public ::testing::Test {
  protected:
    BusyCounter busy;
    ShellState shell;
    KeyDownTable down;
    KeyStateTable states;
    std::vector<std::pair<int, CommandId>> posted; // (tick, command)
    int tickNumber = 0;
    ArrowNavigation nav{busy, shell, down, states, [this](CommandId id) {
                            posted.push_back({tickNumber, id});
                        }};

    void run(int ticks) {
        for (int i = 0; i < ticks; ++i, ++tickNumber)
            nav.tick();
    }
};

TEST_F(NavigationTest, HeldUpRepeatsAfter202TicksThenEvery201) {
    down.setDown(kVkUp, true);
    run(700);
    ASSERT_EQ(posted.size(), 4u);
    EXPECT_EQ(posted[0], std::pair(0, CommandId::PreviousRow));
    EXPECT_EQ(posted[1].first, 202);
    EXPECT_EQ(posted[2].first, 403);
    EXPECT_EQ(posted[3].first, 604);
}

TEST_F(NavigationTest, EachArrowPostsItsCommandOncePerPress) {
    for (VirtualKey key : {kVkLeft, kVkRight, kVkDown}) {
        down.setDown(key, true);
        run(3);
        down.setDown(key, false);
        run(1);
    }
    std::vector<CommandId> ids;
    for (auto& p : posted)
        ids.push_back(p.second);
    EXPECT_EQ(ids, (std::vector<CommandId>{CommandId::PreviousSnap, CommandId::NextSnap,
                                           CommandId::NextRow}));
    EXPECT_EQ(states.get(kVkDown), KeyStateTable::kUp);
}

TEST_F(NavigationTest, NothingWhileBusySuspendedCtrlHeldOrPlaying) {
    down.setDown(kVkUp, true);
    busy.raise();
    run(5);
    busy.lower();
    down.setDown(kVkRControl, true);
    run(5);
    down.setDown(kVkRControl, false);
    shell.suspended = true;
    run(5);
    shell.suspended = false;
    bool playing = true;
    nav.isPlaying = [&] { return playing; };
    run(5);
    EXPECT_TRUE(posted.empty());
    playing = false;
    run(1);
    EXPECT_EQ(posted.size(), 1u);
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

} // namespace
} // namespace quillex
