// A blocking piece of work (a transfer, the echoes of a poll) on a thread of its own,
// while the UI thread keeps running its events: to the handler the wait is one more yield.
#pragma once
#include <chrono>
#include <exception>
#include <functional>
#include <future>
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
// to end soon; the work is waited for and the yield's exception goes on.
template <typename Work>
std::invoke_result_t<Work&> WaitPumping(EventPump& pump, Work work, const std::function<void()>& cancel) {
  std::packaged_task<std::invoke_result_t<Work&>()> task(std::move(work));
  auto result = task.get_future();
  std::thread worker([&] {
    task();
    pump.Wake();
  });
  const auto done = [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; };
  try {
    for (;;) {
      pump.DoEvents();
      if (done()) break;
      pump.WaitForEvents(kLookAgainMs);
    }
  } catch (...) {
    cancel();
    worker.join();
    throw;
  }
  worker.join();
  return result.get();
}

}  // namespace quorvex
