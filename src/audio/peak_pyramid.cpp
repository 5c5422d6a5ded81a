#include "audio/peak_pyramid.h"

#include <algorithm>
#include <utility>

#include "audio/peak_kernels.h"

namespace quillex {

namespace {

static_assert(kFirstStoredLevel >= 3 && kFirstStoredLevel < kPeakLevels);

constexpr auto kFirstStoredBlock = static_cast<std::size_t>(kLevelBlockSizes[kFirstStoredLevel]);
static_assert(kFirstStoredBlock % 8 == 0);
// Blocks of the first stored level folded per step: the levels in between live in two
// small buffers on the stack, which stay in the cache.
constexpr std::size_t kSliceBlocks = 128;
constexpr std::size_t kSliceEntries = kSliceBlocks * kFirstStoredBlock / 2;

std::size_t blockSize(int k) {
    return static_cast<std::size_t>(kLevelBlockSizes[static_cast<std::size_t>(k)]);
}

// The extremes of `count` samples of each channel, 0 included; `reduce` turns the
// extremes into the bytes shown (it keeps the order of values, so reducing the
// extremes gives the extremes of the reduced samples).
template <class Sample, class Reduce>
PeakRange blockExtremes(const Sample* left, const Sample* right, std::size_t stride,
                        std::size_t count, Reduce reduce) {
    Sample leftMin = 0, leftMax = 0, rightMin = 0, rightMax = 0;
    for (std::size_t i = 0; i < count * stride; i += stride) {
        leftMin = std::min(leftMin, left[i]);
        leftMax = std::max(leftMax, left[i]);
        rightMin = std::min(rightMin, right[i]);
        rightMax = std::max(rightMax, right[i]);
    }
    return {reduce(leftMin), reduce(leftMax), reduce(rightMin), reduce(rightMax)};
}

} // namespace

std::size_t PeakPyramid::blockCount(int k) const {
    if (k < 1 || k >= kPeakLevels || samples_ == 0)
        return 0;
    if (k < kFirstStoredLevel && keptLeft_.empty() && !music_)
        return 0;
    return k == 1 ? samples_ : (samples_ - 1) / blockSize(k);
}

PeakRange PeakPyramid::range(int k, std::size_t block) const {
    if (k < kFirstStoredLevel)
        return fineRange(k, block);
    const Level& l = levels_[static_cast<std::size_t>(k)];
    return {l.leftMin[block], l.leftMax[block], l.rightMin[block], l.rightMax[block]};
}

PeakRange PeakPyramid::fineRange(int k, std::size_t block) const {
    const std::size_t count = blockSize(k), first = block * count;
    if (!keptLeft_.empty())
        return blockExtremes(keptLeft_.data() + first, keptRight_.data() + first, 1, count,
                             [](std::int8_t s) { return s; });
    const auto channels = static_cast<std::size_t>(music_->channels);
    const std::int16_t* frames = music_->samples.data() + first * channels;
    return blockExtremes(frames, frames + channels - 1, channels, count, reduceSample16);
}

void PeakPyramid::clear() {
    for (Level& l : levels_) {
        for (auto* a : {&l.leftMin, &l.leftMax, &l.rightMin, &l.rightMax}) {
            a->clear();
            a->shrink_to_fit();
        }
    }
    for (auto* a : {&keptLeft_, &keptRight_}) {
        a->clear();
        a->shrink_to_fit();
    }
    pendingCount_ = 0;
    music_.reset();
    samples_ = 0;
}

void PeakPyramid::reserve(std::size_t frames) {
    for (int k = kFirstStoredLevel; k < kPeakLevels; ++k) {
        Level& l = levels_[static_cast<std::size_t>(k)];
        for (auto* a : {&l.leftMin, &l.leftMax, &l.rightMin, &l.rightMax})
            a->reserve(frames / blockSize(k));
    }
}

void PeakPyramid::reserveSamples(std::size_t frames) {
    keptLeft_.reserve(frames);
    keptRight_.reserve(frames);
}

std::vector<PeakPyramid::Region> PeakPyramid::regions() const {
    std::vector<Region> out;
    for (const auto* a : {&keptLeft_, &keptRight_})
        if (a->capacity() > 0)
            out.push_back({a->data(), a->capacity(), 1});
    for (int k = kFirstStoredLevel; k < kPeakLevels; ++k) {
        const Level& l = levels_[static_cast<std::size_t>(k)];
        for (const auto* a : {&l.leftMin, &l.leftMax, &l.rightMin, &l.rightMax})
            if (a->capacity() > 0)
                out.push_back({a->data(), a->capacity(), blockSize(k)});
    }
    return out;
}

void PeakPyramid::append(const std::int8_t* left, const std::int8_t* right, std::size_t count) {
    keptLeft_.insert(keptLeft_.end(), left, left + count);
    keptRight_.insert(keptRight_.end(), right, right + count);
    samples_ += count;
    const std::size_t folded = levels_[kFirstStoredLevel].size() * kFirstStoredBlock;
    foldSamples(keptLeft_.data() + folded, keptRight_.data() + folded,
                (samples_ - folded) / kFirstStoredBlock);
}

void PeakPyramid::appendFrames16(const std::int16_t* frames, int channels, std::size_t count) {
    samples_ += count;
    const auto width = static_cast<std::size_t>(channels);
    if (pendingCount_ > 0) {
        const std::size_t take = std::min(kFirstStoredBlock - pendingCount_, count);
        std::copy_n(frames, take * width, pendingFrames_.data() + pendingCount_ * width);
        pendingCount_ += take;
        frames += take * width;
        count -= take;
        if (pendingCount_ < kFirstStoredBlock)
            return;
        foldFrames16(pendingFrames_.data(), channels, 1);
        pendingCount_ = 0;
    }
    const std::size_t blocks = count / kFirstStoredBlock;
    foldFrames16(frames, channels, blocks);
    pendingCount_ = count - blocks * kFirstStoredBlock;
    std::copy_n(frames + blocks * kFirstStoredBlock * width, pendingCount_ * width,
                pendingFrames_.data());
}

void PeakPyramid::readSamplesFrom(std::shared_ptr<const PcmData> music) {
    if (!keptLeft_.empty() || !music || music->frames() < static_cast<std::int64_t>(samples_))
        return;
    music_ = std::move(music);
}

std::size_t PeakPyramid::growFirstStoredLevel(std::size_t blocks) {
    Level& first = levels_[kFirstStoredLevel];
    const std::size_t at = first.size();
    for (auto* a : {&first.leftMin, &first.leftMax, &first.rightMin, &first.rightMax})
        a->resize(at + blocks);
    return at;
}

void PeakPyramid::foldFrames16(const std::int16_t* frames, int channels, std::size_t blocks) {
    const std::size_t at = growFirstStoredLevel(blocks);
    Level& first = levels_[kFirstStoredLevel];
    blockRangesFrames16(frames, channels, kFirstStoredBlock, blocks,
                        {first.leftMin.data() + at, first.leftMax.data() + at,
                         first.rightMin.data() + at, first.rightMax.data() + at});
    extendHigherLevels();
}

// Level 2 pairs the samples themselves (the running values of a block start at 0, so
// 0 takes part in every minimum and maximum); each level up to the first stored one
// pairs the entries of the level below, slice by slice in two small buffers.
void PeakPyramid::foldSamples(const std::int8_t* left, const std::int8_t* right,
                              std::size_t blocks) {
    const std::size_t at = growFirstStoredLevel(blocks);
    Level& first = levels_[kFirstStoredLevel];
    using Entries = std::array<std::array<std::int8_t, kSliceEntries>, 4>;
    Entries even, odd;
    for (std::size_t done = 0; done < blocks; done += kSliceBlocks) {
        const std::size_t n = std::min(kSliceBlocks, blocks - done);
        std::size_t entries = n * kFirstStoredBlock / 2;
        pairRangesWithZero(left + done * kFirstStoredBlock, even[0].data(), even[1].data(),
                           entries);
        pairRangesWithZero(right + done * kFirstStoredBlock, even[2].data(), even[3].data(),
                           entries);
        Entries* from = &even;
        Entries* to = &odd;
        for (int k = 3; k <= kFirstStoredLevel; ++k) {
            entries /= 2;
            std::array<std::int8_t*, 4> out = {(*to)[0].data(), (*to)[1].data(), (*to)[2].data(),
                                               (*to)[3].data()};
            if (k == kFirstStoredLevel)
                out = {first.leftMin.data() + at + done, first.leftMax.data() + at + done,
                       first.rightMin.data() + at + done, first.rightMax.data() + at + done};
            pairMinima((*from)[0].data(), out[0], entries);
            pairMaxima((*from)[1].data(), out[1], entries);
            pairMinima((*from)[2].data(), out[2], entries);
            pairMaxima((*from)[3].data(), out[3], entries);
            std::swap(from, to);
        }
    }
    extendHigherLevels();
}

void PeakPyramid::extendHigherLevels() {
    for (int k = kFirstStoredLevel + 1; k < kPeakLevels; ++k)
        extendLevel(k);
}

// A block of level k is exactly two neighbouring blocks of level k - 1 (blocks start
// at multiples of their size), so its extremes are the extremes of that pair.
void PeakPyramid::extendLevel(int k) {
    const Level& below = levels_[static_cast<std::size_t>(k - 1)];
    Level& level = levels_[static_cast<std::size_t>(k)];
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
    std::size_t bytes = keptLeft_.capacity() + keptRight_.capacity();
    for (const Level& l : levels_)
        bytes += l.leftMin.capacity() + l.leftMax.capacity() + l.rightMin.capacity() +
                 l.rightMax.capacity();
    return bytes;
}

} // namespace quillex
