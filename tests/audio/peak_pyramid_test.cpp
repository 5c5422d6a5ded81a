// The waveform's sample reduction and peak pyramid, checked against a direct reading
// of the build rule: running minima and maxima per level that start and restart at 0,
// a block appended when the sample after it arrives, the last block dropped.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "audio/peak_pyramid.h"
#include "audio/wave_view.h"

namespace quillex {
namespace {

using LevelRanges = std::array<std::vector<PeakRange>, kPeakLevels>;

// The build rule applied sample by sample, as the waveform describes it: level 1 runs
// from 0 to each sample, a higher level's block is shown once the sample after it
// arrives.
LevelRanges referenceBuild(const std::vector<std::int8_t>& left,
                           const std::vector<std::int8_t>& right) {
    LevelRanges levels;
    std::array<PeakRange, kPeakLevels> run{};
    std::array<int, kPeakLevels> counter{};
    for (std::size_t i = 0; i < left.size(); ++i) {
        const std::int8_t l = left[i], r = right[i];
        const auto zero = std::int8_t{0};
        levels[1].push_back(
            {std::min(l, zero), std::max(l, zero), std::min(r, zero), std::max(r, zero)});
        for (int k = 2; k < kPeakLevels; ++k) {
            PeakRange& x = run[k];
            if (counter[k] == kLevelBlockSizes[k]) {
                levels[k].push_back(x);
                x = PeakRange{};
                counter[k] = 0;
            }
            x = {std::min(x.leftMin, l), std::max(x.leftMax, l), std::min(x.rightMin, r),
                 std::max(x.rightMax, r)};
            ++counter[k];
        }
    }
    return levels;
}

// What the wave layer gets from level k.
std::vector<PeakRange> painted(const PeakPyramid& p, int k) {
    std::vector<PeakRange> out;
    for (std::size_t b = 0; b < p.blockCount(k); ++b)
        out.push_back(p.range(k, b));
    return out;
}

std::vector<std::int8_t> randomSamples(std::size_t n, unsigned seed, int low = -128,
                                       int high = 127) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> dist(low, high);
    std::vector<std::int8_t> v(n);
    for (auto& s : v)
        s = static_cast<std::int8_t>(dist(gen));
    return v;
}

TEST(SampleReduction, TruncatesTowardZeroAtEveryBitDepth) {
    // 16-bit.
    EXPECT_EQ(reduceSample16(-1), 0);
    EXPECT_EQ(reduceSample16(-255), 0);
    EXPECT_EQ(reduceSample16(-256), -1);
    EXPECT_EQ(reduceSample16(32767), 127);
    EXPECT_EQ(reduceSample16(-32768), -128);
    // 8-bit data arrive widened to 16 bits from unsigned bytes: 0 and 255.
    EXPECT_EQ(reduceSample16(static_cast<std::int16_t>((0 - 128) * 256)), -128);
    EXPECT_EQ(reduceSample16(static_cast<std::int16_t>((255 - 128) * 256)), 127);
    // 24-bit values, left-aligned: -65535 / 65536 truncates to 0, where a shift
    // would give -1.
    EXPECT_EQ(reduceSample(-65535 * 256), 0);
    EXPECT_EQ(reduceSample(-65536 * 256), -1);
    EXPECT_EQ(reduceSample(8388607 * 256), 127);
    // 32-bit.
    EXPECT_EQ(reduceSample(-16777215), 0);
    EXPECT_EQ(reduceSample(-16777216), -1);
    EXPECT_EQ(reduceSample(2147483647), 127);
    EXPECT_EQ(reduceSample(-2147483647 - 1), -128);
}

TEST(PeakPyramid, MatchesTheSampleBySampleRuleWhateverTheChunking) {
    for (std::size_t n : {0u, 1u, 2u, 3u, 4095u, 4096u, 4097u, 8193u, 100003u}) {
        const auto left = randomSamples(n, 1 + static_cast<unsigned>(n));
        const auto right = randomSamples(n, 7 + static_cast<unsigned>(n));
        const auto expected = referenceBuild(left, right);

        PeakPyramid whole, chunked;
        whole.reserve(n);
        whole.append(left.data(), right.data(), n);
        // Uneven chunks, so blocks complete across chunk borders.
        for (std::size_t at = 0, step = 1; at < n; at += step, step = step * 3 % 9973 + 1)
            chunked.append(left.data() + at, right.data() + at, std::min(step, n - at));

        for (int k = 1; k < kPeakLevels; ++k) {
            SCOPED_TRACE("n " + std::to_string(n) + " level " + std::to_string(k));
            EXPECT_EQ(painted(whole, k), expected[k]);
            EXPECT_EQ(painted(chunked, k), expected[k]);
        }
    }
}

std::shared_ptr<PcmData> randomMusic(int channels, std::size_t frames) {
    std::mt19937 gen(9);
    std::uniform_int_distribution<int> dist(-32768, 32767);
    auto music = std::make_shared<PcmData>();
    music->channels = channels;
    music->samples.resize(frames * static_cast<std::size_t>(channels));
    for (auto& s : music->samples)
        s = static_cast<std::int16_t>(dist(gen));
    return music;
}

// Full-scale frames in uneven chunks, so blocks span chunk borders and the vector
// loops meet their tails; the fine levels come from the shared music.
TEST(PeakPyramid, SixteenBitFramesShowWhatTheirReducedSamplesShow) {
    for (int channels : {1, 2}) {
        const std::size_t n = 50001;
        const auto music = randomMusic(channels, n);
        const std::int16_t* frames = music->samples.data();
        std::vector<std::int8_t> left(n), right(n);
        for (std::size_t i = 0; i < n; ++i) {
            left[i] = reduceSample16(frames[i * channels]);
            right[i] = reduceSample16(frames[i * channels + channels - 1]);
        }
        const auto expected = referenceBuild(left, right);
        PeakPyramid p;
        for (std::size_t at = 0, step = 7; at < n; at += step, step = step * 5 % 7919 + 1)
            p.appendFrames16(frames + at * channels, channels, std::min(step, n - at));
        EXPECT_EQ(p.blockCount(1), 0u) << "no samples to show the fine levels from yet";
        p.readSamplesFrom(music);
        for (int k = 1; k < kPeakLevels; ++k) {
            SCOPED_TRACE("channels " + std::to_string(channels) + " level " + std::to_string(k));
            EXPECT_EQ(painted(p, k), expected[k]);
        }
    }
}

TEST(PeakPyramid, BlockCountsDropTheLastBlock) {
    const std::vector<std::int8_t> samples(4096, 5);
    PeakPyramid p;
    p.append(samples.data(), samples.data(), samples.size());
    EXPECT_EQ(p.blockCount(1), 4096u);
    EXPECT_EQ(p.range(1, 0), (PeakRange{0, 5, 0, 5}));
    EXPECT_EQ(p.blockCount(2), 2047u);
    EXPECT_EQ(p.blockCount(12), 1u); // (4096 - 1) / 2048
    EXPECT_EQ(p.blockCount(13), 0u);
    const std::int8_t one = 5;
    p.append(&one, &one, 1);
    EXPECT_EQ(p.blockCount(13), 1u);
    EXPECT_EQ(p.blockCount(0), 0u);
}

TEST(PeakPyramid, EveryBlockReachesZero) {
    const auto positive = randomSamples(5000, 3, 1, 127);
    PeakPyramid p;
    p.append(positive.data(), positive.data(), positive.size());
    for (int k = 2; k < kPeakLevels; ++k)
        for (std::size_t j = 0; j < p.blockCount(k); ++j) {
            EXPECT_EQ(p.range(k, j).leftMin, 0);
            EXPECT_GT(p.range(k, j).leftMax, 0);
        }
}

TEST(PeakPyramid, KeepsLittleMemoryAndClearsToNothing) {
    const std::size_t frames = 44100 * 10 + 77;
    const auto s = randomSamples(frames, 11);
    const auto music = randomMusic(2, frames);
    PeakPyramid kept, shared;
    kept.reserve(frames);
    kept.reserveSamples(frames);
    shared.reserve(frames);
    for (std::size_t at = 0; at < frames; at += 16384) {
        const std::size_t count = std::min<std::size_t>(16384, frames - at);
        kept.append(s.data() + at, s.data() + at, count);
        shared.appendFrames16(music->samples.data() + 2 * at, 2, count);
    }
    shared.readSamplesFrom(music);
    // Two bytes a sample kept, a quarter byte for the stored levels.
    EXPECT_LE(kept.memoryBytes(), frames * 9 / 4);
    EXPECT_LE(shared.memoryBytes(), frames / 4);
    for (PeakPyramid* p : {&kept, &shared}) {
        p->clear();
        EXPECT_TRUE(p->empty());
        EXPECT_EQ(p->blockCount(1), 0u);
        EXPECT_EQ(p->memoryBytes(), 0u);
    }
}

TEST(WaveView, SamplesPerRowFollowTheZoomLevel) {
    WaveView view;
    EXPECT_EQ(view.zoomLevel, 10);
    EXPECT_EQ(view.samplesPerRow(), 512);
    view.zoomLevel = 1;
    EXPECT_EQ(view.samplesPerRow(), 1);
    view.zoomLevel = 13;
    EXPECT_EQ(view.samplesPerRow(), 4096);
    for (int outside : {0, -3, 14}) {
        view.zoomLevel = outside;
        EXPECT_EQ(view.samplesPerRow(), 4096);
    }
    view.cursorRow = 300;
    view.waveX = 1;
    view.resetToDefaults(720);
    EXPECT_EQ(view.cursorRow, 100);
    EXPECT_EQ(view.homeRow, 100);
    EXPECT_EQ(view.waveX, 250);
    EXPECT_EQ(view.waveBottom, 720);
    EXPECT_EQ(view.zoomLevel, 10);
    EXPECT_EQ(view.noteSizeForZoom[11], 1);
    EXPECT_EQ(view.noteSizeForZoom[13], 3);
}

} // namespace
} // namespace quillex
