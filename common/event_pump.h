// The one way long handlers let pending window events run between their steps, and the
// way a network wait keeps them running while it lasts.
// docs/waits.md draws the whole path from a handler's yield to the front end's dispatch.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

#include "common/steps.h"

namespace quorvex {

// What a front end offers: the primitives of its event loop. They never end a handler;
// only the EventPump built on them does.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Runs the events pending now.
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

// The yield handed to long handlers and network waits (Form1 hands out its own): runs the
// loop's pending events and throws HandlerAborted once `exited` is set, so a handler
// interrupted by an Exit goes no further.
class EventPump {
 public:
  EventPump(EventLoop& loop, const bool& exited) : loop_(loop), exited_(exited) {}

  void DoEvents() {
    if (!exited_) loop_.DoEvents();
    if (exited_) throw HandlerAborted{};
  }
  void WaitForEvents(int32_t timeoutMs) { loop_.WaitForEvents(timeoutMs); }
  void Wake() { loop_.Wake(); }

 private:
  EventLoop& loop_;
  const bool& exited_;
};

}  // namespace quorvex
