// The form runtime of the console: timers on its clock, message boxes, sounds and the
// popup reported as events, and the yield handed to the console's event loop.
#pragma once
#include "app/desktop.h"
#include "app/single_instance.h"
#include "frontends/console/clock.h"
#include "frontends/console/local_time.h"
#include "frontends/console/output.h"
#include "frontends/console/timers.h"

namespace quorvex {

// The console's event loop, which the desktop hands on (a signal, and on the real clock
// the commands already typed, are its pending events), and the popup it reports.
class ConsoleEvents : public EventLoop {
 public:
  // The right button was pressed on the icon.
  virtual void ShowPopup() = 0;
  // "History…" was chosen.
  virtual void ShowHistory() = 0;
};

class ConsoleDesktop : public Desktop {
 public:
  // The window handle the tray record carries; any value that is no icon handle.
  static constexpr NativeHandle kWindow = 0x10;

  ConsoleDesktop(ConsoleOutput& output, ConsoleClock& clock, SingleInstanceLock& lock, ConsoleIcons icons)
      : output_(output), clock_(clock), lock_(lock), icons_(icons) {}

  void Attach(ConsoleEvents& events) { events_ = &events; }
  TimerSchedule& Timers() { return timers_; }
  ConsoleClock& Clock() { return clock_; }
  bool Ended() const { return ended_; }

  void DoEvents() override;
  void WaitForEvents(int32_t timeoutMs) override;
  void Wake() override;
  void TimerChanged(TimerId timer, bool enabled, int32_t intervalMs) override;
  void ShowMessageBox(const Text& caption, const Text& text) override;
  bool AcquireSingleInstance() override { return lock_.Acquire(); }
  void HideFromTaskList() override {}  // a console program is on no task list
  NativeHandle WindowHandle() override { return kWindow; }
  NativeHandle NormalIcon() override { return icons_.normal; }
  NativeHandle AlertIcon() override { return icons_.alert; }
  void PlaySoundSync(const Text& name) override { output_.Sound(name); }
  void ShowPopup() override;
  void EndProgram() override { ended_ = true; }
  void ReportError(std::string_view handler, std::string_view message) override { output_.Error(handler, message); }
  int64_t NowMs() override { return clock_.Now(); }
  int64_t WallClockMs() override { return clock_.WallNow(); }
  int32_t LocalOffsetMinutes(int64_t utcMs) override { return quorvex::LocalOffsetMinutes(utcMs); }
  void ShowHistory() override;

 private:
  ConsoleOutput& output_;
  ConsoleClock& clock_;
  SingleInstanceLock& lock_;
  ConsoleIcons icons_;
  TimerSchedule timers_;
  ConsoleEvents* events_ = nullptr;
  bool ended_ = false;
};

}  // namespace quorvex
