// The spectrogram of a five-minute 44.1 kHz stereo song, every zoom level (the mix to
// one channel, the transforms on two threads and the coarser levels), against
// `sox IN -n spectrogram` over the same file in the same run. Counters are medians over
// the iterations: quillex_ms, sox_ms and sox_ratio (quillex / sox, paired per
// iteration), and the pyramid's bytes per 1,000 frames per zoom level.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "analysis/tf_runner.h"
#include "analysis/tf_transform.h"
#include "bench_sox.h"

namespace {

using namespace quillex;
using bench::Clock;
using bench::msSince;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double soxSpectrogramMs(const std::string& in) {
    const std::string out =
        (std::filesystem::temp_directory_path() / "quillex-bench-sox.png").string();
    return bench::commandMs("sox '" + in + "' -n spectrogram -o '" + out + "'");
}

void BM_SpectrogramVersusSox(benchmark::State& state) {
    bench::OpenedSong song;
    if (!song.loaded) {
        state.SkipWithError("loadMusic failed");
        return;
    }
    const auto music = song.editor.player().decodedMusic();
    std::vector<double> ours, sox, ratios;
    double bytesPerThousand = 0;
    for (auto _ : state) {
        const double soxMs = soxSpectrogramMs(song.path);
        if (soxMs < 0) {
            state.SkipWithError("sox failed (is it installed?)");
            return;
        }
        const auto start = Clock::now();
        const auto pyramid =
            buildTfPyramid(spectrogramSignal(*music, nullptr, {}), music->frequency, {});
        const double ms = msSince(start);
        state.SetIterationTime(ms / 1000.0);
        ours.push_back(ms);
        sox.push_back(soxMs);
        ratios.push_back(ms / soxMs);
        bytesPerThousand = 1000.0 * static_cast<double>(pyramid->memoryBytes()) /
                           static_cast<double>(pyramid->frames()) / 13;
    }
    state.counters["quillex_ms"] = median(ours);
    state.counters["sox_ms"] = median(sox);
    state.counters["sox_ratio"] = median(ratios);
    state.counters["bytes_per_1000_frames_per_zoom"] = bytesPerThousand;
}

BENCHMARK(BM_SpectrogramVersusSox)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
