// Filtering one channel of the decoded music: the finite response (65 taps, output j
// from inputs j..j+64, the last 65 samples zero) or the infinite one (a Butterworth
// section run forward from the fourth sample, the first three zeroed and the last
// three left as they were), each optionally rescaled to full range. Outputs are
// truncated toward zero and clamped to 16 bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/wave_filter_design.h"

namespace quillex {

enum class FilterResult {
    Done = 0,
    Cancelled = 1,
    Warning = 2, // done, but the infinite response is overdriven or unstable here
    Failed = 3,  // the music is too short or the strength has no filter
};

// How a channel's filtering reports its progress and learns of a cancel.
class FilterProgress {
  public:
    virtual ~FilterProgress() = default;
    // `samples` more are done. False when the run has been cancelled.
    virtual bool advance(std::size_t samples) = 0;
    // The filtered channel is about to be rescaled.
    virtual void scaling() {}
};

inline constexpr std::size_t kMinFiniteSamples = 650;
inline constexpr std::size_t kMinInfiniteSamples = 1024;

// Filters the `n` samples in[0], in[stride], in[2 * stride] ... into out[0 .. n).
// Progress advances by n in all (less when cancelled or failed).
FilterResult filterChannel(const std::int16_t* in, int stride, std::size_t n,
                           const WaveFilterSettings& settings, std::int16_t* out,
                           FilterProgress& progress);

} // namespace quillex
