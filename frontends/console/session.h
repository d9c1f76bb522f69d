// The console's event loop: Form1's start-up, then its timers and the commands from stdin,
// every handler run through one dispatch that reports errors and what it did to the menu.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "app/form1.h"
#include "frontends/console/commands.h"
#include "frontends/console/desktop.h"
#include "frontends/console/input.h"
#include "frontends/console/output.h"

namespace quorvex {

class ConsoleSession : public ConsoleEvents {
 public:
  ConsoleSession(Form1& form, ConsoleDesktop& desktop, ConsoleInput& input, ConsoleOutput& output)
      : form_(form), desktop_(desktop), input_(input), output_(output) {}

  // Runs until the program ends; returns the process's exit code. On the virtual clock the
  // end of input ends it too, without Exit: nothing is saved.
  int Run();

  void DoEvents() override;
  void ShowPopup() override;
  void ShowHistory() override;
  void WaitForEvents(int32_t timeoutMs) override;
  void Wake() override;

 private:
  template <typename Handler>
  bool Dispatch(std::string_view handler, Handler&& run);
  int RunOnVirtualClock();
  int RunOnRealClock();
  void Execute(const std::string& line);
  void Click(const ConsoleCommand& command);
  void Advance(int64_t ms);
  // Runs every tick due by `until` in due order; returns whether any ran.
  bool RunDueTicks(int64_t until);
  void Exit();
  // A stop signal came, or stdout closed: either is an Exit.
  bool StopAsked();

  Form1& form_;
  ConsoleDesktop& desktop_;
  ConsoleInput& input_;
  ConsoleOutput& output_;
  std::optional<PopupSnapshot> lastPopup_;
};

}  // namespace quorvex
