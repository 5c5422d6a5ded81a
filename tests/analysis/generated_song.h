// Short songs made in memory with every beat known: a kick on every other beat and a
// snare between (or a kick on every beat), hats on the off-beats, a quiet pad and a
// little noise throughout.
#pragma once

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "audio/audio_backend.h"

namespace quillex::test {

struct GeneratedSong {
    std::vector<double> beats; // seconds
    PcmData pcm;
};

// Beats from `first` seconds with the tempo of `bpmAt(seconds)` until `seconds`.
template <typename Tempo> std::vector<double> beatTimes(double first, double seconds, Tempo bpmAt) {
    std::vector<double> beats;
    for (double t = first; t < seconds; t += 60.0 / bpmAt(t))
        beats.push_back(t);
    return beats;
}

// Drums on `beats` (none on the first `introBeats`: an intro of the pad alone) over a
// quiet pad and noise.
inline GeneratedSong drumSong(std::vector<double> beats, double seconds, bool kickOnEveryBeat,
                              int leadInSamples = 0, int rate = 44100, std::size_t introBeats = 0) {
    std::vector<float> mix(static_cast<std::size_t>(seconds * rate) + leadInSamples, 0.0f);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-1, 1);
    auto add = [&](double at, double length, auto sample) {
        const auto start = static_cast<std::size_t>(std::lround(at * rate)) + leadInSamples;
        for (std::size_t i = 0; i < static_cast<std::size_t>(length * rate); ++i)
            if (start + i < mix.size())
                mix[start + i] += sample(static_cast<double>(i) / rate);
    };
    const auto kick = [](double t) {
        const double phase =
            2 * std::numbers::pi * (50 * t + 100 * 0.03 * (1 - std::exp(-t / 0.03)));
        return static_cast<float>(0.8 * std::sin(phase) * std::exp(-t / 0.12));
    };
    const auto snare = [&](double t) {
        return static_cast<float>(0.4 * noise(random) * std::exp(-t / 0.05));
    };
    const auto hat = [&](double t) {
        return static_cast<float>(0.12 * noise(random) * std::exp(-t / 0.012));
    };
    for (std::size_t i = introBeats; i < beats.size(); ++i) {
        const double next =
            i + 1 < beats.size() ? beats[i + 1] : beats[i] + (beats[i] - beats[i - 1]);
        if (kickOnEveryBeat || i % 2 == 0)
            add(beats[i], 0.25, kick);
        if (!kickOnEveryBeat && i % 2 == 1)
            add(beats[i], 0.15, snare);
        add((beats[i] + next) / 2, 0.05, hat);
    }
    for (std::size_t i = 0; i < mix.size(); ++i)
        mix[i] += static_cast<float>(0.08 * std::sin(2 * std::numbers::pi * 110 * i / rate) +
                                     0.005 * noise(random));
    GeneratedSong song;
    song.pcm.channels = 1;
    song.pcm.frequency = rate;
    song.pcm.samples.resize(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i)
        song.pcm.samples[i] = static_cast<std::int16_t>(std::clamp(mix[i], -1.0f, 1.0f) * 32000);
    for (double& b : beats)
        b += static_cast<double>(leadInSamples) / rate;
    song.beats = std::move(beats);
    return song;
}

} // namespace quillex::test
