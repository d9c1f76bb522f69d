// SIGINT and SIGTERM delivered to the event loop, so they can end the program as Exit does.
#pragma once
#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace quorvex {

class StopSignals {
 public:
  // From now on the two signals no longer end the process; `onStop` runs in the event loop.
  explicit StopSignals(std::function<void()> onStop);

 private:
  std::function<void()> onStop_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace quorvex
