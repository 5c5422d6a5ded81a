// A list of items that is cheap to copy: copies share one immutable vector until one
// of them is changed. The undo history keeps whole copies of every list after each
// edit, so an edit that leaves most lists alone costs only the lists it touches.
#pragma once

#include <memory>
#include <vector>

#include "model/edit_item.h"

namespace quillex {

class ItemList {
  public:
    using Items = std::vector<EditItem>;

    ItemList() : items_(emptyItems()) {}

    const Items& items() const { return *items_; }
    const EditItem& operator[](std::size_t i) const { return (*items_)[i]; }
    std::size_t size() const { return items_->size(); }
    bool empty() const { return items_->empty(); }
    auto begin() const { return items_->begin(); }
    auto end() const { return items_->end(); }

    // Writable access. Copies the vector first when another ItemList shares it,
    // so a snapshot taken earlier never sees the change. The copy has room to spare:
    // most edits add an item right after copying.
    Items& edit() {
        if (items_.use_count() != 1) {
            auto copy = std::make_shared<Items>();
            copy->reserve(items_->size() + items_->size() / 16 + 16);
            copy->assign(items_->begin(), items_->end());
            items_ = std::move(copy);
        }
        return *items_;
    }

    void replace(Items items) { items_ = std::make_shared<Items>(std::move(items)); }
    void clear() { items_ = emptyItems(); }

    // True when both lists share the same storage (no copy was ever made).
    bool sharesStorageWith(const ItemList& other) const { return items_ == other.items_; }

  private:
    // One empty vector shared by every empty list: it is never written (edit() copies
    // a shared vector first), and an empty list then costs no allocation.
    static std::shared_ptr<Items> emptyItems() {
        static const std::shared_ptr<Items> empty = std::make_shared<Items>();
        return empty;
    }

    std::shared_ptr<Items> items_;
};

} // namespace quillex
