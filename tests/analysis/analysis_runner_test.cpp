#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>

#include "analysis/analysis_runner.h"
#include "generated_song.h"

namespace quillex {
namespace {

// The main thread's queue: the runner posts, the test runs what was posted.
struct MainQueue {
    std::mutex mutex;
    std::deque<std::function<void()>> tasks;
    AnalysisRunner::Post poster() {
        return [this](std::function<void()> task) {
            std::lock_guard lock(mutex);
            tasks.push_back(std::move(task));
        };
    }
    void runPosted() {
        std::deque<std::function<void()>> now;
        {
            std::lock_guard lock(mutex);
            now.swap(tasks);
        }
        for (auto& task : now)
            task();
    }
};

TEST(AnalysisRunner, PostsTheResultToTheMainThreadAndACancelledRunReportsNothing) {
    const auto song = std::make_shared<const PcmData>(
        test::drumSong(test::beatTimes(0.3, 30, [](double) { return 128.0; }), 30, true).pcm);
    MainQueue queue;
    AnalysisRunner runner(queue.poster(), {}); // no cache: every run analyses
    std::shared_ptr<const MusicAnalysis> result;
    int lastPercent = -1;
    const std::thread::id mainThread = std::this_thread::get_id();
    AnalysisRunner::Observer observer;
    observer.percent = [&](int p) { lastPercent = p; };
    observer.finished = [&](std::shared_ptr<const MusicAnalysis> a) {
        EXPECT_EQ(std::this_thread::get_id(), mainThread);
        result = std::move(a);
    };

    runner.start(song, observer);
    runner.cancel();
    queue.runPosted();
    EXPECT_FALSE(result);

    runner.start(song, observer);
    for (int i = 0; i < 2000 && !result; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        queue.runPosted();
    }
    ASSERT_TRUE(result);
    EXPECT_EQ(lastPercent, 100);
    ASSERT_TRUE(result->rhythmFound());
    EXPECT_NEAR(result->candidates[0].bpm, 128.0, 0.001);
}

} // namespace
} // namespace quillex
