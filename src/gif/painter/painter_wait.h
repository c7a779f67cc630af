// Waiting for painters. A painter blocked in a hand-over can only end while the main
// thread serves hand-overs, so a wait on the main thread keeps serving them.
#pragma once

#include <functional>

namespace zephlet {

// Returns once `done` answers true. On the main thread it serves hand-overs meanwhile;
// on another thread it re-checks every millisecond.
void WaitServingHandOvers(const std::function<bool()>& done);

}  // namespace zephlet
