#include "runtime/synchronize.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace zephlet::runtime {
namespace {

struct Pending {
  Step step;
  bool finished = false;
  bool ran = false;
  std::exception_ptr error;
};

struct Queue {
  std::mutex lock;
  std::condition_variable changed;  // a step was queued, finished, or a worker ended
  std::deque<std::shared_ptr<Pending>> steps;
  std::function<void()> wake;
  std::thread::id main_thread = std::this_thread::get_id();
  bool closed = false;
  unsigned generation = 0;  // bumped by NotifyMainThread
};

Queue& TheQueue() {
  static Queue queue;
  return queue;
}

}  // namespace

void SetMainThread() {
  Queue& q = TheQueue();
  std::lock_guard guard(q.lock);
  q.main_thread = std::this_thread::get_id();
  q.closed = false;
}

bool IsMainThread() {
  Queue& q = TheQueue();
  std::lock_guard guard(q.lock);
  return q.main_thread == std::this_thread::get_id();
}

bool Synchronize(const Step& step) {
  if (IsMainThread()) {
    step();
    return true;
  }
  Queue& q = TheQueue();
  auto pending = std::make_shared<Pending>();
  pending->step = step;
  std::function<void()> wake;
  {
    std::lock_guard guard(q.lock);
    if (q.closed) return false;
    q.steps.push_back(pending);
    wake = q.wake;
  }
  q.changed.notify_all();
  if (wake) wake();
  std::unique_lock guard(q.lock);
  q.changed.wait(guard, [&] { return pending->finished; });
  if (pending->error) std::rethrow_exception(pending->error);
  return pending->ran;
}

bool ServeHandOvers() {
  Queue& q = TheQueue();
  std::deque<std::shared_ptr<Pending>> batch;
  {
    std::lock_guard guard(q.lock);
    batch.swap(q.steps);
  }
  for (auto& pending : batch) {
    std::exception_ptr error;
    try {
      pending->step();
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard guard(q.lock);
    pending->error = error;
    pending->ran = true;
    pending->finished = true;
  }
  if (!batch.empty()) q.changed.notify_all();
  return !batch.empty();
}

void ServeUntil(const std::function<bool()>& done) {
  Queue& q = TheQueue();
  for (;;) {
    ServeHandOvers();
    if (done()) return;
    std::unique_lock guard(q.lock);
    const unsigned seen = q.generation;
    // The timeout only bounds how late a condition that nobody announces is seen.
    q.changed.wait_for(guard, std::chrono::milliseconds(5),
                       [&] { return !q.steps.empty() || q.generation != seen; });
  }
}

void SetWakeHandler(std::function<void()> wake) {
  Queue& q = TheQueue();
  std::lock_guard guard(q.lock);
  q.wake = std::move(wake);
}

void CloseHandOvers() {
  Queue& q = TheQueue();
  {
    std::lock_guard guard(q.lock);
    q.closed = true;
    for (auto& pending : q.steps) pending->finished = true;
    q.steps.clear();
  }
  q.changed.notify_all();
}

void NotifyMainThread() {
  Queue& q = TheQueue();
  {
    std::lock_guard guard(q.lock);
    ++q.generation;
  }
  q.changed.notify_all();
}

}  // namespace zephlet::runtime
