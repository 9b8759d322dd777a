// A world list: a fixed capacity, records owned in order, later records shift down on removal.
#pragma once

#include <memory>
#include <vector>

template <class T>
class RecordList {
 public:
  explicit RecordList(int capacity) : capacity_(capacity) { items_.reserve(capacity); }

  int capacity() const { return capacity_; }
  int count() const { return static_cast<int>(items_.size()); }
  bool empty() const { return items_.empty(); }
  bool full() const { return count() >= capacity_; }

  // Records are never null inside 0..count-1.
  T* operator[](int index) const { return items_[index].get(); }
  T* last() const { return items_.empty() ? nullptr : items_.back().get(); }

  // Takes the record and returns it; a full list drops it and returns nullptr.
  T* append(std::unique_ptr<T> record) {
    if (full() || !record) return nullptr;
    items_.push_back(std::move(record));
    return items_.back().get();
  }

  // Position of a record, or -1 when it is not in this list.
  int indexOf(const T* record) const {
    for (int i = 0; i < count(); ++i)
      if (items_[i].get() == record) return i;
    return -1;
  }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  // Records leave a list only through world/lifetime.h, which first clears or re-indexes
  // every reference to them.
  friend struct RecordRemoval;
  // Destroys the record at index; later records move down one place.
  void removeAt(int index) { items_.erase(items_.begin() + index); }
  // Destroys every record whose index `gone` names, in one sweep; the others keep their order.
  template <class Gone>
  void removeWhere(Gone gone) {
    size_t kept = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
      if (gone(static_cast<int>(i))) continue;
      if (kept != i) items_[kept] = std::move(items_[i]);
      ++kept;
    }
    items_.resize(kept);
  }
  void clear() { items_.clear(); }

  int capacity_;
  std::vector<std::unique_ptr<T>> items_;
};
