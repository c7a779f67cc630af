// A list shared between threads, guarded by its own lock. Lock() returns the
// items together with the held lock; the lock is released when the returned
// object goes away. The list does not own what it points to.
#pragma once

#include <algorithm>
#include <mutex>
#include <vector>

namespace zephlet::runtime {

template <typename T>
class ThreadList {
 public:
  class Locked {
   public:
    explicit Locked(ThreadList& list) : guard_(list.lock_), items_(list.items_) {}
    std::vector<T*>& items() { return items_; }

   private:
    std::unique_lock<std::recursive_mutex> guard_;
    std::vector<T*>& items_;
  };

  Locked Lock() { return Locked(*this); }

  void Add(T* item) {
    std::lock_guard guard(lock_);
    items_.push_back(item);
  }
  void Remove(T* item) {
    std::lock_guard guard(lock_);
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  }
  size_t Count() {
    std::lock_guard guard(lock_);
    return items_.size();
  }

 private:
  std::recursive_mutex lock_;
  std::vector<T*> items_;
};

}  // namespace zephlet::runtime
