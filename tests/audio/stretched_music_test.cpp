// Slowed music keeps its timeline: a click at music frame f comes out of the stretcher
// at output frame (f - start) / speed, so positions counted from the output frames
// stay where the music is.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "audio/platform/stretched_music.h"

namespace quillex {
namespace {

constexpr int kRate = 44100;

// A drum-like hit every half second (noise dying away within a few milliseconds),
// silence between.
std::shared_ptr<PcmData> clickTrack(int channels, std::vector<std::int64_t>& clicks) {
    auto pcm = std::make_shared<PcmData>();
    pcm->channels = channels;
    pcm->frequency = kRate;
    pcm->samples.assign(static_cast<std::size_t>(6 * kRate * channels), 0);
    std::uint32_t noise = 1;
    for (std::int64_t at = kRate / 4; at + 2000 < 6 * kRate; at += kRate / 2) {
        clicks.push_back(at);
        for (int i = 0; i < 2000; ++i) {
            noise = noise * 1664525u + 1013904223u;
            const double white = static_cast<double>(noise >> 8) / (1 << 23) - 1.0;
            const auto x = static_cast<std::int16_t>(30000 * white * std::exp(-i / 200.0));
            for (int c = 0; c < channels; ++c)
                pcm->samples[static_cast<std::size_t>((at + i) * channels + c)] = x;
        }
    }
    return pcm;
}

TEST(StretchedMusic, ClicksComeOutWhereTheSpeedPutsThemUntilTheEnd) {
    struct Case {
        int channels;
        std::int64_t start;
        double speed;
    };
    StretchedMusic stretched; // used again, as a seek does
    for (const Case& c : {Case{2, 0, 0.5}, Case{2, 30000, 0.7}, Case{1, 12345, 0.5}}) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels from " << c.start
                                        << " at speed " << c.speed);
        std::vector<std::int64_t> clicks;
        const auto music = clickTrack(c.channels, clicks);
        stretched.start(music, c.start, c.speed);
        std::vector<std::int16_t> out;
        std::vector<std::int16_t> block(4000 * static_cast<std::size_t>(c.channels));
        for (std::int64_t n; (n = stretched.read(block.data(), 4000)) > 0;)
            out.insert(out.end(), block.begin(), block.begin() + n * c.channels);
        const auto frames = static_cast<std::int64_t>(out.size()) / c.channels;
        // The whole rest of the music comes out, stretched.
        EXPECT_NEAR(frames, (music->frames() - c.start) / c.speed, 1);

        // Each hit's attack (its first frame at half the hit's height), mapped back onto
        // the music's frames. The stretcher spreads an attack over its window, so it
        // comes a few milliseconds early; a start delay left in would make it 20 ms late.
        for (std::int64_t click : clicks) {
            if (click < c.start + 1000)
                continue;
            auto i = std::max<std::int64_t>((click - 2000 - c.start) / c.speed, 0);
            while (i < frames && std::abs(out[static_cast<std::size_t>(i * c.channels)]) < 15000)
                ++i;
            const double attack = static_cast<double>(c.start) + static_cast<double>(i) * c.speed;
            EXPECT_NEAR(attack, static_cast<double>(click), 0.004 * kRate) << click;
        }
    }
}

} // namespace
} // namespace quillex
