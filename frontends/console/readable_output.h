// The console's events for people (--readable): the tooltip when it changes, balloons,
// message boxes, sounds, joins, and the Servers submenu when it changed.
#pragma once
#include <optional>
#include <ostream>
#include <string>

#include "frontends/console/clock.h"
#include "frontends/console/output.h"

namespace quorvex {

class ReadableOutput : public ConsoleOutput {
 public:
  ReadableOutput(std::ostream& out, ConsoleIcons icons, const ConsoleClock& clock)
      : out_(out), icons_(icons), clock_(clock) {}

  void Tray(uint32_t message, const TrayIconData& data) override;
  void Menu(const MenuTree& menu, bool popup) override;
  void MessageBox(const Text& caption, const Text& text) override;
  void Sound(const Text& name) override;
  void Start(const Text& commandLine) override;
  void File(const Text& path, const Text& text) override;
  void Error(std::string_view handler, std::string_view message) override;
  void History(const HistoryChart& chart) override;  // in history_output.cpp
  void Idle() override {}
  bool Closed() const override { return out_.fail(); }

 private:
  // One line stamped with the console's clock, then `text` indented below it.
  void Print(const std::string& heading, const Text& text = {});
  void PrintPopup(const MenuTree& menu);
  std::ostream& out_;
  ConsoleIcons icons_;
  const ConsoleClock& clock_;
  std::optional<Text> shownTip_;
  std::optional<NativeHandle> shownIcon_;
  std::optional<Text> shownServers_;
};

}  // namespace quorvex
