// The per-sample loops of the peak pyramid: folding blocks of 16-bit frames into each
// channel's extremes, and pairs of entries into the next level's extremes.
// On x86-64 machines with AVX2 hand-vectorised versions are picked at run time; other
// machines get plain loops the compiler vectorises as far as it can.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillex {

// For each of `blocks` blocks of `blockFrames` frames (a multiple of 8): the smallest
// and largest sample of each channel, 0 included, divided by 256 and truncated toward
// zero. `channels` is 1 or 2 (mono gives both sides the one channel).
struct BlockRangesOut {
    std::int8_t* leftMin;
    std::int8_t* leftMax;
    std::int8_t* rightMin;
    std::int8_t* rightMax;
};
void blockRangesFrames16(const std::int16_t* frames, int channels, std::size_t blockFrames,
                         std::size_t blocks, BlockRangesOut out);

// For j in [0, count): outMin[j] / outMax[j] = the smaller / larger of in[2j], in[2j + 1]
// and 0. One pass gives both, so `in` is read once.
void pairRangesWithZero(const std::int8_t* in, std::int8_t* outMin, std::int8_t* outMax,
                        std::size_t count);

// out[j] = the smaller / larger of in[2j] and in[2j + 1]: a level's minima or maxima
// from the level below.
void pairMinima(const std::int8_t* in, std::int8_t* out, std::size_t count);
void pairMaxima(const std::int8_t* in, std::int8_t* out, std::size_t count);

} // namespace quillex
