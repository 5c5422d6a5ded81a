#include "audio/peak_kernels.h"

#include <algorithm>

#include "audio/peak_pyramid.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QUILLEX_HAVE_AVX2_PATH 1
#endif

namespace quillex {

namespace {

// Portable versions; they also finish the tails the vector loops leave.

template <int Channels>
void blockRangesPlain(const std::int16_t* frames, std::size_t blockFrames, std::size_t blocks,
                      BlockRangesOut out) {
    for (std::size_t b = 0; b < blocks; ++b) {
        std::int16_t leftMin = 0, leftMax = 0, rightMin = 0, rightMax = 0;
        for (std::size_t i = b * blockFrames; i < (b + 1) * blockFrames; ++i) {
            const std::int16_t l = frames[i * Channels], r = frames[i * Channels + Channels - 1];
            leftMin = std::min(leftMin, l);
            leftMax = std::max(leftMax, l);
            rightMin = std::min(rightMin, r);
            rightMax = std::max(rightMax, r);
        }
        // Reducing keeps the order of values, so the reduced extremes are the
        // extremes of the reduced samples.
        out.leftMin[b] = reduceSample16(leftMin);
        out.leftMax[b] = reduceSample16(leftMax);
        out.rightMin[b] = reduceSample16(rightMin);
        out.rightMax[b] = reduceSample16(rightMax);
    }
}

void pairRangesPlain(const std::int8_t* __restrict in, std::int8_t* __restrict outMin,
                     std::int8_t* __restrict outMax, std::size_t count) {
    for (std::size_t j = 0; j < count; ++j) {
        outMin[j] = std::min({in[2 * j], in[2 * j + 1], std::int8_t{0}});
        outMax[j] = std::max({in[2 * j], in[2 * j + 1], std::int8_t{0}});
    }
}

void pairMinimaPlain(const std::int8_t* __restrict in, std::int8_t* __restrict out,
                     std::size_t count) {
    for (std::size_t j = 0; j < count; ++j)
        out[j] = std::min(in[2 * j], in[2 * j + 1]);
}

void pairMaximaPlain(const std::int8_t* __restrict in, std::int8_t* __restrict out,
                     std::size_t count) {
    for (std::size_t j = 0; j < count; ++j)
        out[j] = std::max(in[2 * j], in[2 * j + 1]);
}

#ifdef QUILLEX_HAVE_AVX2_PATH

#define QUILLEX_AVX2 __attribute__((target("avx2")))

bool haveAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// x / 256 truncated toward zero for sixteen 16-bit samples: negative values get 255
// added before the arithmetic shift.
QUILLEX_AVX2 __m256i divideBy256(__m256i x) {
    const __m256i bias = _mm256_srli_epi16(_mm256_srai_epi16(x, 15), 8);
    return _mm256_srai_epi16(_mm256_add_epi16(x, bias), 8);
}

template <bool Minima> QUILLEX_AVX2 __m256i extreme16(__m256i a, __m256i b) {
    return Minima ? _mm256_min_epi16(a, b) : _mm256_max_epi16(a, b);
}

// Eight vectors, each holding eight (left, right) 16-bit pairs of one block, folded
// into one whose 32-bit lane b holds block b's extremes: neighbouring vectors are
// interleaved and folded three times, halving the pairs per block each time.
template <bool Minima> QUILLEX_AVX2 __m256i extremesAcross(const __m256i* v) {
    __m256i quarter[4], half[2];
    for (int i = 0; i < 4; ++i)
        quarter[i] = extreme16<Minima>(_mm256_unpacklo_epi32(v[2 * i], v[2 * i + 1]),
                                       _mm256_unpackhi_epi32(v[2 * i], v[2 * i + 1]));
    for (int i = 0; i < 2; ++i)
        half[i] = extreme16<Minima>(_mm256_unpacklo_epi64(quarter[2 * i], quarter[2 * i + 1]),
                                    _mm256_unpackhi_epi64(quarter[2 * i], quarter[2 * i + 1]));
    return extreme16<Minima>(_mm256_permute2x128_si256(half[0], half[1], 0x20),
                             _mm256_permute2x128_si256(half[0], half[1], 0x31));
}

// Eight blocks of stereo frames per step: each block's registers are folded
// vertically, the eight blocks across their lanes, then 0 joins, the extremes are
// reduced, packed to bytes and sorted into the four outputs.
QUILLEX_AVX2 void blockRangesStereoAvx2(const std::int16_t* frames, std::size_t blockFrames,
                                        std::size_t blocks, BlockRangesOut out) {
    const __m256i zero = _mm256_setzero_si256();
    // Per 128-bit half, after packing: minima L R L R..., maxima L R L R... to
    // minima L..., minima R..., maxima L..., maxima R... (four bytes each).
    const __m256i bySide = _mm256_setr_epi8(0, 2, 4, 6, 1, 3, 5, 7, 8, 10, 12, 14, 9, 11, 13, 15, 0,
                                            2, 4, 6, 1, 3, 5, 7, 8, 10, 12, 14, 9, 11, 13, 15);
    const __m256i halvesTogether = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    const std::size_t registers = blockFrames / 8;
    std::size_t b = 0;
    for (; b + 8 <= blocks; b += 8) {
        __m256i minima[8], maxima[8];
        for (std::size_t j = 0; j < 8; ++j) {
            const auto* p = reinterpret_cast<const __m256i*>(frames + 2 * (b + j) * blockFrames);
            minima[j] = maxima[j] = _mm256_loadu_si256(p);
            for (std::size_t r = 1; r < registers; ++r) {
                const __m256i x = _mm256_loadu_si256(p + r);
                minima[j] = _mm256_min_epi16(minima[j], x);
                maxima[j] = _mm256_max_epi16(maxima[j], x);
            }
        }
        const __m256i low = divideBy256(_mm256_min_epi16(extremesAcross<true>(minima), zero));
        const __m256i high = divideBy256(_mm256_max_epi16(extremesAcross<false>(maxima), zero));
        const __m256i sorted = _mm256_permutevar8x32_epi32(
            _mm256_shuffle_epi8(_mm256_packs_epi16(low, high), bySide), halvesTogether);
        const __m128i mins = _mm256_castsi256_si128(sorted);
        const __m128i maxs = _mm256_extracti128_si256(sorted, 1);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out.leftMin + b), mins);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out.rightMin + b),
                         _mm_unpackhi_epi64(mins, mins));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out.leftMax + b), maxs);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out.rightMax + b),
                         _mm_unpackhi_epi64(maxs, maxs));
    }
    blockRangesPlain<2>(frames + 2 * b * blockFrames, blockFrames, blocks - b,
                        {out.leftMin + b, out.leftMax + b, out.rightMin + b, out.rightMax + b});
}

// The even and odd bytes of 32 entries, sign-extended to 16 bits.
QUILLEX_AVX2 __m256i evenBytes(__m256i x) {
    return _mm256_srai_epi16(_mm256_slli_epi16(x, 8), 8);
}
QUILLEX_AVX2 __m256i oddBytes(__m256i x) {
    return _mm256_srai_epi16(x, 8);
}
// Back to 32 bytes in order from two vectors of 16-bit results.
QUILLEX_AVX2 __m256i packInOrder(__m256i lo, __m256i hi) {
    return _mm256_permute4x64_epi64(_mm256_packs_epi16(lo, hi), 0xd8);
}

QUILLEX_AVX2 void pairRangesAvx2(const std::int8_t* in, std::int8_t* outMin, std::int8_t* outMax,
                                 std::size_t count) {
    const __m256i zero = _mm256_setzero_si256();
    std::size_t j = 0;
    for (; j + 32 <= count; j += 32) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 2 * j));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 2 * j + 32));
        const __m256i xe = evenBytes(x), xo = oddBytes(x), ye = evenBytes(y), yo = oddBytes(y);
        const __m256i lo = packInOrder(_mm256_min_epi16(_mm256_min_epi16(xe, xo), zero),
                                       _mm256_min_epi16(_mm256_min_epi16(ye, yo), zero));
        const __m256i hi = packInOrder(_mm256_max_epi16(_mm256_max_epi16(xe, xo), zero),
                                       _mm256_max_epi16(_mm256_max_epi16(ye, yo), zero));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(outMin + j), lo);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(outMax + j), hi);
    }
    pairRangesPlain(in + 2 * j, outMin + j, outMax + j, count - j);
}

template <bool Minima>
QUILLEX_AVX2 void pairOneSideAvx2(const std::int8_t* in, std::int8_t* out, std::size_t count) {
    std::size_t j = 0;
    for (; j + 32 <= count; j += 32) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 2 * j));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 2 * j + 32));
        const __m256i a = Minima ? _mm256_min_epi16(evenBytes(x), oddBytes(x))
                                 : _mm256_max_epi16(evenBytes(x), oddBytes(x));
        const __m256i b = Minima ? _mm256_min_epi16(evenBytes(y), oddBytes(y))
                                 : _mm256_max_epi16(evenBytes(y), oddBytes(y));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + j), packInOrder(a, b));
    }
    if (Minima)
        pairMinimaPlain(in + 2 * j, out + j, count - j);
    else
        pairMaximaPlain(in + 2 * j, out + j, count - j);
}

#endif

} // namespace

void blockRangesFrames16(const std::int16_t* frames, int channels, std::size_t blockFrames,
                         std::size_t blocks, BlockRangesOut out) {
    if (channels == 1)
        return blockRangesPlain<1>(frames, blockFrames, blocks, out);
#ifdef QUILLEX_HAVE_AVX2_PATH
    if (haveAvx2())
        return blockRangesStereoAvx2(frames, blockFrames, blocks, out);
#endif
    blockRangesPlain<2>(frames, blockFrames, blocks, out);
}

void pairRangesWithZero(const std::int8_t* in, std::int8_t* outMin, std::int8_t* outMax,
                        std::size_t count) {
#ifdef QUILLEX_HAVE_AVX2_PATH
    if (haveAvx2())
        return pairRangesAvx2(in, outMin, outMax, count);
#endif
    pairRangesPlain(in, outMin, outMax, count);
}

void pairMinima(const std::int8_t* in, std::int8_t* out, std::size_t count) {
#ifdef QUILLEX_HAVE_AVX2_PATH
    if (haveAvx2())
        return pairOneSideAvx2<true>(in, out, count);
#endif
    pairMinimaPlain(in, out, count);
}

void pairMaxima(const std::int8_t* in, std::int8_t* out, std::size_t count) {
#ifdef QUILLEX_HAVE_AVX2_PATH
    if (haveAvx2())
        return pairOneSideAvx2<false>(in, out, count);
#endif
    pairMaximaPlain(in, out, count);
}

} // namespace quillex
