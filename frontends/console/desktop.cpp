#include "frontends/console/desktop.h"

namespace quorvex {

void ConsoleDesktop::DoEvents() {
  if (events_ != nullptr) events_->DoEvents();
}

void ConsoleDesktop::WaitForEvents(int32_t timeoutMs) {
  if (events_ != nullptr) events_->WaitForEvents(timeoutMs);
}

void ConsoleDesktop::Wake() {
  if (events_ != nullptr) events_->Wake();
}

void ConsoleDesktop::TimerChanged(TimerId timer, bool enabled, int32_t intervalMs) {
  timers_.Set(timer, enabled, intervalMs, clock_.Now());
}

// Nobody is there to press OK, so the box is answered as soon as it is shown.
void ConsoleDesktop::ShowMessageBox(const Text& caption, const Text& text) { output_.MessageBox(caption, text); }

void ConsoleDesktop::ShowPopup() {
  if (events_ != nullptr) events_->ShowPopup();
}

void ConsoleDesktop::ShowHistory() {
  if (events_ != nullptr) events_->ShowHistory();
}

}  // namespace quorvex
