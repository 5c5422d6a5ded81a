#include <gtest/gtest.h>

#include <algorithm>

#include "items/item_list.h"
#include "items/list_diff.h"

namespace quillex {
namespace {

using Items = ItemList::Items;

Items numbered(int from, int count) {
    Items items(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        items[static_cast<std::size_t>(i)].beat = from + i;
    return items;
}

std::size_t bruteFront(const Items& a, const Items& b) {
    std::size_t n = 0;
    while (n < std::min(a.size(), b.size()) && a[n] == b[n])
        ++n;
    return n;
}

std::size_t bruteBack(const Items& a, const Items& b) {
    std::size_t n = 0;
    while (n < std::min(a.size(), b.size()) && a[a.size() - 1 - n] == b[b.size() - 1 - n])
        ++n;
    return n;
}

// Splices at and across chunk boundaries, a chunk grown past its limit and emptied, one
// item written in place: after each the list reads like the same edit of a vector, a
// copy taken before it is unchanged, and the equal front and back found a chunk at a
// time match an item-by-item count.
TEST(ItemList, SplicesReadLikeVectorEditsAndLeaveCopiesAlone) {
    constexpr std::size_t kCut = ItemList::kMaxChunk / 2;
    struct Step {
        const char* what;
        std::size_t first, last;
        int count; // items inserted, numbered from 100000
    };
    const Step steps[] = {
        {"insert at the front", 0, 0, 1},
        {"insert before a chunk's first item", kCut, kCut, 2},
        {"replace a chunk's last item", 2 * kCut, 2 * kCut + 1, 1},
        {"erase across a boundary", kCut - 5, kCut + 5, 0},
        {"grow one chunk past its limit", 3 * kCut + 7, 3 * kCut + 7, 3000},
        {"erase a whole chunk and more", kCut, 3 * kCut + 3, 0},
        {"append", 0, 0, 5}, // first and last taken as the end
        {"erase everything", 0, 0, 0},
    };
    Items expected = numbered(0, 10000);
    ItemList list;
    list.replace(expected);
    list.rechunk();
    ASSERT_GT(list.chunkCount(), 1u);
    int next = 100000;
    for (const Step& step : steps) {
        const bool atEnd = std::string_view(step.what) == "append";
        const bool all = std::string_view(step.what) == "erase everything";
        const std::size_t first = atEnd ? expected.size() : step.first;
        const std::size_t last = atEnd ? expected.size() : all ? expected.size() : step.last;
        const Items with = numbered(next, step.count);
        next += step.count;
        const ItemList before = list;
        const Items old = expected;
        list.splice(first, last, with);
        expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(first),
                       expected.begin() + static_cast<std::ptrdiff_t>(last));
        expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(first), with.begin(),
                        with.end());
        EXPECT_EQ(list, expected) << step.what;
        EXPECT_EQ(before, old) << step.what;
        EXPECT_TRUE(std::equal(list.rbegin(), list.rend(), expected.rbegin(), expected.rend()))
            << step.what;
        if (!expected.empty()) {
            const std::size_t middle = expected.size() / 2;
            EXPECT_EQ((list.begin() + static_cast<std::ptrdiff_t>(middle))->beat,
                      expected[middle].beat)
                << step.what;
            EXPECT_EQ(list.back().beat, expected.back().beat) << step.what;
        }
        for (std::size_t c = 0; c < list.chunkCount(); ++c)
            EXPECT_LE(list.chunk(c).size(), ItemList::kMaxChunk) << step.what;
        EXPECT_EQ(equalFront(list, before, expected.size()), bruteFront(expected, old))
            << step.what;
        EXPECT_EQ(equalBack(list, before, expected.size()), bruteBack(expected, old)) << step.what;
    }

    list.replace(numbered(0, 10000));
    list.rechunk();
    const ItemList copy = list;
    list.editAt(5000).column = 3;
    EXPECT_EQ(copy[5000].column, 0);
    EXPECT_EQ(list[5000].column, 3);
    std::size_t shared = 0;
    for (std::size_t c = 0; c < list.chunkCount(); ++c)
        shared += list.sharesChunk(c, copy, c) ? 1 : 0;
    EXPECT_EQ(shared, list.chunkCount() - 1); // only the written chunk was copied
}

} // namespace
} // namespace quillex
