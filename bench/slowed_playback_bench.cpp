// What slowed playback that keeps its pitch costs: the stretcher's work for music played
// at half speed, as a share of one core (CPU seconds per second heard).
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>

#include "audio/platform/stretched_music.h"

namespace quillex {
namespace {

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Thirty seconds of stereo music-like sound: a chord, a bass line and a hit every beat.
std::shared_ptr<const PcmData> music() {
    constexpr int kRate = 44100;
    auto pcm = std::make_shared<PcmData>();
    pcm->channels = 2;
    pcm->frequency = kRate;
    const std::int64_t frames = 30LL * kRate;
    pcm->samples.resize(static_cast<std::size_t>(frames * 2));
    std::uint32_t noise = 1;
    for (std::int64_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double sinceBeat = std::fmod(t, 0.5);
        noise = noise * 1664525u + 1013904223u;
        const double hit = (static_cast<double>(noise >> 8) / (1 << 23) - 1.0) *
                           std::exp(-sinceBeat * 60.0);
        const double chord = std::sin(2 * M_PI * 261.6 * t) + std::sin(2 * M_PI * 329.6 * t) +
                             std::sin(2 * M_PI * 392.0 * t);
        const double bass = std::sin(2 * M_PI * (t < 15 ? 65.4 : 98.0) * t);
        const double x = 0.25 * hit + 0.1 * chord + 0.2 * bass;
        pcm->samples[static_cast<std::size_t>(2 * i)] = static_cast<std::int16_t>(x * 20000);
        pcm->samples[static_cast<std::size_t>(2 * i + 1)] = static_cast<std::int16_t>(x * 18000);
    }
    return pcm;
}

void BM_SlowedPlaybackAtHalfSpeed(benchmark::State& state) {
    const auto pcm = music();
    StretchedMusic stretched;
    std::vector<std::int16_t> block(8192 * 2);
    double cpu = 0;
    double heard = 0;
    for (auto _ : state) {
        const double before = threadCpuSeconds();
        stretched.start(pcm, 0, 0.5);
        std::int64_t frames = 0;
        for (std::int64_t n; (n = stretched.read(block.data(), 8192)) > 0;)
            frames += n;
        cpu += threadCpuSeconds() - before;
        heard += static_cast<double>(frames) / pcm->frequency;
    }
    state.counters["core_share"] = cpu / heard;
    state.SetLabel("CPU seconds per second heard, 30 s of music at 50 %");
}
BENCHMARK(BM_SlowedPlaybackAtHalfSpeed)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quillex
