// What the form runtime gives Form1: timers, events, message boxes, the popup, identity.
#pragma once
#include <cstdint>
#include <string_view>

#include "common/event_pump.h"
#include "common/text.h"
#include "tray/trayicon.h"

namespace quorvex {

enum class TimerId { Timer1, Timer2, Timer3 };

// Its event loop is Form1's to wrap in the one EventPump: a desktop is no pump itself.
class Desktop : public EventLoop {
 public:
  // Called whenever a timer's interval or enabled flag is set; an enabled timer ticks by
  // calling Form1's handler after `intervalMs`, counted from this call.
  virtual void TimerChanged(TimerId timer, bool enabled, int32_t intervalMs) = 0;
  // A modal box with one OK button; returns when it is closed.
  virtual void ShowMessageBox(const Text& caption, const Text& text) = 0;
  // Takes the per-user single-instance lock; false when another instance holds it. Any
  // other failure throws std::runtime_error saying why.
  virtual bool AcquireSingleInstance() = 0;
  virtual void HideFromTaskList() = 0;
  virtual NativeHandle WindowHandle() = 0;
  virtual NativeHandle NormalIcon() = 0;
  virtual NativeHandle AlertIcon() = 0;
  // Plays a named sound and returns when it has ended.
  virtual void PlaySoundSync(const Text& name) = 0;
  // Opens the popup at the cursor raised by 20 pixels; returns when it has closed.
  virtual void ShowPopup() = 0;
  // No form is loaded any more: the process ends once the current handler returns.
  virtual void EndProgram() = 0;
  // Milliseconds on a clock that never runs backwards (not the time of day): how long ago a
  // reply came. The console's virtual clock when it runs on one.
  virtual int64_t NowMs() = 0;
  // Milliseconds since 1970-01-01T00:00Z: the time of day in UTC, which the player history
  // is kept in. Unlike NowMs it jumps when the clock is set. The console's moves with its
  // virtual clock when it runs on one.
  virtual int64_t WallClockMs() = 0;
  // Minutes to add to the UTC instant `utcMs` for the local time then (daylight saving
  // included): the history's picture labels its time axis in local time.
  virtual int32_t LocalOffsetMinutes(int64_t utcMs) = 0;
  // Opens the window of the player history, or brings the one already open to the front.
  virtual void ShowHistory() = 0;
  // A problem a handler met and went on past (an unusable line in Quorvex.ini), told where
  // the front end tells the errors that end a handler.
  virtual void ReportError(std::string_view handler, std::string_view message) = 0;
};

}  // namespace quorvex
