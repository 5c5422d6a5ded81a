// Opening a five-minute 44.1 kHz stereo song: the whole loadMusic (decode, peak
// pyramid, ready to play) against libsndfile decoding the same file alone, in the same
// run, for a WAV and two MP3s made at start (one as libsndfile writes it, with its
// Xing frame; one at a constant bit rate without an Info frame, whose length is only
// known once decoded). Also reports the memory the pyramid and the
// kept frames take per sample frame.
#include <benchmark/benchmark.h>

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/session/editor.h"
#include "audio/large_buffer.h"
#include "audio/mp3_first_frame.h"
#include "audio/platform/platform_audio.h"
#include "bench_song.h"

namespace {

using namespace quillex;
using Clock = std::chrono::steady_clock;
using bench::makeSong;

// A constant-bit-rate MP3 with its Info frame cut off, as some encoders write them.
std::string makeMp3WithoutInfoFrame() {
    const auto path = (std::filesystem::temp_directory_path() / "quillex-bench-bare.mp3").string();
    if (std::filesystem::exists(path))
        return path;
    const std::string tagged =
        makeSong("quillex-bench-cbr.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III,
                 SF_BITRATE_MODE_CONSTANT);
    std::ifstream in(tagged, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    const auto first =
        findFirstMp3Frame(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!first || !first->infoFrame)
        std::abort();
    const std::size_t audio = first->offset + first->bytes;
    std::ofstream(path, std::ios::binary)
        .write(bytes.data() + audio, static_cast<std::streamsize>(bytes.size() - audio));
    return path;
}

// CPU time of the whole process (all threads), in ms: unlike wall time it hardly
// depends on what else the machine runs.
double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// libsndfile decoding the whole file into memory, into the same kind of buffer the
// player uses (huge pages, no zero-fill), so the comparison shows only the player's
// own extra work.
double decodeAloneMs(const std::string& path) {
    const auto start = Clock::now();
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    LargeBuffer<short> frames(static_cast<std::size_t>(info.frames * info.channels));
    const sf_count_t got = sf_readf_short(file, frames.data(), info.frames);
    sf_close(file);
    benchmark::DoNotOptimize(got);
    benchmark::DoNotOptimize(frames.data());
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void LoadVersusDecode(benchmark::State& state, const std::string& path) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    RecordingMessages messages;
    NullShellHooks shell;
    Editor editor(messages, shell, makePlatformAudio());
    double bestDecode = 1e30, bestLoad = 1e30, bestDecodeCpu = 1e30, bestLoadCpu = 1e30;
    for (auto _ : state) {
        const double cpu0 = processCpuMs();
        const double decode = decodeAloneMs(path);
        const double cpu1 = processCpuMs();
        editor.player().unloadMusic();
        const double cpu2 = processCpuMs();
        const auto start = Clock::now();
        const bool ok = editor.player().loadMusic(path, "", true);
        const double load = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        bestDecodeCpu = std::min(bestDecodeCpu, cpu1 - cpu0);
        bestLoadCpu = std::min(bestLoadCpu, processCpuMs() - cpu2);
        if (!ok)
            state.SkipWithError("loadMusic failed");
        state.SetIterationTime((decode + load) / 1000.0);
        bestDecode = std::min(bestDecode, decode);
        bestLoad = std::min(bestLoad, load);
    }
    const double frames = editor.player().musicLength();
    state.counters["decode_alone_ms"] = bestDecode;
    state.counters["load_music_ms"] = bestLoad;
    state.counters["ratio"] = bestLoad / bestDecode;
    state.counters["decode_alone_cpu_ms"] = bestDecodeCpu;
    state.counters["load_music_cpu_ms"] = bestLoadCpu;
    state.counters["cpu_ratio"] = bestLoadCpu / bestDecodeCpu;
    state.counters["pyramid_bytes_per_frame"] =
        static_cast<double>(editor.waveView().peaks.memoryBytes()) / frames;
    const auto music = editor.player().decodedMusic();
    state.counters["kept_bytes_per_frame"] =
        static_cast<double>(music->samples.capacity() * sizeof(std::int16_t)) / frames;
}

void BM_LoadWav(benchmark::State& state) {
    static const std::string path =
        makeSong("quillex-bench-song.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    LoadVersusDecode(state, path);
}
void BM_LoadMp3(benchmark::State& state) {
    static const std::string path =
        makeSong("quillex-bench-song.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III);
    LoadVersusDecode(state, path);
}

void BM_LoadMp3WithoutInfoFrame(benchmark::State& state) {
    static const std::string path = makeMp3WithoutInfoFrame();
    LoadVersusDecode(state, path);
}

BENCHMARK(BM_LoadWav)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMp3)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMp3WithoutInfoFrame)
    ->Iterations(6)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
