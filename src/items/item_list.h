// A list of items that is cheap to copy and cheap to change in one place. The items are
// held in chunks of at most a few thousand; copies of a list share its chunks, and a
// change copies only the chunks it touches (and the small table of chunks) while another
// list still shares them. The undo history keeps a copy of every list after each edit,
// so a one-note edit of a long chart costs one chunk, not the chart.
//
// Reading is like reading a vector: size, indexing and random-access iterators. Writing
// goes through splice() and editAt() (one place), or through edit(), which hands out the
// whole list as one vector for edits that rewrite it; rechunk() splits such a list again.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <span>
#include <vector>

#include "model/edit_item.h"

namespace quillex {

class ItemList {
  public:
    using Items = std::vector<EditItem>;
    class const_iterator;
    using const_reverse_iterator = std::reverse_iterator<const_iterator>;

    // Chunks hold at most this many items (rechunk() and a cut chunk's growth cut them).
    static constexpr std::size_t kMaxChunk = 4096;

    ItemList() : table_(emptyTable()) {}

    // The list itself, for code that reads it like a vector.
    const ItemList& items() const { return *this; }
    std::size_t size() const { return table_->size(); }
    bool empty() const { return size() == 0; }
    const EditItem& operator[](std::size_t i) const;
    const EditItem& front() const { return (*this)[0]; }
    const EditItem& back() const { return (*this)[size() - 1]; }
    const_iterator begin() const;
    const_iterator end() const;
    const_reverse_iterator rbegin() const;
    const_reverse_iterator rend() const;
    // A copy of the items as one vector.
    operator Items() const;

    // The whole list as one writable vector: the chunks are joined into one first, and
    // a vector still shared is copied. The result has room to spare for appending.
    Items& edit();
    // One item, writable; copies only the chunk that holds it when it is shared.
    EditItem& editAt(std::size_t i);
    // Replaces the items [first, last) with `with`, copying only the chunks it touches.
    void splice(std::size_t first, std::size_t last, std::span<const EditItem> with);
    void append(const EditItem& item) { splice(size(), size(), {&item, 1}); }
    void replace(Items items);
    void clear() { table_ = emptyTable(); }
    // Cuts a list held as one long vector (made by replace() or edit()) into chunks.
    void rechunk();

    // True when both lists share the same storage (no copy was ever made).
    bool sharesStorageWith(const ItemList& other) const { return table_ == other.table_; }

    // The chunks, for comparing two lists a chunk at a time: a chunk the other list
    // shares holds the same items.
    std::size_t chunkCount() const { return table_->chunks.size(); }
    std::span<const EditItem> chunk(std::size_t c) const { return *table_->chunks[c]; }
    bool sharesChunk(std::size_t c, const ItemList& other, std::size_t otherChunk) const {
        return table_->chunks[c] == other.table_->chunks[otherChunk];
    }

    friend bool operator==(const ItemList& a, const ItemList& b);
    friend bool operator==(const ItemList& a, const Items& b);

  private:
    // The chunks in order. A table of more than one chunk has no empty chunk and keeps
    // `ends` (one past each chunk's last index); a single chunk may be changed through
    // edit(), so its size is read from the chunk itself.
    struct Table {
        std::vector<std::shared_ptr<Items>> chunks;
        std::vector<std::size_t> ends;

        std::size_t size() const { return chunks.size() == 1 ? chunks[0]->size() : ends.back(); }
        std::size_t start(std::size_t c) const { return c == 0 ? 0 : ends[c - 1]; }
        // The chunk holding index i; the last chunk for the end position.
        std::size_t chunkOf(std::size_t i) const;
        void recountFrom(std::size_t c);
    };

    Table& ownTable();
    Items& ownChunk(std::size_t c);
    void setChunks(std::size_t first, std::size_t last, Items items);

    // One empty table shared by every empty list: it is never written (a shared table
    // is copied first), and an empty list then costs no allocation.
    static std::shared_ptr<Table> emptyTable();

    std::shared_ptr<Table> table_;
};

class ItemList::const_iterator {
  public:
    using iterator_category = std::random_access_iterator_tag;
    using iterator_concept = std::random_access_iterator_tag;
    using value_type = EditItem;
    using difference_type = std::ptrdiff_t;
    using pointer = const EditItem*;
    using reference = const EditItem&;

    const_iterator() = default;
    const_iterator(const Table* table, std::size_t index) : table_(table), index_(index) {
        enter(table->chunkOf(index));
    }

    reference operator*() const { return data_[index_ - chunkStart_]; }
    pointer operator->() const { return &**this; }
    reference operator[](difference_type n) const { return *(*this + n); }

    const_iterator& operator++() {
        if (++index_ == chunkEnd_ && chunk_ + 1 < table_->chunks.size())
            enter(chunk_ + 1);
        return *this;
    }
    const_iterator& operator--() {
        if (index_-- == chunkStart_)
            enter(chunk_ - 1);
        return *this;
    }
    const_iterator operator++(int) {
        const_iterator was = *this;
        ++*this;
        return was;
    }
    const_iterator operator--(int) {
        const_iterator was = *this;
        --*this;
        return was;
    }
    const_iterator& operator+=(difference_type n) {
        index_ = static_cast<std::size_t>(static_cast<difference_type>(index_) + n);
        if (index_ < chunkStart_ || (index_ >= chunkEnd_ && chunk_ + 1 < table_->chunks.size()))
            enter(table_->chunkOf(index_));
        return *this;
    }
    const_iterator& operator-=(difference_type n) { return *this += -n; }
    friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
    friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
    friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
        return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
        return a.index_ == b.index_;
    }
    friend auto operator<=>(const const_iterator& a, const const_iterator& b) {
        return a.index_ <=> b.index_;
    }

  private:
    void enter(std::size_t c) {
        chunk_ = c;
        chunkStart_ = table_->start(c);
        chunkEnd_ = chunkStart_ + table_->chunks[c]->size();
        data_ = table_->chunks[c]->data();
    }

    const Table* table_ = nullptr;
    std::size_t index_ = 0;
    std::size_t chunk_ = 0;
    std::size_t chunkStart_ = 0;
    std::size_t chunkEnd_ = 0;
    const EditItem* data_ = nullptr;
};

inline std::size_t ItemList::Table::chunkOf(std::size_t i) const {
    if (chunks.size() == 1)
        return 0;
    std::size_t low = 0, high = ends.size() - 1; // the chunk is in [low, high]
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        if (ends[mid] > i)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

inline const EditItem& ItemList::operator[](std::size_t i) const {
    const Table& t = *table_;
    if (t.chunks.size() == 1)
        return (*t.chunks[0])[i];
    const std::size_t c = t.chunkOf(i);
    return (*t.chunks[c])[i - t.start(c)];
}

inline ItemList::const_iterator ItemList::begin() const {
    return {table_.get(), 0};
}
inline ItemList::const_iterator ItemList::end() const {
    return {table_.get(), size()};
}
inline ItemList::const_reverse_iterator ItemList::rbegin() const {
    return const_reverse_iterator(end());
}
inline ItemList::const_reverse_iterator ItemList::rend() const {
    return const_reverse_iterator(begin());
}

} // namespace quillex
