// The statements of the last song file read that the reader did not interpret
// itself, kept by key in file order. Keys are compared exactly (case-sensitive,
// untrimmed); a repeated key keeps every value and lookups use the first.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillex {

class TagMap {
  public:
    void add(std::string_view key, std::string_view value) {
        auto [it, inserted] = index_.try_emplace(std::string(key), entries_.size());
        if (inserted)
            entries_.push_back({std::string(key), {}});
        entries_[it->second].values.emplace_back(value);
    }

    // The first value stored under the key, or empty when there is none.
    const std::string& first(std::string_view key) const {
        static const std::string none;
        const auto it = index_.find(std::string(key));
        return it == index_.end() ? none : entries_[it->second].values.front();
    }
    bool contains(std::string_view key) const { return index_.count(std::string(key)) != 0; }
    const std::vector<std::string>* values(std::string_view key) const {
        const auto it = index_.find(std::string(key));
        return it == index_.end() ? nullptr : &entries_[it->second].values;
    }

    struct Entry {
        std::string key;
        std::vector<std::string> values;
    };
    // Keys in the order they first appeared.
    const std::vector<Entry>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }
    void clear() {
        entries_.clear();
        index_.clear();
    }

  private:
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> index_;
};

} // namespace quillex
