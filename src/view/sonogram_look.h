// How the spectrogram layer looks: where it sits beside or instead of the wave, and the
// colours of its levels. The colour map runs from dark blue through green to yellow,
// rising in lightness all the way, so it reads the same to people with any kind of
// colour-blindness and in grey; the contrast is the decibel range it spreads over.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "settings/options.h"

namespace quillex {

class WaveView;

struct SpectrogramLook {
    bool besideWave = true;                     // in the left wave band (else across both bands)
    int rangeDb = Options{}.spectrogramRangeDb; // the levels down to this far below the top
};

// The level shown brightest (in dB of a full-scale sine): a loud mix's bins reach it.
inline constexpr double kSpectrogramTopDb = -12.0;

// 0xAARRGGBB of each stored level byte at a range of `rangeDb` decibels.
using SpectrogramPalette = std::array<std::uint32_t, 256>;
SpectrogramPalette spectrogramPalette(int rangeDb);

// The screen columns [left, right) the layer covers.
struct SpectrogramSpan {
    int left, right;
};
SpectrogramSpan spectrogramSpan(const WaveView& wave, bool besideWave);

// A frequency marked along the layer's top edge, so the eye can place what it sees.
struct FrequencyMark {
    int x; // the screen column where the frequency is drawn
    std::string_view label;
};
// The marks of 100 Hz, 1 kHz and 10 kHz over `span` for music at `sampleRate`; a
// frequency above the top band (music of a low rate) has none.
std::vector<FrequencyMark> spectrogramFrequencyMarks(int sampleRate, SpectrogramSpan span);

} // namespace quillex
