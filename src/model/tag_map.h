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
        values_[std::string(key)].emplace_back(value);
    }

    // The first value stored under the key, or empty when there is none.
    const std::string& first(std::string_view key) const {
        static const std::string none;
        const auto it = values_.find(std::string(key));
        return it == values_.end() ? none : it->second.front();
    }
    bool contains(std::string_view key) const { return values_.count(std::string(key)) != 0; }
    bool empty() const { return values_.empty(); }
    void clear() { values_.clear(); }

  private:
    std::unordered_map<std::string, std::vector<std::string>> values_;
};

} // namespace quillex
