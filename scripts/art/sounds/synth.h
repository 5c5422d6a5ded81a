// A tiny synthesiser for the shipped sounds: mono float buffers at 44100 Hz, decaying
// sines with a pitch glide, filtered noise bursts, and writers for 16-bit WAV and
// Ogg Vorbis through libsndfile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace synth {

constexpr int sampleRate = 44100;

using Buffer = std::vector<float>;

// Sample index of a time in seconds (rounded to the nearest sample).
int64_t sampleAt(double seconds);

struct Tone {
    double frequency = 440;    // Hz at the start
    double endFrequency = 440; // Hz reached (exponentially) at the end
    double seconds = 0.1;      // length
    double amplitude = 0.5;
    double decay = 10;     // amplitude falls as exp(-decay * t)
    double attack = 0.001; // seconds of linear rise
    int harmonics = 1;     // odd harmonics 1/k added for a hollower, brighter tone
};

struct Noise {
    double seconds = 0.1;
    double amplitude = 0.5;
    double decay = 20;
    double lowpass = 1.0;  // one-pole smoothing, 1 = none, smaller = darker
    double highpass = 0.0; // 0 = none; 0.9 keeps only the hiss
    uint32_t seed = 1;
};

// Adds a sound into the buffer from a start sample, growing the buffer as needed. Every
// sound ends with a short fade so that nothing clicks where it stops.
void addTone(Buffer& buffer, int64_t start, const Tone& tone);
void addNoise(Buffer& buffer, int64_t start, const Noise& noise);

// Scales the buffer so its largest magnitude is peak.
void normalise(Buffer& buffer, float peak);

// Soft saturation for a little grit.
void saturate(Buffer& buffer, float drive);

// Writes mono 16-bit PCM WAV / Ogg Vorbis (quality 0..1). False on failure, with a note
// on standard error.
bool writeWav(const std::string& path, const Buffer& buffer);
bool writeOggVorbis(const std::string& path, const Buffer& buffer, double quality);

} // namespace synth
