// The synthesiser's building blocks and file writers (see synth.h).
#include "synth.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace synth {

namespace {

// Gain of the last few milliseconds of a sound, falling smoothly to zero.
double endFade(int64_t index, int64_t length) {
    const int64_t fadeLength = std::min<int64_t>(length / 4, sampleAt(0.004));
    const int64_t left = length - index;
    if (fadeLength <= 0 || left >= fadeLength) {
        return 1.0;
    }
    return 0.5 - 0.5 * std::cos(M_PI * static_cast<double>(left) / fadeLength);
}

void ensureLength(Buffer& buffer, int64_t end) {
    if (static_cast<int64_t>(buffer.size()) < end) {
        buffer.resize(static_cast<size_t>(end), 0.0f);
    }
}

} // namespace

int64_t sampleAt(double seconds) {
    return std::llround(seconds * sampleRate);
}

void addTone(Buffer& buffer, int64_t start, const Tone& tone) {
    const int64_t length = sampleAt(tone.seconds);
    ensureLength(buffer, start + length);
    const double glide = std::log(tone.endFrequency / tone.frequency) / tone.seconds;
    double phase = 0;
    for (int64_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double frequency = tone.frequency * std::exp(glide * t);
        phase += 2 * M_PI * frequency / sampleRate;
        double value = 0;
        for (int k = 1; k <= 2 * tone.harmonics - 1; k += 2) {
            value += std::sin(k * phase) / k;
        }
        const double rise = tone.attack > 0 ? std::min(1.0, t / tone.attack) : 1.0;
        const double gain = tone.amplitude * rise * std::exp(-tone.decay * t) * endFade(i, length);
        buffer[static_cast<size_t>(start + i)] += static_cast<float>(value * gain);
    }
}

void addNoise(Buffer& buffer, int64_t start, const Noise& noise) {
    const int64_t length = sampleAt(noise.seconds);
    ensureLength(buffer, start + length);
    uint32_t state = noise.seed * 2654435761u + 12345u;
    double smooth = 0;
    double previous = 0;
    for (int64_t i = 0; i < length; ++i) {
        state = state * 1664525u + 1013904223u;
        const double white = static_cast<double>(state >> 8) / (1u << 23) - 1.0;
        smooth += noise.lowpass * (white - smooth);
        // A first-difference blend removes the low part of the noise for hiss.
        const double value = smooth - noise.highpass * previous;
        previous = smooth;
        const double t = static_cast<double>(i) / sampleRate;
        const double rise = std::min(1.0, t / 0.0005);
        const double gain =
            noise.amplitude * rise * std::exp(-noise.decay * t) * endFade(i, length);
        buffer[static_cast<size_t>(start + i)] += static_cast<float>(value * gain);
    }
}

void normalise(Buffer& buffer, float peak) {
    float largest = 0;
    for (float value : buffer) {
        largest = std::max(largest, std::fabs(value));
    }
    if (largest > 0) {
        for (float& value : buffer) {
            value *= peak / largest;
        }
    }
}

void saturate(Buffer& buffer, float drive) {
    for (float& value : buffer) {
        value = std::tanh(value * drive) / std::tanh(drive);
    }
}

namespace {

bool writeFile(const std::string& path, const Buffer& buffer, int format, double quality) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        std::fprintf(stderr, "could not write %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    if (quality >= 0) {
        sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof(quality));
    }
    // Clip rather than wrap if a mix ever exceeds full scale.
    int clip = SF_TRUE;
    sf_command(file, SFC_SET_CLIPPING, nullptr, clip);
    const sf_count_t frames = static_cast<sf_count_t>(buffer.size());
    const bool ok = sf_writef_float(file, buffer.data(), frames) == frames;
    sf_close(file);
    if (!ok) {
        std::fprintf(stderr, "short write to %s\n", path.c_str());
    }
    return ok;
}

} // namespace

bool writeWav(const std::string& path, const Buffer& buffer) {
    return writeFile(path, buffer, SF_FORMAT_WAV | SF_FORMAT_PCM_16, -1);
}

bool writeOggVorbis(const std::string& path, const Buffer& buffer, double quality) {
    return writeFile(path, buffer, SF_FORMAT_OGG | SF_FORMAT_VORBIS, quality);
}

} // namespace synth
