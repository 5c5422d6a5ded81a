// The benchmarks' five-minute 44.1 kHz stereo song, written once to the temporary
// folder in any format libsndfile writes.
#pragma once

#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace quillex::bench {

constexpr int kRate = 44100;
constexpr int kSeconds = 300;

// A song-like signal: a few tones with a beat-like envelope, so the MP3 encoder has
// real work.
inline std::string makeSong(const std::string& name, int format, int bitrateMode = -1) {
    const auto path = (std::filesystem::temp_directory_path() / name).string();
    if (std::filesystem::exists(path))
        return path;
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        std::abort();
    if (bitrateMode >= 0)
        sf_command(file, SFC_SET_BITRATE_MODE, &bitrateMode, sizeof bitrateMode);
    std::vector<float> chunk(kRate * 2);
    for (int s = 0; s < kSeconds; ++s) {
        for (int i = 0; i < kRate; ++i) {
            const double t = s + static_cast<double>(i) / kRate;
            const double beat = std::exp(-8.0 * std::fmod(t, 0.5));
            chunk[2 * i] = static_cast<float>(0.3 * std::sin(2 * M_PI * 220 * t) * beat +
                                              0.1 * std::sin(2 * M_PI * 1330 * t));
            chunk[2 * i + 1] = static_cast<float>(0.3 * std::sin(2 * M_PI * 330 * t) * beat +
                                                  0.1 * std::sin(2 * M_PI * 990 * t));
        }
        sf_writef_float(file, chunk.data(), kRate);
    }
    sf_close(file);
    return path;
}

} // namespace quillex::bench
