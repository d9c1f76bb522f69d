// The one way long handlers let pending window events run between their steps, and the
// way a network wait keeps them running while it lasts.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

namespace quorvex {

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Runs pending events. Throws HandlerAborted when the program exited during them.
  virtual void DoEvents() = 0;
  // Blocks until an event may be pending, Wake is called, or `timeoutMs` have passed,
  // whichever comes first; runs nothing itself. A front end waits on its own event
  // sources here; this default only sleeps a millisecond, so a waiter looks again soon.
  virtual void WaitForEvents(int32_t timeoutMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::clamp(timeoutMs, 0, 1)));
  }
  // Ends the WaitForEvents in progress, or else the next one, at once. Called from the
  // thread that finished a piece of background work, so it must be safe from any thread.
  virtual void Wake() {}
};

}  // namespace quorvex
