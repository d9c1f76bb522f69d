// What the console reports: one call per event, written as JSON lines or for people.
#pragma once
#include <cstdint>
#include <string_view>

#include "common/text.h"
#include "history/history_chart.h"
#include "menu/menu_model.h"
#include "tray/trayicon.h"

namespace quorvex {

// The icon handles the console's desktop hands to Form1, so a tray event can name the
// icon it shows.
struct ConsoleIcons {
  NativeHandle normal = 1;
  NativeHandle alert = 2;
};

// "normal", "alert", or "none" for a handle that is neither (the record before the first add);
// a numbered icon (frontends/console/numbered_icons.h) is named by the icon it was drawn on.
std::string_view IconName(const ConsoleIcons& icons, NativeHandle handle);

class ConsoleOutput {
 public:
  virtual ~ConsoleOutput() = default;
  // Every call Form1 makes to the shell's notification area.
  virtual void Tray(uint32_t message, const TrayIconData& data) = 0;
  // The whole menu: after a handler that wrote it, or as the popup that opened.
  virtual void Menu(const MenuTree& menu, bool popup) = 0;
  virtual void MessageBox(const Text& caption, const Text& text) = 0;
  virtual void Sound(const Text& name) = 0;
  virtual void Start(const Text& commandLine) = 0;
  virtual void File(const Text& path, const Text& text) = 0;
  // An error that reached the console's dispatch, or a command it could not run.
  virtual void Error(std::string_view handler, std::string_view message) = 0;
  // The picture of the player history: the history window the console stands in for.
  virtual void History(const HistoryChart& chart) = 0;
  // The console waits for the next command.
  virtual void Idle() = 0;
  // Whether a write failed: whoever read the events has gone (a closed pipe), and the
  // console ends as with Exit.
  virtual bool Closed() const = 0;
};

}  // namespace quorvex
