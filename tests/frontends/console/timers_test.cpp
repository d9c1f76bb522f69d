#include "frontends/console/timers.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvex {
namespace {

std::vector<std::pair<TimerId, int64_t>> TakeAll(TimerSchedule& schedule, int64_t until) {
  std::vector<std::pair<TimerId, int64_t>> ticks;
  while (const auto tick = schedule.TakeDue(until)) ticks.emplace_back(tick->timer, tick->at);
  return ticks;
}

using Ticks = std::vector<std::pair<TimerId, int64_t>>;

TEST(TimerSchedule, TicksComeInDueOrderAndRepeatEveryInterval) {
  TimerSchedule schedule;
  schedule.Set(TimerId::Timer1, true, 300, 0);
  schedule.Set(TimerId::Timer3, true, 250, 0);
  schedule.Set(TimerId::Timer2, true, 1000, 100);
  EXPECT_EQ(schedule.NextDue(), 250);
  EXPECT_EQ(TakeAll(schedule, 1100), (Ticks{{TimerId::Timer3, 250},
                                            {TimerId::Timer1, 300},
                                            {TimerId::Timer3, 500},
                                            {TimerId::Timer1, 600},
                                            {TimerId::Timer3, 750},
                                            {TimerId::Timer1, 900},
                                            {TimerId::Timer3, 1000},
                                            {TimerId::Timer2, 1100}}));
  EXPECT_EQ(schedule.NextDue(), 1200);  // Timer1's next
}

TEST(TimerSchedule, NothingIsTakenBeforeItIsDue) {
  TimerSchedule schedule;
  schedule.Set(TimerId::Timer3, true, 250, 0);
  EXPECT_FALSE(schedule.TakeDue(249));
  EXPECT_EQ(TakeAll(schedule, 250), (Ticks{{TimerId::Timer3, 250}}));
}

TEST(TimerSchedule, TimersDueAtOneMomentComeInTheOrderTheyWereSet) {
  TimerSchedule schedule;
  schedule.Set(TimerId::Timer2, true, 100, 0);
  schedule.Set(TimerId::Timer1, true, 50, 50);
  schedule.Set(TimerId::Timer3, true, 100, 0);
  EXPECT_EQ(TakeAll(schedule, 100), (Ticks{{TimerId::Timer2, 100}, {TimerId::Timer1, 100}, {TimerId::Timer3, 100}}));
}

TEST(TimerSchedule, SettingATimerAgainStartsItsIntervalAfresh) {
  TimerSchedule schedule;
  schedule.Set(TimerId::Timer1, true, 1000, 0);
  schedule.Set(TimerId::Timer1, true, 1000, 600);  // as the update-rate command does
  EXPECT_FALSE(schedule.TakeDue(1599));
  EXPECT_EQ(TakeAll(schedule, 1600), (Ticks{{TimerId::Timer1, 1600}}));
}

TEST(TimerSchedule, ADisabledTimerOrOneWithoutIntervalNeverTicks) {
  TimerSchedule schedule;
  EXPECT_FALSE(schedule.NextDue());
  schedule.Set(TimerId::Timer1, true, 100, 0);
  schedule.Set(TimerId::Timer1, false, 100, 0);
  schedule.Set(TimerId::Timer2, true, 0, 0);
  schedule.Set(TimerId::Timer3, true, -5, 0);
  EXPECT_FALSE(schedule.NextDue());
  EXPECT_FALSE(schedule.TakeDue(1'000'000));
}

}  // namespace
}  // namespace quorvex
