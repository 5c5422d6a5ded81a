// The OpenAL Soft output on the library's null backend (ALSOFT_DRIVERS=null): the
// music streams, its position advances with playback and stands still when paused,
// and a seek moves it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/platform/openal_output.h"
#include "audio/platform/platform_audio.h"

namespace quillex {
namespace {

std::shared_ptr<PcmData> silence(int seconds, int rate) {
    auto pcm = std::make_shared<PcmData>();
    pcm->channels = 2;
    pcm->frequency = rate;
    pcm->samples.assign(static_cast<std::size_t>(seconds) * rate * 2, 0);
    return pcm;
}

SamplePosition positionOf(AudioOutput& out) {
    SamplePosition p = -1;
    EXPECT_TRUE(out.getPosition(p));
    return p;
}

// Waits while the output plays, polling now and then like frames would; returns the
// seconds that really passed (a busy machine may oversleep).
double playFor(AudioOutput& out, std::chrono::milliseconds time) {
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < start + time) {
        positionOf(out);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct OpenAl : ::testing::Test {
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 0);
        out = OpenAlOutput::open();
        if (!out)
            GTEST_SKIP() << "OpenAL could not open its null device";
    }
    std::unique_ptr<OpenAlOutput> out;
};

TEST_F(OpenAl, PlaysPausesAndSeeks) {
    ASSERT_TRUE(out->openMusic(silence(20, 44100)));
    EXPECT_EQ(positionOf(*out), 0);
    ASSERT_TRUE(out->setPosition(44100));
    ASSERT_TRUE(out->setPaused(false));
    const double seconds = playFor(*out, std::chrono::milliseconds(400));
    const double played = (positionOf(*out) - 44100) / 44100.0;
    // The null device runs on the wall clock; the device latency is taken off.
    EXPECT_GT(played, seconds * 0.5 - 0.1);
    EXPECT_LT(played, seconds * 1.1);

    ASSERT_TRUE(out->setPaused(true));
    const SamplePosition paused = positionOf(*out);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(positionOf(*out), paused);

    ASSERT_TRUE(out->setPosition(10 * 44100));
    EXPECT_EQ(positionOf(*out), 10 * 44100);
    EXPECT_TRUE(out->setVolume(0.5f));
    EXPECT_FALSE(out->setVolume(-1.0f));
    out->closeMusic();
    SamplePosition p;
    EXPECT_FALSE(out->getPosition(p));
}

TEST_F(OpenAl, OtherSpeedsPlayTheirShareAndTheEndIsReported) {
    struct Case {
        double speed;
        bool keepPitch;
    };
    // Double speed by frequency; half speed both ways, through the stretcher and not.
    for (const Case& c : {Case{2.0, false}, Case{0.5, true}, Case{0.5, false}}) {
        SCOPED_TRACE(testing::Message() << "speed " << c.speed << " keep pitch " << c.keepPitch);
        const int rate = 22050;
        ASSERT_TRUE(out->openMusic(silence(1, rate)));
        out->setKeepPitch(c.keepPitch);
        ASSERT_TRUE(out->setFrequency(static_cast<float>(rate * c.speed)));
        ASSERT_TRUE(out->setPaused(false));
        const double seconds = playFor(*out, std::chrono::milliseconds(200));
        const double played = positionOf(*out) / static_cast<double>(rate);
        EXPECT_GT(played, c.speed * seconds * 0.5 - 0.1);
        EXPECT_LT(played, c.speed * seconds * 1.1);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
        while (positionOf(*out) < rate && std::chrono::steady_clock::now() < deadline)
            playFor(*out, std::chrono::milliseconds(50));
        EXPECT_EQ(positionOf(*out), rate); // played to its end
    }
}

// The input timer plays effect sounds while the main thread sets volumes: an error of
// one thread's calls must never make the other thread's call fail.
TEST_F(OpenAl, EffectCallsOnAnotherThreadNeverFailTheMusicCalls) {
    ASSERT_TRUE(out->openMusic(silence(1, 44100)));
    ASSERT_TRUE(out->loadEffect(EffectSound::BeatTick, silence(1, 44100)));
    std::atomic<bool> done = false;
    std::atomic<int> effectRounds = 0;
    std::thread timer([&] {
        for (; !done; ++effectRounds) {
            out->setEffectVolume(EffectSound::BeatTick, -1.0f); // refused: a gain below 0
            out->playEffect(EffectSound::BeatTick);
        }
    });
    int failed = 0;
    // Both threads call many times side by side, however the machine schedules them.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    for (int i = 0;
         (i < 50000 || effectRounds < 50000) && std::chrono::steady_clock::now() < deadline; ++i)
        failed += out->setVolume(0.5f) ? 0 : 1;
    done = true;
    timer.join();
    EXPECT_EQ(failed, 0);
}

TEST(PlatformAudio, OpensTheNullDeviceWithDecoders) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    AudioBackend audio = makePlatformAudio();
    ASSERT_TRUE(audio.output);
    ASSERT_TRUE(audio.makeDecoder);
    EXPECT_EQ(audio.output->audible(), audio.deviceNotice.empty());
}

} // namespace
} // namespace quillex
