// The statements of the last song file read that the reader did not interpret
// itself, kept by key. Keys are compared exactly (case-sensitive, untrimmed); a
// repeated key keeps every value in file order and lookups use the first.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillex {

class TagMap {
  public:
    void add(std::string_view key, std::string_view value) {
        auto it = values_.find(key);
        if (it == values_.end())
            it = values_.emplace(std::string(key), std::vector<std::string>()).first;
        it->second.emplace_back(value);
    }

    // The first value stored under the key, or empty when there is none.
    const std::string& first(std::string_view key) const {
        static const std::string none;
        const auto it = values_.find(key);
        return it == values_.end() ? none : it->second.front();
    }
    bool contains(std::string_view key) const { return values_.find(key) != values_.end(); }
    bool empty() const { return values_.empty(); }
    // Gives the memory back too (a cleared map otherwise keeps its buckets).
    void clear() { decltype(values_)().swap(values_); }

  private:
    // Keys are looked up as views, without making a string of each.
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };
    std::unordered_map<std::string, std::vector<std::string>, KeyHash, std::equal_to<>> values_;
};

} // namespace quillex
