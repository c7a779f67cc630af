#include "gif/painter/painter_wait.h"

#include <chrono>
#include <thread>

#include "runtime/synchronize.h"

namespace zephlet {

void WaitServingHandOvers(const std::function<bool()>& done) {
  if (runtime::IsMainThread()) {
    runtime::ServeUntil(done);
    return;
  }
  while (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace zephlet
