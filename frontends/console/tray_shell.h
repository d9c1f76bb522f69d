// The notification area of the console: every call is reported, none can fail.
#pragma once
#include "frontends/console/output.h"
#include "tray/trayicon.h"

namespace quorvex {

class ConsoleTrayShell : public TrayShell {
 public:
  explicit ConsoleTrayShell(ConsoleOutput& output) : output_(output) {}
  void NotifyIcon(uint32_t message, const TrayIconData& data) override { output_.Tray(message, data); }

 private:
  ConsoleOutput& output_;
};

}  // namespace quorvex
