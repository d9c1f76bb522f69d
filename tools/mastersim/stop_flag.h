// Set once when mastersim shuts down; waits that would outlive it end early.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace quorvex::mastersim {

class StopFlag {
 public:
  void Raise() {
    {
      std::lock_guard lock(mutex_);
      raised_ = true;
    }
    changed_.notify_all();
  }

  bool Raised() const {
    std::lock_guard lock(mutex_);
    return raised_;
  }

  // Sleeps for `duration` or until the flag is raised; true when it was raised.
  bool WaitFor(std::chrono::milliseconds duration) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, duration, [this] { return raised_; });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool raised_ = false;
};

}  // namespace quorvex::mastersim
