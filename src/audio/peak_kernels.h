// The per-sample loops of the peak pyramid: splitting 16-bit frames into the two
// channels' signed bytes, and folding pairs of entries into the next level's extremes.
// On x86-64 machines with AVX2 hand-vectorised versions are picked at run time; other
// machines get plain loops the compiler vectorises as far as it can.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillex {

// left[i] and right[i] = frame i's first and last sample divided by 256, truncated
// toward zero. `channels` is 1 or 2 (mono gives both sides the one channel).
void reduceFrames16(const std::int16_t* frames, int channels, std::size_t count, std::int8_t* left,
                    std::int8_t* right);

// For j in [0, count): outMin[j] / outMax[j] = the smaller / larger of in[2j], in[2j + 1]
// and 0. One pass gives both, so `in` is read once.
void pairRangesWithZero(const std::int8_t* in, std::int8_t* outMin, std::int8_t* outMax,
                        std::size_t count);

// out[j] = the smaller / larger of in[2j] and in[2j + 1]: a level's minima or maxima
// from the level below.
void pairMinima(const std::int8_t* in, std::int8_t* out, std::size_t count);
void pairMaxima(const std::int8_t* in, std::int8_t* out, std::size_t count);

} // namespace quillex
