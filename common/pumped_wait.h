// A blocking piece of work (a transfer, the echoes of a poll) on a thread of its own,
// while the UI thread keeps running its events: to the handler the wait is one more yield.
#pragma once
#include <chrono>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>

#include "common/event_pump.h"

namespace quorvex {

// How long the UI thread sleeps at most before it looks at the work again, should a
// wake-up get lost.
inline constexpr int32_t kLookAgainMs = 100;

// Runs `work` on its own thread and returns its result (or throws its exception). The
// calling thread runs events through `pump` at least once and then whenever they come
// until the work is done. When a yield throws (Exit ran inside it), `cancel` asks the work
// to end soon and the yield's exception goes on once the work has ended, or, with
// `leaveAfter`, once that time has passed: the work then ends on its own later, so it
// must own everything it touches.
template <typename Work>
std::invoke_result_t<Work&> WaitPumping(EventPump& pump, Work work, const std::function<void()>& cancel,
                                        std::optional<std::chrono::milliseconds> leaveAfter = std::nullopt) {
  using Result = std::invoke_result_t<Work&>;
  // What the work's thread holds, so it may outlive this call.
  struct Shared {
    std::packaged_task<Result()> task;
    std::mutex mutex;
    EventPump* waiter = nullptr;  // null once the caller has left
  };
  auto shared = std::make_shared<Shared>();
  shared->task = std::packaged_task<Result()>(std::move(work));
  shared->waiter = &pump;
  std::future<Result> result = shared->task.get_future();
  std::thread worker([shared] {
    shared->task();
    const std::lock_guard lock(shared->mutex);
    if (shared->waiter != nullptr) shared->waiter->Wake();
  });
  const auto readyWithin = [&](std::chrono::milliseconds wait) {
    return result.wait_for(wait) == std::future_status::ready;
  };
  try {
    for (;;) {
      pump.DoEvents();
      if (readyWithin(std::chrono::milliseconds(0))) break;
      pump.WaitForEvents(kLookAgainMs);
    }
  } catch (...) {
    cancel();
    if (leaveAfter && !readyWithin(*leaveAfter)) {
      const std::lock_guard lock(shared->mutex);
      shared->waiter = nullptr;
      worker.detach();
    } else {
      worker.join();
    }
    throw;
  }
  worker.join();
  return result.get();
}

}  // namespace quorvex
