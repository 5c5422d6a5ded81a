#include "items/list_diff.h"

#include <algorithm>
#include <cstring>

namespace quillex {

namespace {

// How many items from `a` and `b` on, stepping by `step` (1 or -1), are equal, up to
// `most`. Runs of identical bytes are skipped a block at a time, which is most of a
// chunk after a small edit; equal items whose bytes differ (padding) are still found
// equal item by item.
std::size_t equalRun(const EditItem* a, const EditItem* b, std::size_t most, std::ptrdiff_t step) {
    constexpr std::size_t kBlock = 64;
    std::size_t n = 0;
    while (n < most) {
        const std::size_t block = std::min(kBlock, most - n);
        const auto first =
            step > 0 ? static_cast<std::ptrdiff_t>(n) : -static_cast<std::ptrdiff_t>(n + block - 1);
        if (std::memcmp(a + first, b + first, block * sizeof(EditItem)) == 0) {
            n += block;
            continue;
        }
        for (const std::size_t end = n + block; n < end; ++n) {
            const auto at = static_cast<std::ptrdiff_t>(n) * step;
            if (!(a[at] == b[at]))
                return n;
        }
    }
    return n;
}

// A position in a list counted a chunk at a time: the chunk and how many of its items
// were passed (from its front or from its back, as the walk goes).
struct ChunkCursor {
    const ItemList& list;
    std::size_t chunk;
    std::size_t passed = 0;

    std::size_t left() const { return list.chunk(chunk).size() - passed; }
    void pass(std::size_t n, std::ptrdiff_t step) {
        passed += n;
        if (passed == list.chunk(chunk).size()) {
            chunk += static_cast<std::size_t>(step);
            passed = 0;
        }
    }
};

std::size_t equalRunOfLists(const ItemList& a, const ItemList& b, std::size_t most,
                            std::ptrdiff_t step) {
    const bool forward = step > 0;
    ChunkCursor x{a, forward ? 0 : a.chunkCount() - 1};
    ChunkCursor y{b, forward ? 0 : b.chunkCount() - 1};
    std::size_t n = 0;
    while (n < most) {
        const std::size_t whole = a.chunk(x.chunk).size();
        if (x.passed == 0 && y.passed == 0 && a.sharesChunk(x.chunk, b, y.chunk) &&
            whole <= most - n) {
            n += whole;
            x.pass(whole, step);
            y.pass(whole, step);
            continue;
        }
        const std::size_t span = std::min({x.left(), y.left(), most - n});
        const auto at = [forward](std::span<const EditItem> chunk, std::size_t passed) {
            return forward ? chunk.data() + passed : chunk.data() + chunk.size() - 1 - passed;
        };
        const std::size_t run =
            equalRun(at(a.chunk(x.chunk), x.passed), at(b.chunk(y.chunk), y.passed), span, step);
        n += run;
        if (run < span)
            break;
        x.pass(run, step);
        y.pass(run, step);
    }
    return n;
}

} // namespace

std::size_t equalFront(const ItemList& a, const ItemList& b, std::size_t most) {
    return equalRunOfLists(a, b, std::min({most, a.size(), b.size()}), 1);
}

std::size_t equalBack(const ItemList& a, const ItemList& b, std::size_t most) {
    return equalRunOfLists(a, b, std::min({most, a.size(), b.size()}), -1);
}

} // namespace quillex
