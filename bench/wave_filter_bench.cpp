// The wave filter on a five-minute 44.1 kHz stereo song: a 65-tap finite-response
// low-pass at 1 kHz (strength 1) over the decoded music the player holds, peaks
// included, against sox running the same 65-tap 1 kHz low-pass over the same file in
// the same run (sox_ratio = quillex's wall time / sox's; cpu_ratio the same for CPU
// time, all threads). Also how long a cancel during a run takes to return.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "app/session/editor.h"
#include "audio/platform/platform_audio.h"
#include "audio/wave_filter.h"
#include "bench_sox.h"

namespace {

using namespace quillex;
using bench::Clock;
using bench::msSince;

// Posted reports land here; the benchmark waits for the finishing one.
struct Inbox {
    std::mutex mutex;
    std::vector<std::function<void()>> tasks;
    WaveFilter::Post poster() {
        return [this](std::function<void()> task) {
            std::lock_guard lock(mutex);
            tasks.push_back(std::move(task));
        };
    }
    void drain() {
        std::vector<std::function<void()>> now;
        {
            std::lock_guard lock(mutex);
            now.swap(tasks);
        }
        for (auto& task : now)
            task();
    }
};

// CPU time of this process's threads, and of its finished children (sox), in ms: less
// at the mercy of whatever else the machine runs than wall time.
double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}
double childrenCpuMs() {
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    const auto ms = [](const timeval& v) {
        return static_cast<double>(v.tv_sec) * 1e3 + static_cast<double>(v.tv_usec) * 1e-3;
    };
    return ms(r.ru_utime) + ms(r.ru_stime);
}

double soxMs(const std::string& in) {
    const std::string out =
        (std::filesystem::temp_directory_path() / "quillex-bench-sox.wav").string();
    return bench::commandMs("sox '" + in + "' '" + out + "' sinc -n 65 -1000");
}

void BM_FiniteFilterVersusSox(benchmark::State& state) {
    bench::OpenedSong song;
    Editor& editor = song.editor;
    const std::string& path = song.path;
    if (!song.loaded) {
        state.SkipWithError("loadMusic failed");
        return;
    }
    Inbox inbox;
    WaveFilter filter(inbox.poster());
    WaveFilterSettings settings;
    settings.finite = true;
    settings.lowPass = true;
    settings.strength = 1; // 1 kHz
    settings.rescale = false;
    double bestFilter = 1e30, bestSox = 1e30, bestFilterCpu = 1e30, bestSoxCpu = 1e30;
    for (auto _ : state) {
        const double soxCpu0 = childrenCpuMs();
        const double sox = soxMs(path);
        bestSoxCpu = std::min(bestSoxCpu, childrenCpuMs() - soxCpu0);
        if (sox < 0) {
            state.SkipWithError("sox failed (is it installed?)");
            return;
        }
        bool done = false;
        const double cpu0 = processCpuMs();
        const auto start = Clock::now();
        filter.start(editor.player().decodedMusic(), settings,
                     {nullptr, nullptr, [&](FilterResult) { done = true; }});
        while (!done) {
            inbox.drain();
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        const double ms = msSince(start);
        bestFilterCpu = std::min(bestFilterCpu, processCpuMs() - cpu0);
        if (!filter.peaks())
            state.SkipWithError("the run left no filtered wave");
        state.SetIterationTime(ms / 1000.0);
        bestFilter = std::min(bestFilter, ms);
        bestSox = std::min(bestSox, sox);
    }
    state.counters["quillex_ms"] = bestFilter;
    state.counters["sox_ms"] = bestSox;
    state.counters["sox_ratio"] = bestFilter / bestSox;
    state.counters["quillex_cpu_ms"] = bestFilterCpu;
    state.counters["sox_cpu_ms"] = bestSoxCpu;
    state.counters["cpu_ratio"] = bestFilterCpu / bestSoxCpu;

    // Cancel a run a quarter of the way in.
    double worstCancel = 0;
    for (int i = 0; i < 5; ++i) {
        int percent = 0;
        filter.start(editor.player().decodedMusic(), settings,
                     {nullptr, [&](int p) { percent = p; }, nullptr});
        while (percent < 25) {
            inbox.drain();
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        const auto start = Clock::now();
        filter.cancel();
        worstCancel = std::max(worstCancel, msSince(start));
    }
    state.counters["cancel_ms"] = worstCancel;
}

BENCHMARK(BM_FiniteFilterVersusSox)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
