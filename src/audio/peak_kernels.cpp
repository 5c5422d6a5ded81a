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
void reduceFramesPlain(const std::int16_t* __restrict frames, std::size_t count,
                       std::int8_t* __restrict left, std::int8_t* __restrict right) {
    for (std::size_t i = 0; i < count; ++i) {
        left[i] = reduceSample16(frames[i * Channels]);
        right[i] = reduceSample16(frames[i * Channels + Channels - 1]);
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

// Sixteen stereo frames per step: reduce, separate the channels with two saturating
// packs (values already fit a byte, so nothing saturates), then put the 4-byte groups
// back in frame order.
QUILLEX_AVX2 void reduceStereoAvx2(const std::int16_t* frames, std::size_t count, std::int8_t* left,
                                   std::int8_t* right) {
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i a =
            divideBy256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(frames + 2 * i)));
        const __m256i b =
            divideBy256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(frames + 2 * i + 16)));
        const __m256i l = _mm256_packs_epi32(_mm256_srai_epi32(_mm256_slli_epi32(a, 16), 16),
                                             _mm256_srai_epi32(_mm256_slli_epi32(b, 16), 16));
        const __m256i r = _mm256_packs_epi32(_mm256_srai_epi32(a, 16), _mm256_srai_epi32(b, 16));
        const __m256i lr = _mm256_permutevar8x32_epi32(_mm256_packs_epi16(l, r), order);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(left + i), _mm256_castsi256_si128(lr));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(right + i), _mm256_extracti128_si256(lr, 1));
    }
    reduceFramesPlain<2>(frames + 2 * i, count - i, left + i, right + i);
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

void reduceFrames16(const std::int16_t* frames, int channels, std::size_t count, std::int8_t* left,
                    std::int8_t* right) {
    if (channels == 1)
        return reduceFramesPlain<1>(frames, count, left, right);
#ifdef QUILLEX_HAVE_AVX2_PATH
    if (haveAvx2())
        return reduceStereoAvx2(frames, count, left, right);
#endif
    reduceFramesPlain<2>(frames, count, left, right);
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
