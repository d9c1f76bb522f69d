#include "frontends/console/commands.h"

#include <charconv>
#include <utility>
#include <vector>

namespace quorvex {

namespace {

// More than a thousand years of virtual time is a typing error, not a test.
constexpr int64_t kMaxAdvanceMs = int64_t{1} << 45;

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.emplace_back(line.substr(start, i - start));
  }
  return words;
}

template <typename Number>
bool ParseNumber(const std::string& word, Number& value) {
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  return error == std::errc{} && stop == end;
}

ConsoleCommand Invalid(std::string why) {
  ConsoleCommand command;
  command.kind = ConsoleCommand::Kind::Invalid;
  command.error = std::move(why);
  return command;
}

ConsoleCommand ParseClick(const std::vector<std::string>& words) {
  if (words.size() < 2 || words.size() > 3) return Invalid("usage: click NAME [INDEX]");
  ConsoleCommand command;
  command.kind = ConsoleCommand::Kind::Click;
  command.name = words[1];
  if (words.size() == 3) {
    if (!ParseNumber(words[2], command.index)) return Invalid("click: the index is no integer: " + words[2]);
    command.hasIndex = true;
  }
  return command;
}

ConsoleCommand ParseAdvance(const std::vector<std::string>& words) {
  if (words.size() != 2) return Invalid("usage: advance MS");
  ConsoleCommand command;
  command.kind = ConsoleCommand::Kind::Advance;
  if (!ParseNumber(words[1], command.ms) || command.ms < 0 || command.ms > kMaxAdvanceMs) {
    return Invalid("advance: not a number of milliseconds: " + words[1]);
  }
  return command;
}

ConsoleCommand ParseHistory(const std::vector<std::string>& words) {
  if (words.size() > 2 || (words.size() == 2 && words[1] != "24h" && words[1] != "7d" && words[1] != "30d"))
    return Invalid("usage: history [24h|7d|30d]");
  ConsoleCommand command;
  command.kind = ConsoleCommand::Kind::History;
  command.range = words.size() == 2 ? words[1] : "24h";
  return command;
}

}  // namespace

ConsoleCommand ParseConsoleCommand(std::string_view line) {
  const std::vector<std::string> words = Words(line);
  if (words.empty()) return {};
  for (const auto& [word, kind] : {std::pair{"rbutton", ConsoleCommand::Kind::RButton},
                                    std::pair{"balloonclick", ConsoleCommand::Kind::BalloonClick}}) {
    if (words[0] != word) continue;
    if (words.size() != 1) return Invalid("usage: " + words[0]);
    ConsoleCommand command;
    command.kind = kind;
    return command;
  }
  if (words[0] == "click") return ParseClick(words);
  if (words[0] == "advance") return ParseAdvance(words);
  if (words[0] == "history") return ParseHistory(words);
  return Invalid("unknown command: " + words[0]);
}

}  // namespace quorvex
