#include "frontends/console/session.h"

#include <algorithm>
#include <exception>

#include "common/steps.h"

namespace quorvex {

namespace {

constexpr std::string_view kCommandSource = "stdin";  // the "handler" of a refused command

std::string_view TimerHandlerName(TimerId timer) {
  switch (timer) {
    case TimerId::Timer1:
      return "Timer1_Timer";
    case TimerId::Timer2:
      return "Timer2_Timer";
    case TimerId::Timer3:
      return "Timer3_Timer";
  }
  return "Timer";
}

// Whether the item and every submenu above it are shown, so the popup could reach it.
bool Reachable(const MenuItem& parent, std::string_view name, int index) {
  for (const MenuItem& child : parent.children) {
    if (!child.visible) continue;
    if (child.name == name && child.index == index) return true;
    if (Reachable(child, name, index)) return true;
  }
  return false;
}

std::string ItemLabel(const std::string& name, int index) {
  return index < 0 ? name : name + " " + std::to_string(index);
}

}  // namespace

// Like the Windows window procedure: an error ends the handler, never the program.
template <typename Handler>
bool ConsoleSession::Dispatch(std::string_view handler, Handler&& run) {
  const uint64_t revision = form_.MenuRevision();
  const bool completed = DispatchHandler(handler, std::forward<Handler>(run), [this](std::string_view name, std::string_view message) {
    output_.Error(name, message);
  });
  // After Exit nobody can see the menu any more.
  if (form_.MenuRevision() != revision && !form_.Exited()) output_.Menu(form_.Menu(), false);
  return completed;
}

int ConsoleSession::Run() {
  // A start-up that fails before its skippable steps leaves nothing usable to run.
  if (!Dispatch("Form_Load", [&] { form_.Form_Load(); })) return 1;
  return desktop_.Clock().IsVirtual() ? RunOnVirtualClock() : RunOnRealClock();
}

int ConsoleSession::RunOnVirtualClock() {
  std::string line;
  while (!desktop_.Ended()) {
    output_.Idle();
    if (output_.Closed()) {
      Exit();
      break;
    }
    switch (input_.Wait(std::nullopt, line)) {
      case InputEvent::Line:
        Execute(line);
        break;
      case InputEvent::Signal:
        Exit();
        break;
      case InputEvent::EndOfInput:
        return 0;  // time stands still without commands: the run is over, unsaved
      case InputEvent::Timeout:
        break;
    }
  }
  return 0;
}

int ConsoleSession::RunOnRealClock() {
  ConsoleClock& clock = desktop_.Clock();
  std::string line;
  bool waitedSinceLastEvent = false;
  while (!desktop_.Ended()) {
    if (RunDueTicks(clock.Now())) waitedSinceLastEvent = false;
    if (desktop_.Ended()) break;
    if (!waitedSinceLastEvent) output_.Idle();
    waitedSinceLastEvent = true;
    if (output_.Closed()) {
      Exit();
      break;
    }
    std::optional<int64_t> timeout;
    if (const auto due = desktop_.Timers().NextDue()) timeout = std::max<int64_t>(0, *due - clock.Now());
    switch (input_.Wait(timeout, line)) {
      case InputEvent::Line:
        Execute(line);
        waitedSinceLastEvent = false;
        break;
      case InputEvent::Signal:
        Exit();
        break;
      case InputEvent::EndOfInput:  // the timers go on; a signal ends the program
      case InputEvent::Timeout:
        break;
    }
  }
  return 0;
}

bool ConsoleSession::RunDueTicks(int64_t until) {
  ConsoleClock& clock = desktop_.Clock();
  bool ran = false;
  while (!desktop_.Ended()) {
    if (StopAsked()) {
      Exit();
      break;
    }
    const std::optional<DueTick> tick = desktop_.Timers().TakeDue(until);
    if (!tick) break;
    if (clock.IsVirtual()) clock.AdvanceTo(tick->at);  // a timer set by the handler counts from here
    Dispatch(TimerHandlerName(tick->timer), [&] { form_.TimerTick(tick->timer); });
    ran = true;
  }
  return ran;
}

void ConsoleSession::Advance(int64_t ms) {
  ConsoleClock& clock = desktop_.Clock();
  const int64_t until = clock.Now() + ms;
  RunDueTicks(until);
  if (!desktop_.Ended()) clock.AdvanceTo(until);
}

void ConsoleSession::Execute(const std::string& line) {
  const ConsoleCommand command = ParseConsoleCommand(line);
  switch (command.kind) {
    case ConsoleCommand::Kind::Nothing:
      return;
    case ConsoleCommand::Kind::RButton:
      Dispatch("Form_MouseMove", [&] { form_.Form_MouseMove(kRightButtonDown); });
      return;
    case ConsoleCommand::Kind::BalloonClick:  // as the shell reports it through the tray callback
      Dispatch("Form_MouseMove", [&] { form_.Form_MouseMove(kBalloonUserClick); });
      return;
    case ConsoleCommand::Kind::Click:
      Click(command);
      return;
    case ConsoleCommand::Kind::Advance:
      if (!desktop_.Clock().IsVirtual()) {
        output_.Error(kCommandSource, "advance needs --virtual-time");
        return;
      }
      Advance(command.ms);
      return;
    case ConsoleCommand::Kind::History:
      Dispatch("history", [&] { output_.History(form_.ChartHistory(*RangeNamed(command.range))); });
      return;
    case ConsoleCommand::Kind::Invalid:
      output_.Error(kCommandSource, command.error);
      return;
  }
}

// A click acts on the popup it was made in: a copy, since a command run during the
// handler's yields may open a new popup.
void ConsoleSession::Click(const ConsoleCommand& command) {
  const PopupSnapshot snapshot = lastPopup_ ? *lastPopup_ : form_.Snapshot();
  const MenuTree& menu = snapshot.menu;
  // Without an index a single control is meant, or element 0 of a control array.
  int lookup = command.index;
  if (!command.hasIndex && !menu.Has(command.name, lookup) && menu.Has(command.name)) lookup = -1;
  if (!menu.Has(command.name, lookup)) {
    output_.Error(kCommandSource, "no menu item " + (command.hasIndex ? ItemLabel(command.name, lookup) : command.name));
    return;
  }
  if (!Reachable(menu.Root(), command.name, lookup)) {
    output_.Error(kCommandSource, "menu item " + ItemLabel(command.name, lookup) + " is not shown");
    return;
  }
  Dispatch(command.name + "_Click", [&] { form_.Click(command.name, command.index, snapshot); });
}

void ConsoleSession::DoEvents() {
  if (desktop_.Ended()) return;
  if (StopAsked()) {
    Exit();
    return;
  }
  // On the virtual clock a command waits for its turn, so every run goes alike.
  if (desktop_.Clock().IsVirtual()) return;
  std::string line;
  while (!desktop_.Ended() && input_.TakeReadyLine(line)) Execute(line);
}

// On the virtual clock only a signal counts: the commands wait until the handler is done.
void ConsoleSession::WaitForEvents(int32_t timeoutMs) {
  input_.WaitForActivity(timeoutMs, !desktop_.Clock().IsVirtual());
}

void ConsoleSession::Wake() { input_.Wake(); }

void ConsoleSession::ShowPopup() {
  lastPopup_ = form_.Snapshot();
  output_.Menu(lastPopup_->menu, true);
}

// The window "History…" opens shows the last 24 hours first.
void ConsoleSession::ShowHistory() { output_.History(form_.ChartHistory(ChartRange::Day)); }

bool ConsoleSession::StopAsked() { return input_.TakeSignal() || output_.Closed(); }

void ConsoleSession::Exit() {
  Dispatch("menExit_Click", [&] { form_.menExit_Click(); });
}

}  // namespace quorvex
