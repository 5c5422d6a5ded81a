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
    const std::int8_t* l = one.leftMax.data();
    const std::int8_t* r = one.rightMax.data();
    for (std::size_t j = have; j < target; ++j) {
        const std::int8_t l0 = l[2 * j], l1 = l[2 * j + 1];
        const std::int8_t r0 = r[2 * j], r1 = r[2 * j + 1];
        two.leftMin[j] = std::min<std::int8_t>({0, l0, l1});
        two.leftMax[j] = std::max<std::int8_t>({0, l0, l1});
        two.rightMin[j] = std::min<std::int8_t>({0, r0, r1});
        two.rightMax[j] = std::max<std::int8_t>({0, r0, r1});
    }
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
    for (std::size_t j = have; j < target; ++j) {
        level.leftMin[j] = std::min(below.leftMin[2 * j], below.leftMin[2 * j + 1]);
        level.leftMax[j] = std::max(below.leftMax[2 * j], below.leftMax[2 * j + 1]);
        level.rightMin[j] = std::min(below.rightMin[2 * j], below.rightMin[2 * j + 1]);
        level.rightMax[j] = std::max(below.rightMax[2 * j], below.rightMax[2 * j + 1]);
    }
}

std::size_t PeakPyramid::memoryBytes() const {
    std::size_t bytes = 0;
    for (const Level& l : levels_)
        bytes += l.leftMin.capacity() + l.leftMax.capacity() + l.rightMin.capacity() +
                 l.rightMax.capacity();
    return bytes;
}

} // namespace quillex
