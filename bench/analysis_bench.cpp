// The sync assistant's analysis of five minutes of generated drums (44.1 kHz): onset
// features, tempo candidates and beat tracking as a first request makes them, and a
// second request on the same music answered from the cache. `seconds_per_minute` is
// the wall time per minute of music (goal: at most 1 s).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "analysis/beat_tracker.h"
#include "analysis/generated_song.h"
#include "analysis/music_analysis.h"

namespace {

using namespace quillex;

constexpr double kMinutes = 5;

const test::GeneratedSong& song() {
    static const test::GeneratedSong s =
        test::drumSong(test::beatTimes(0.37, kMinutes * 60,
                                       [](double t) { return 131.25 + 2 * std::sin(t / 50); }),
                       kMinutes * 60, false);
    return s;
}

// Wall seconds per minute of music of the iterations run so far.
void perMinute(benchmark::State& state, std::chrono::steady_clock::duration total) {
    const double seconds = std::chrono::duration<double>(total).count();
    state.counters["seconds_per_minute"] =
        seconds / static_cast<double>(state.iterations()) / kMinutes;
}

void BM_FirstRequest(benchmark::State& state) {
    const PcmData& music = song().pcm;
    std::chrono::steady_clock::duration total{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto analysis = analyseMusic(music, nullptr, {});
        benchmark::DoNotOptimize(trackBeats(analysis->features, std::nullopt));
        total += std::chrono::steady_clock::now() - start;
    }
    perMinute(state, total);
}
BENCHMARK(BM_FirstRequest)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CachedRequest(benchmark::State& state) {
    const auto directory = std::filesystem::temp_directory_path() / "quillex-analysis-bench";
    const AnalysisCache cache(directory);
    const PcmData& music = song().pcm;
    analyseMusic(music, &cache, {});
    std::chrono::steady_clock::duration total{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto analysis = analyseMusic(music, &cache, {});
        benchmark::DoNotOptimize(trackBeats(analysis->features, std::nullopt));
        total += std::chrono::steady_clock::now() - start;
    }
    std::filesystem::remove_all(directory);
    perMinute(state, total);
}
BENCHMARK(BM_CachedRequest)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
