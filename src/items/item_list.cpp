#include "items/item_list.h"

#include <algorithm>

namespace quillex {

namespace {

using Items = ItemList::Items;

// Long runs are cut into chunks of this size, so that each can grow a while before it
// is cut again.
constexpr std::size_t kCutChunk = ItemList::kMaxChunk / 2;

// A copy with room to spare: most edits add an item right after copying.
std::shared_ptr<Items> copyWithSpare(std::span<const EditItem> items) {
    auto copy = std::make_shared<Items>();
    copy->reserve(items.size() + items.size() / 16 + 16);
    copy->assign(items.begin(), items.end());
    return copy;
}

// `items` as chunks: one when it fits, otherwise runs of nearly equal size.
std::vector<std::shared_ptr<Items>> cut(Items items) {
    std::vector<std::shared_ptr<Items>> chunks;
    if (items.size() <= ItemList::kMaxChunk) {
        if (!items.empty())
            chunks.push_back(std::make_shared<Items>(std::move(items)));
        return chunks;
    }
    const std::size_t count = (items.size() + kCutChunk - 1) / kCutChunk;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t from = items.size() * k / count;
        const std::size_t to = items.size() * (k + 1) / count;
        chunks.push_back(copyWithSpare({items.data() + from, to - from}));
    }
    return chunks;
}

} // namespace

std::shared_ptr<ItemList::Table> ItemList::emptyTable() {
    static const std::shared_ptr<Table> empty = [] {
        auto table = std::make_shared<Table>();
        table->chunks.push_back(std::make_shared<Items>());
        table->ends.push_back(0);
        return table;
    }();
    return empty;
}

void ItemList::Table::recountFrom(std::size_t c) {
    ends.resize(chunks.size());
    for (; c < chunks.size(); ++c)
        ends[c] = start(c) + chunks[c]->size();
}

ItemList::Table& ItemList::ownTable() {
    if (table_.use_count() != 1)
        table_ = std::make_shared<Table>(*table_);
    return *table_;
}

Items& ItemList::ownChunk(std::size_t c) {
    Table& t = ownTable();
    if (t.chunks[c].use_count() != 1)
        t.chunks[c] = copyWithSpare(*t.chunks[c]);
    return *t.chunks[c];
}

ItemList::operator Items() const {
    Items all;
    all.reserve(size());
    for (const auto& chunk : table_->chunks)
        all.insert(all.end(), chunk->begin(), chunk->end());
    return all;
}

Items& ItemList::edit() {
    if (table_->chunks.size() != 1) {
        Items all;
        all.reserve(size() + size() / 16 + 16);
        for (const auto& chunk : table_->chunks)
            all.insert(all.end(), chunk->begin(), chunk->end());
        auto table = std::make_shared<Table>();
        table->chunks.push_back(std::make_shared<Items>(std::move(all)));
        table_ = std::move(table);
    }
    return ownChunk(0);
}

EditItem& ItemList::editAt(std::size_t i) {
    const std::size_t c = table_->chunkOf(i);
    const std::size_t start = table_->start(c);
    return ownChunk(c)[i - start];
}

void ItemList::replace(Items items) {
    auto table = std::make_shared<Table>();
    table->chunks.push_back(std::make_shared<Items>(std::move(items)));
    table_ = std::move(table);
}

void ItemList::rechunk() {
    if (table_->chunks.size() != 1 || size() <= kMaxChunk)
        return;
    auto table = std::make_shared<Table>();
    table->chunks = cut(*table_->chunks[0]);
    table->recountFrom(0);
    table_ = std::move(table);
}

// Puts `items` in place of the chunks [first, last] of the table (cut when long).
void ItemList::setChunks(std::size_t first, std::size_t last, Items items) {
    Table& t = ownTable();
    auto pieces = cut(std::move(items));
    if (pieces.empty() && t.chunks.size() == last - first + 1)
        pieces.push_back(std::make_shared<Items>()); // the list keeps one, empty, chunk
    t.chunks.erase(t.chunks.begin() + static_cast<std::ptrdiff_t>(first),
                   t.chunks.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    t.chunks.insert(t.chunks.begin() + static_cast<std::ptrdiff_t>(first), pieces.begin(),
                    pieces.end());
    t.recountFrom(first);
}

void ItemList::splice(std::size_t first, std::size_t last, std::span<const EditItem> with) {
    if (first == last && with.empty())
        return;
    const std::size_t c0 = table_->chunkOf(first);
    const std::size_t c1 = last > first ? table_->chunkOf(last - 1) : c0;
    const std::size_t start = table_->start(c0);
    const std::size_t newSize =
        table_->start(c1) + table_->chunks[c1]->size() - start - (last - first) + with.size();
    if (c0 == c1 && newSize > 0 && (newSize <= kMaxChunk || table_->chunks.size() == 1)) {
        // Within one chunk that stays one (a list not cut into chunks stays whole):
        // change it in place (a copy when shared).
        Items& items = ownChunk(c0);
        const auto at = items.begin() + static_cast<std::ptrdiff_t>(first - start);
        items.insert(items.erase(at, at + static_cast<std::ptrdiff_t>(last - first)), with.begin(),
                     with.end());
        table_->recountFrom(c0);
        return;
    }
    Items joined;
    joined.reserve(newSize);
    for (std::size_t c = c0; c <= c1; ++c) {
        const Items& chunk = *table_->chunks[c];
        const std::size_t from = table_->start(c);
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            if (from + i == first)
                joined.insert(joined.end(), with.begin(), with.end());
            if (from + i < first || from + i >= last)
                joined.push_back(chunk[i]);
        }
    }
    if (first == table_->start(c1) + table_->chunks[c1]->size())
        joined.insert(joined.end(), with.begin(), with.end()); // appended at the end
    setChunks(c0, c1, std::move(joined));
}

bool operator==(const ItemList& a, const ItemList& b) {
    return a.sharesStorageWith(b) ||
           (a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin()));
}

bool operator==(const ItemList& a, const Items& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

} // namespace quillex
