// The wave filter's settings and its fixed coefficient tables. The tables are designed
// for 44100 Hz whatever the music's rate, so a strength always means the same filter.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace quillex {

// What the Wave Filter dialog edits. The defaults are what its Defaults button sets.
struct WaveFilterSettings {
    bool enabled = true;
    bool lowPass = false;       // else high-pass
    bool finite = false;        // finite impulse response, else infinite
    int strength = 10;          // 1..10
    bool filteredAlone = false; // draw the filtered wave without the original
    bool rescale = true;        // stretch each filtered channel to full scale

    // Low-pass counts down from -1, high-pass up from 1.
    int signedStrength() const { return lowPass ? -strength : strength; }
    friend bool operator==(const WaveFilterSettings&, const WaveFilterSettings&) = default;
};

inline constexpr int kMinFilterStrength = 1;
inline constexpr int kMaxFilterStrength = 10;
// The strength text beside the track bar.
std::string filterStrengthText(int strength);

inline constexpr int kFirTaps = 65;
inline constexpr int kFirCentre = 32;

// Cutoff in Hz of a signed strength: low-pass -s is (11 - s) x 100 Hz, high-pass runs
// from 1 kHz to 16 kHz. -11 (60 Hz) exists for the infinite response only. Nothing for
// any other value.
std::optional<double> filterCutoff(int signedStrength, bool finite);

// Hamming-windowed sinc taps, normalised to gain 1 at 0 Hz (low-pass) or at half the
// sample rate (high-pass).
std::optional<std::array<double, kFirTaps>> firTaps(int signedStrength);

// One second-order Butterworth section from the bilinear transform:
// y[i] = b0 x[i] + b1 x[i+1] + b2 x[i+2] - a1 y[i-1] - a2 y[i-2].
struct Biquad {
    double b0, b1, b2, a1, a2;
};
std::optional<Biquad> iirSection(int signedStrength);

} // namespace quillex
