// Hand-over of a step from any thread to the main thread.
//
// A worker calls Synchronize(step): the step is queued, the main thread is woken
// (the platform installs the wake-up, on Win32 a message posted to a hidden
// window), and the worker waits until the main thread has run it. The main
// thread runs queued steps whenever it retrieves messages: in its loop, inside
// modal loops, and while it waits for workers (ServeUntil).
#pragma once

#include <functional>

namespace zephlet::runtime {

using Step = std::function<void()>;

// Marks the calling thread as the main thread and re-opens the queue.
void SetMainThread();
bool IsMainThread();

// Runs `step` on the main thread and waits for it. On the main thread the step
// runs at once. An exception thrown by the step is re-thrown in the caller.
// Returns false, without running the step, once the queue has been closed.
bool Synchronize(const Step& step);

// Main thread: runs every step queued so far. Returns whether any ran.
bool ServeHandOvers();

// Main thread: serves hand-overs until `done` returns true. Used by waits for
// workers so that a worker blocked in Synchronize can finish.
void ServeUntil(const std::function<bool()>& done);

// Called (from any thread) after a step has been queued, to wake the main thread.
void SetWakeHandler(std::function<void()> wake);

// Closes the queue: steps queued and not yet run are dropped and their callers
// released with false; later calls return false at once.
void CloseHandOvers();

// Wakes ServeUntil so that it re-checks its condition (a worker ended).
void NotifyMainThread();

}  // namespace zephlet::runtime
