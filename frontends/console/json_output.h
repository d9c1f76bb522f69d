// The console's events as one JSON object a line, field "ev" first.
#pragma once
#include <ostream>
#include <string>

#include "frontends/console/output.h"

namespace quorvex {

class JsonOutput : public ConsoleOutput {
 public:
  JsonOutput(std::ostream& out, ConsoleIcons icons) : out_(out), icons_(icons) {}

  void Tray(uint32_t message, const TrayIconData& data) override;
  void Menu(const MenuTree& menu, bool popup) override;
  void MessageBox(const Text& caption, const Text& text) override;
  void Sound(const Text& name) override;
  void Start(const Text& commandLine) override;
  void File(const Text& path, const Text& text) override;
  void Error(std::string_view handler, std::string_view message) override;
  void History(const HistoryChart& chart) override;  // in history_output.cpp
  void Idle() override;
  bool Closed() const override { return out_.fail(); }

 private:
  void Emit(const std::string& line);
  std::ostream& out_;
  ConsoleIcons icons_;
};

}  // namespace quorvex
