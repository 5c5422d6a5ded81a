// The wave filter: its coefficients against worked examples, what each filter lets
// through, the ends of a filtered channel, rescaling, and runs on the worker thread
// (finished, cancelled, too short).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <mutex>
#include <numbers>
#include <thread>
#include <vector>

#include "audio/wave_filter.h"

namespace quillex {
namespace {

struct NoProgress : FilterProgress {
    bool advance(std::size_t) override { return true; }
};

std::vector<std::int16_t> sine(double hz, std::size_t n, double amplitude = 10000) {
    std::vector<std::int16_t> x(n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] =
            static_cast<std::int16_t>(amplitude * std::sin(2 * std::numbers::pi * hz * i / 44100));
    return x;
}

double rms(const std::vector<std::int16_t>& x, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(x[i]) * x[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

WaveFilterSettings settingsFor(bool finite, int signedStrength, bool rescale = false) {
    WaveFilterSettings s;
    s.finite = finite;
    s.lowPass = signedStrength < 0;
    s.strength = std::abs(signedStrength);
    s.rescale = rescale;
    return s;
}

std::vector<std::int16_t> filtered(const std::vector<std::int16_t>& x, const WaveFilterSettings& s,
                                   FilterResult expected = FilterResult::Done) {
    std::vector<std::int16_t> y(x.size());
    NoProgress progress;
    EXPECT_EQ(filterChannel(x.data(), 1, x.size(), s, y.data(), progress), expected);
    return y;
}

TEST(WaveFilterDesign, CoefficientsMatchTheWorkedExamples) {
    const auto h = firTaps(-1);
    ASSERT_TRUE(h);
    EXPECT_NEAR((*h)[0], -0.000807343498, 1e-11);
    EXPECT_NEAR((*h)[1], -0.00082900997, 1e-11);
    EXPECT_NEAR((*h)[2], -0.000876249566, 1e-11);
    EXPECT_NEAR((*h)[32], 0.04655577958, 1e-10);
    const auto q = iirSection(-1);
    ASSERT_TRUE(q);
    EXPECT_NEAR(q->b0, 0.004603998475, 1e-11);
    EXPECT_NEAR(q->b1, 0.00920799695, 1e-11);
    EXPECT_NEAR(q->b2, 0.004603998475, 1e-11);
    EXPECT_NEAR(q->a1, -1.799096409, 1e-9);
    EXPECT_NEAR(q->a2, 0.8175124034, 1e-9);
    // -11 (60 Hz) is a row of the infinite response only; 0, 11 and -12 are none.
    EXPECT_TRUE(iirSection(-11));
    for (int a : {-11, 0, 11, -12})
        EXPECT_FALSE(firTaps(a)) << a;
    for (int a : {0, 11, -12})
        EXPECT_FALSE(iirSection(a)) << a;
}

TEST(WaveFilterChannel, PassesAndStopsTheRightFrequencies) {
    struct Case {
        bool finite;
        int strength; // signed: low-pass negative
        double hz;
        double minGain, maxGain;
    };
    // The infinite response feeds its truncated outputs back, which takes some level
    // off low frequencies (the 100 Hz section passes 50 Hz at about 0.8).
    const Case cases[] = {
        {true, -10, 100, 0.95, 1.05},  {true, -10, 5000, 0, 0.01},  {false, -10, 50, 0.75, 1.05},
        {false, -10, 5000, 0, 0.01},   {true, 10, 20000, 0.9, 1.1}, {true, 10, 1000, 0, 0.01},
        {false, 10, 20000, 0.85, 1.1}, {false, 1, 100, 0, 0.02},
    };
    constexpr std::size_t n = 44100;
    for (const Case& c : cases) {
        const auto x = sine(c.hz, n);
        const auto y = filtered(x, settingsFor(c.finite, c.strength));
        const double gain = rms(y, n / 4, 3 * n / 4) / rms(x, n / 4, 3 * n / 4);
        EXPECT_GE(gain, c.minGain) << c.finite << " " << c.strength << " at " << c.hz;
        EXPECT_LE(gain, c.maxGain) << c.finite << " " << c.strength << " at " << c.hz;
    }
}

TEST(WaveFilterChannel, EndsOfTheChannel) {
    // A constant through the finite low-pass: output j reads inputs j..j+64, so it is
    // the constant (gain 1) up to n - 66, then 65 zeros.
    const std::vector<std::int16_t> flat(1000, 1000);
    const auto fir = filtered(flat, settingsFor(true, -5));
    EXPECT_EQ(fir[0], 999) << "999.99... truncates toward zero";
    EXPECT_EQ(fir[1000 - 66], 999);
    for (std::size_t j = 1000 - 65; j < 1000; ++j)
        EXPECT_EQ(fir[j], 0) << j;
    // The infinite response: the first three samples zero, the last three unfiltered.
    auto x = sine(3000, 2000);
    const auto iir = filtered(x, settingsFor(false, 3));
    EXPECT_EQ(iir[0] | iir[1] | iir[2], 0);
    for (std::size_t i = 1997; i < 2000; ++i)
        EXPECT_EQ(iir[i], x[i]) << i;
    // Too short: the finite response needs 650 samples, the infinite one 1024.
    filtered(std::vector<std::int16_t>(1000, 5), settingsFor(false, -10), FilterResult::Failed);
    filtered(std::vector<std::int16_t>(649, 5), settingsFor(true, -10), FilterResult::Failed);
}

TEST(WaveFilterChannel, RescaleReachesFullScale) {
    for (bool finite : {true, false}) {
        const auto y = filtered(sine(60, 20000, 3000), settingsFor(finite, -10, true));
        int peak = 0;
        for (std::int16_t v : y)
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GE(peak, 32766) << finite;
        EXPECT_LE(peak, 32767) << finite;
    }
}

// The main thread of the tests: posted tasks wait in a queue until drained.
class TaskQueue {
  public:
    WaveFilter::Post poster() {
        return [this](std::function<void()> task) {
            std::lock_guard lock(mutex_);
            tasks_.push_back(std::move(task));
        };
    }
    void drain() {
        std::vector<std::function<void()>> tasks;
        {
            std::lock_guard lock(mutex_);
            tasks.swap(tasks_);
        }
        for (auto& task : tasks)
            task();
    }

  private:
    std::mutex mutex_;
    std::vector<std::function<void()>> tasks_;
};

std::shared_ptr<PcmData> stereoMusic(std::size_t frames) {
    auto music = std::make_shared<PcmData>();
    music->channels = 2;
    music->frequency = 44100;
    music->samples.resize(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
        music->samples[2 * i] = static_cast<std::int16_t>(8000 * std::sin(i * 0.01));
        music->samples[2 * i + 1] = static_cast<std::int16_t>(8000 * std::sin(i * 0.5));
    }
    return music;
}

struct RunLog {
    std::vector<std::string> messages;
    std::vector<int> percents;
    std::optional<FilterResult> result;
    WaveFilter::Observer observer() {
        return {[this](std::string_view m) { messages.emplace_back(m); },
                [this](int p) { percents.push_back(p); }, [this](FilterResult r) { result = r; }};
    }
};

void runUntilFinished(TaskQueue& queue, const RunLog& log) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!log.result && std::chrono::steady_clock::now() < deadline) {
        queue.drain();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

TEST(WaveFilterRun, FinishedRunHandsOverTheFilteredWave) {
    TaskQueue queue;
    WaveFilter filter(queue.poster());
    RunLog log;
    WaveFilterSettings settings = settingsFor(true, -10, true);
    filter.start(stereoMusic(100000), settings, log.observer());
    EXPECT_EQ(filter.peaks(), nullptr) << "nothing to draw while running";
    runUntilFinished(queue, log);
    ASSERT_EQ(log.result, FilterResult::Done);
    ASSERT_NE(filter.peaks(), nullptr);
    EXPECT_EQ(filter.peaks()->sampleCount(), 100000u);
    EXPECT_EQ(log.percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(log.percents.begin(), log.percents.end()));
    EXPECT_EQ(log.messages.back(), "Building Peaks...");
    // The left channel (a slow sine) survives the 100 Hz low-pass at full scale; the
    // right one (about 3.5 kHz) is gone before rescaling lifts it.
    int loudest = 0;
    for (std::size_t i = 0; i < filter.peaks()->blockCount(1); ++i) {
        const PeakRange r = filter.peaks()->range(1, i);
        loudest = std::max({loudest, -r.leftMin, +r.leftMax});
    }
    EXPECT_EQ(loudest, 127);

    filter.discard();
    EXPECT_EQ(filter.peaks(), nullptr);

    // Too short for the infinite response.
    RunLog shortLog;
    filter.start(stereoMusic(1000), settingsFor(false, -10), shortLog.observer());
    runUntilFinished(queue, shortLog);
    EXPECT_EQ(shortLog.result, FilterResult::Failed);
    EXPECT_EQ(filter.peaks(), nullptr);
}

TEST(WaveFilterRun, CancelStopsTheWorkerAtOnceAndLeavesNothing) {
    TaskQueue queue;
    WaveFilter filter(queue.poster());
    RunLog log;
    const auto music = stereoMusic(180 * 44100); // held, as the player holds it
    filter.start(music, settingsFor(true, -10), log.observer());
    while (log.percents.empty()) {
        queue.drain();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const auto start = std::chrono::steady_clock::now();
    filter.cancel();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(50));
    EXPECT_FALSE(filter.running());
    queue.drain(); // whatever the run posted before it stopped is dropped
    EXPECT_FALSE(log.result);
    EXPECT_EQ(filter.peaks(), nullptr);
}

} // namespace
} // namespace quillex
