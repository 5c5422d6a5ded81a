// The silent clock and the smoothing of a device's block-wise play position.
#include <gtest/gtest.h>

#include <random>

#include "audio/play_clock.h"
#include "audio/silent_output.h"

namespace quillex {
namespace {

TEST(SilentOutput, AdvancesLikePlaybackWithSpeedAndStopsAtTheEnd) {
    std::int64_t now = 0;
    SilentOutput out([&] { return now; });
    auto music = std::make_shared<PcmData>();
    music->channels = 2;
    music->frequency = 48000;
    music->samples.resize(48000 * 2 * 10);
    ASSERT_TRUE(out.openMusic(music));
    EXPECT_FALSE(out.audible());

    SamplePosition p = -1;
    now = 1'000'000'000;
    ASSERT_TRUE(out.getPosition(p));
    EXPECT_EQ(p, 0); // paused

    out.setPosition(1000);
    out.setPaused(false);
    now += 500'000'000;
    out.getPosition(p);
    EXPECT_EQ(p, 1000 + 24000);

    out.setFrequency(96000); // double speed from here
    now += 500'000'000;
    out.getPosition(p);
    EXPECT_EQ(p, 1000 + 24000 + 48000);

    out.setPaused(true);
    now += 5'000'000'000;
    out.getPosition(p);
    EXPECT_EQ(p, 73000);

    out.setPaused(false);
    now += 60'000'000'000;
    out.getPosition(p);
    EXPECT_EQ(p, 480000);

    out.closeMusic();
    EXPECT_FALSE(out.getPosition(p));
}

// A device that mixes blocks of 1024 frames at 48 kHz (21.3 ms) reports a position
// that is up to a block stale. Polled at a jittery frame rate, the refined position
// must come within a fraction of a millisecond of the truth.
TEST(PlayClock, RefinesABlockwisePositionToUnderAMillisecond) {
    const double rate = 48000;
    const double block = 1024;
    const double start = 5000;
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> jitter(0.012, 0.021);
    PlayClock clock;
    double t = 0.003;
    double worstLate = 0;
    for (int frame = 0; t < 4.0; ++frame, t += jitter(gen)) {
        const double truth = start + t * rate;
        const double raw = start + std::floor(t * rate / block) * block;
        const double refined = clock.refine(static_cast<std::int64_t>(t * 1e9) + 777'000'000'000,
                                            raw, rate, 1.5 * block);
        EXPECT_GE(refined, raw);
        EXPECT_LE(refined, truth + 0.001 * rate);
        if (t > 1.0)
            worstLate = std::max(worstLate, truth - refined);
    }
    EXPECT_LT(worstLate / rate, 0.0005);
}

TEST(PlayClock, StartsAgainAfterAReset) {
    PlayClock clock;
    clock.refine(0, 100, 1000, 50);
    clock.refine(1'000'000'000, 1100, 1000, 50);
    clock.reset();
    EXPECT_DOUBLE_EQ(clock.refine(2'000'000'000, 10, 1000, 50), 10);
}

} // namespace
} // namespace quillex
