// The waveform's sample reduction and peak pyramid, checked against a direct reading
// of the build rule: running minima and maxima per level that start and restart at 0,
// a block appended when the sample after it arrives, the last block dropped.
#include <gtest/gtest.h>

#include <random>

#include "audio/peak_pyramid.h"
#include "audio/wave_view.h"

namespace quillex {
namespace {

// The build rule applied sample by sample, as the waveform describes it.
std::array<PeakPyramid::Level, kPeakLevels> referenceBuild(const std::vector<std::int8_t>& left,
                                                           const std::vector<std::int8_t>& right) {
    std::array<PeakPyramid::Level, kPeakLevels> levels;
    struct Running {
        std::int8_t minL = 0, maxL = 0, minR = 0, maxR = 0;
        int counter = 0;
    };
    std::array<Running, kPeakLevels> run{};
    for (std::size_t i = 0; i < left.size(); ++i) {
        const std::int8_t l = left[i], r = right[i];
        levels[1].leftMax.push_back(l);
        levels[1].rightMax.push_back(r);
        for (int k = 2; k < kPeakLevels; ++k) {
            Running& x = run[k];
            PeakPyramid::Level& lv = levels[k];
            if (x.counter == kLevelBlockSizes[k]) {
                lv.leftMin.push_back(x.minL);
                lv.leftMax.push_back(x.maxL);
                lv.rightMin.push_back(x.minR);
                lv.rightMax.push_back(x.maxR);
                x = Running{};
            }
            x.minL = std::min(x.minL, l);
            x.maxL = std::max(x.maxL, l);
            x.minR = std::min(x.minR, r);
            x.maxR = std::max(x.maxR, r);
            ++x.counter;
        }
    }
    return levels;
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
            for (const PeakPyramid* p : {&whole, &chunked}) {
                EXPECT_EQ(p->level(k).leftMin, expected[k].leftMin);
                EXPECT_EQ(p->level(k).leftMax, expected[k].leftMax);
                EXPECT_EQ(p->level(k).rightMin, expected[k].rightMin);
                EXPECT_EQ(p->level(k).rightMax, expected[k].rightMax);
            }
        }
    }
}

TEST(PeakPyramid, SixteenBitFramesReduceStraightIntoLevelOne) {
    std::mt19937 gen(9);
    std::uniform_int_distribution<int> dist(-32768, 32767);
    for (int channels : {1, 2}) {
        const std::size_t n = 50001;
        std::vector<std::int16_t> frames(n * static_cast<std::size_t>(channels));
        for (auto& s : frames)
            s = static_cast<std::int16_t>(dist(gen));
        std::vector<std::int8_t> left(n), right(n);
        for (std::size_t i = 0; i < n; ++i) {
            left[i] = reduceSample16(frames[i * channels]);
            right[i] = reduceSample16(frames[i * channels + channels - 1]);
        }
        const auto expected = referenceBuild(left, right);
        PeakPyramid p;
        for (std::size_t at = 0, step = 7; at < n; at += step, step = step * 5 % 7919 + 1)
            p.appendFrames16(frames.data() + at * channels, channels, std::min(step, n - at));
        for (int k = 1; k < kPeakLevels; ++k) {
            EXPECT_EQ(p.level(k).leftMax, expected[k].leftMax);
            EXPECT_EQ(p.level(k).rightMin, expected[k].rightMin);
        }
    }
}

TEST(PeakPyramid, EntryCountsDropTheLastBlock) {
    const std::vector<std::int8_t> samples(4096, 5);
    PeakPyramid p;
    p.append(samples.data(), samples.data(), samples.size());
    EXPECT_EQ(p.level(1).size(), 4096u);
    EXPECT_TRUE(p.level(1).leftMin.empty());
    EXPECT_TRUE(p.level(1).rightMin.empty());
    EXPECT_EQ(p.level(2).size(), 2047u);
    EXPECT_EQ(p.level(12).size(), 1u); // (4096 - 1) / 2048
    EXPECT_EQ(p.level(13).size(), 0u);
    const std::int8_t one = 5;
    p.append(&one, &one, 1);
    EXPECT_EQ(p.level(13).size(), 1u);
    EXPECT_TRUE(p.level(0).leftMax.empty());
}

TEST(PeakPyramid, EveryBlockReachesZero) {
    const auto positive = randomSamples(5000, 3, 1, 127);
    PeakPyramid p;
    p.append(positive.data(), positive.data(), positive.size());
    for (int k = 2; k < kPeakLevels; ++k)
        for (std::size_t j = 0; j < p.level(k).size(); ++j) {
            EXPECT_EQ(p.level(k).leftMin[j], 0);
            EXPECT_GT(p.level(k).leftMax[j], 0);
        }
}

TEST(PeakPyramid, StaysWithinSixBytesPerFrameAndClearsToNothing) {
    const std::size_t frames = 44100 * 10 + 77;
    const auto s = randomSamples(frames, 11);
    PeakPyramid p;
    p.reserve(frames);
    for (std::size_t at = 0; at < frames; at += 16384)
        p.append(s.data() + at, s.data() + at, std::min<std::size_t>(16384, frames - at));
    EXPECT_LE(p.memoryBytes(), 6 * frames);
    p.clear();
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(p.memoryBytes(), 0u);
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
