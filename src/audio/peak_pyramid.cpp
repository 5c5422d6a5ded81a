#include "audio/peak_pyramid.h"

#include <algorithm>

namespace quillex {

namespace {

// Entries a level needs for `frames` samples.
std::size_t entriesFor(std::size_t frames, int k) {
    return frames == 0 ? 0 : (frames - 1) / static_cast<std::size_t>(kLevelBlockSizes[k]);
}

} // namespace

void PeakPyramid::clear() {
    for (Level& l : levels_) {
        for (auto* a : {&l.leftMin, &l.leftMax, &l.rightMin, &l.rightMax}) {
            a->clear();
            a->shrink_to_fit();
        }
    }
}

void PeakPyramid::reserve(std::size_t frames) {
    levels_[1].leftMax.reserve(frames);
    levels_[1].rightMax.reserve(frames);
    for (int k = 2; k < kPeakLevels; ++k) {
        const std::size_t n = entriesFor(frames, k);
        Level& l = levels_[k];
        for (auto* a : {&l.leftMin, &l.leftMax, &l.rightMin, &l.rightMax})
            a->reserve(n);
    }
}

void PeakPyramid::append(const std::int8_t* left, const std::int8_t* right, std::size_t count) {
    Level& one = levels_[1];
    one.leftMax.insert(one.leftMax.end(), left, left + count);
    one.rightMax.insert(one.rightMax.end(), right, right + count);
    extendHigherLevels();
}

namespace {

// The hot loops are built twice, for AVX2 and for any x86-64, and the better one is
// picked when the program loads.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define QUILLEX_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define QUILLEX_VECTOR_CLONES
#endif

// Fixed strides, so the loop vectorises.
template <int Channels>
QUILLEX_VECTOR_CLONES void splitFrames(const std::int16_t* frames, std::size_t count,
                                       std::int8_t* left, std::int8_t* right) {
    for (std::size_t i = 0; i < count; ++i) {
        left[i] = reduceSample16(frames[i * Channels]);
        right[i] = reduceSample16(frames[i * Channels + Channels - 1]);
    }
}

} // namespace

void PeakPyramid::appendFrames16(const std::int16_t* frames, int channels, std::size_t count) {
    Level& one = levels_[1];
    const std::size_t at = one.leftMax.size();
    one.leftMax.resize(at + count);
    one.rightMax.resize(at + count);
    if (channels == 2)
        splitFrames<2>(frames, count, one.leftMax.data() + at, one.rightMax.data() + at);
    else
        splitFrames<1>(frames, count, one.leftMax.data() + at, one.rightMax.data() + at);
    extendHigherLevels();
}

void PeakPyramid::extendHigherLevels() {
    extendLevel2();
    for (int k = 3; k < kPeakLevels; ++k)
        extendLevel(k);
}

namespace {

// out[j] = the smaller / larger of in[2j] and in[2j + 1], and of 0 when `withZero`.
// Plain loops over one array each, so the compiler can vectorise them.
QUILLEX_VECTOR_CLONES void pairMinima(const std::int8_t* in, std::int8_t* out, std::size_t from,
                                      std::size_t to, bool withZero) {
    const std::int8_t floor = withZero ? 0 : 127;
    for (std::size_t j = from; j < to; ++j)
        out[j] = std::min(std::min(in[2 * j], in[2 * j + 1]), floor);
}
QUILLEX_VECTOR_CLONES void pairMaxima(const std::int8_t* in, std::int8_t* out, std::size_t from,
                                      std::size_t to, bool withZero) {
    const std::int8_t ceiling = withZero ? 0 : -128;
    for (std::size_t j = from; j < to; ++j)
        out[j] = std::max(std::max(in[2 * j], in[2 * j + 1]), ceiling);
}

} // namespace

// Level 2 pairs the samples themselves. The running values of a block start at 0,
// so 0 takes part in every minimum and maximum.
void PeakPyramid::extendLevel2() {
    const Level& one = levels_[1];
    Level& two = levels_[2];
    const std::size_t target = entriesFor(one.leftMax.size(), 2);
    const std::size_t have = two.size();
    if (target <= have)
        return;
    for (auto* a : {&two.leftMin, &two.leftMax, &two.rightMin, &two.rightMax})
        a->resize(target);
    pairMinima(one.leftMax.data(), two.leftMin.data(), have, target, true);
    pairMaxima(one.leftMax.data(), two.leftMax.data(), have, target, true);
    pairMinima(one.rightMax.data(), two.rightMin.data(), have, target, true);
    pairMaxima(one.rightMax.data(), two.rightMax.data(), have, target, true);
}

// A block of level k is exactly two neighbouring blocks of level k - 1 (blocks start
// at multiples of their size), so its extremes are the extremes of that pair.
void PeakPyramid::extendLevel(int k) {
    const Level& below = levels_[k - 1];
    Level& level = levels_[k];
    const std::size_t target = below.size() / 2;
    const std::size_t have = level.size();
    if (target <= have)
        return;
    for (auto* a : {&level.leftMin, &level.leftMax, &level.rightMin, &level.rightMax})
        a->resize(target);
    pairMinima(below.leftMin.data(), level.leftMin.data(), have, target, false);
    pairMaxima(below.leftMax.data(), level.leftMax.data(), have, target, false);
    pairMinima(below.rightMin.data(), level.rightMin.data(), have, target, false);
    pairMaxima(below.rightMax.data(), level.rightMax.data(), have, target, false);
}

std::size_t PeakPyramid::memoryBytes() const {
    std::size_t bytes = 0;
    for (const Level& l : levels_)
        bytes += l.leftMin.capacity() + l.leftMax.capacity() + l.rightMin.capacity() +
                 l.rightMax.capacity();
    return bytes;
}

} // namespace quillex
