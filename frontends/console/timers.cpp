#include "frontends/console/timers.h"

namespace quorvex {

namespace {

constexpr std::array<TimerId, 3> kTimers = {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3};

size_t Slot(TimerId timer) { return static_cast<size_t>(timer); }

}  // namespace

void TimerSchedule::Set(TimerId timer, bool enabled, int32_t intervalMs, int64_t now) {
  Entry& entry = entries_.at(Slot(timer));
  entry.running = enabled && intervalMs > 0;
  entry.interval = intervalMs;
  entry.due = now + intervalMs;
  entry.order = ++scheduled_;
}

const TimerSchedule::Entry* TimerSchedule::Earliest() const {
  const Entry* earliest = nullptr;
  for (const Entry& entry : entries_) {
    if (!entry.running) continue;
    if (earliest == nullptr || entry.due < earliest->due ||
        (entry.due == earliest->due && entry.order < earliest->order)) {
      earliest = &entry;
    }
  }
  return earliest;
}

TimerSchedule::Entry* TimerSchedule::Earliest() {
  return const_cast<Entry*>(static_cast<const TimerSchedule*>(this)->Earliest());
}

std::optional<int64_t> TimerSchedule::NextDue() const {
  const Entry* earliest = Earliest();
  if (earliest == nullptr) return std::nullopt;
  return earliest->due;
}

std::optional<DueTick> TimerSchedule::TakeDue(int64_t until) {
  Entry* earliest = Earliest();
  if (earliest == nullptr || earliest->due > until) return std::nullopt;
  const DueTick tick{kTimers.at(static_cast<size_t>(earliest - entries_.data())), earliest->due};
  earliest->due += earliest->interval;
  earliest->order = ++scheduled_;
  return tick;
}

}  // namespace quorvex
