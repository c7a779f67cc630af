// A waitable event, set and reset by any thread.
#pragma once

#include <condition_variable>
#include <mutex>

namespace zephlet::runtime {

class Event {
 public:
  explicit Event(bool manual_reset = true, bool initially_set = false)
      : manual_reset_(manual_reset), set_(initially_set) {}

  void Set() {
    {
      std::lock_guard guard(lock_);
      set_ = true;
    }
    changed_.notify_all();
  }
  void Reset() {
    std::lock_guard guard(lock_);
    set_ = false;
  }
  bool IsSet() {
    std::lock_guard guard(lock_);
    return set_;
  }
  void Wait() {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [&] { return set_; });
    if (!manual_reset_) set_ = false;
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  const bool manual_reset_;
  bool set_;
};

}  // namespace zephlet::runtime
