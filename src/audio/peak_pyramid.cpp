#include "audio/peak_pyramid.h"

#include <algorithm>

#include "audio/peak_kernels.h"

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

std::vector<PeakPyramid::Region> PeakPyramid::regions() const {
    std::vector<Region> out;
    for (int k = 1; k < kPeakLevels; ++k) {
        const Level& l = levels_[k];
        const auto block = static_cast<std::size_t>(kLevelBlockSizes[k]);
        for (const auto* a : {&l.leftMin, &l.leftMax, &l.rightMin, &l.rightMax})
            if (a->capacity() > 0)
                out.push_back({a->data(), a->capacity(), block});
    }
    return out;
}

void PeakPyramid::append(const std::int8_t* left, const std::int8_t* right, std::size_t count) {
    Level& one = levels_[1];
    one.leftMax.insert(one.leftMax.end(), left, left + count);
    one.rightMax.insert(one.rightMax.end(), right, right + count);
    extendHigherLevels();
}

void PeakPyramid::appendFrames16(const std::int16_t* frames, int channels, std::size_t count) {
    Level& one = levels_[1];
    const std::size_t at = one.leftMax.size();
    one.leftMax.resize(at + count);
    one.rightMax.resize(at + count);
    reduceFrames16(frames, channels, count, one.leftMax.data() + at, one.rightMax.data() + at);
    extendHigherLevels();
}

void PeakPyramid::extendHigherLevels() {
    extendLevel2();
    for (int k = 3; k < kPeakLevels; ++k)
        extendLevel(k);
}

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
    const std::size_t from = 2 * have, count = target - have;
    pairRangesWithZero(one.leftMax.data() + from, two.leftMin.data() + have,
                       two.leftMax.data() + have, count);
    pairRangesWithZero(one.rightMax.data() + from, two.rightMin.data() + have,
                       two.rightMax.data() + have, count);
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
    const std::size_t from = 2 * have, count = target - have;
    pairMinima(below.leftMin.data() + from, level.leftMin.data() + have, count);
    pairMaxima(below.leftMax.data() + from, level.leftMax.data() + have, count);
    pairMinima(below.rightMin.data() + from, level.rightMin.data() + have, count);
    pairMaxima(below.rightMax.data() + from, level.rightMax.data() + have, count);
}

std::size_t PeakPyramid::memoryBytes() const {
    std::size_t bytes = 0;
    for (const Level& l : levels_)
        bytes += l.leftMin.capacity() + l.leftMax.capacity() + l.rightMin.capacity() +
                 l.rightMax.capacity();
    return bytes;
}

} // namespace quillex
