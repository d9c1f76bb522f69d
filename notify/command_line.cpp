#include "notify/command_line.h"

#include <algorithm>
#include <string_view>

namespace quorvex {

namespace {

constexpr std::u16string_view kBlanks = u" \t";

bool IsBlank(char16_t unit) { return kBlanks.find(unit) != std::u16string_view::npos; }

size_t SkipBlanks(const Text& line, size_t at) { return std::min(line.find_first_not_of(kBlanks, at), line.size()); }

// The program name from `at`: quoted up to the next quote, else up to the next blank.
// Returns where it ends.
size_t ReadProgramName(const Text& line, size_t at, Text& name) {
  if (line[at] == u'"') {
    const size_t close = line.find(u'"', at + 1);
    const size_t end = close == Text::npos ? line.size() : close;
    name = line.substr(at + 1, end - at - 1);
    return close == Text::npos ? end : close + 1;
  }
  const size_t end = std::min(line.find_first_of(kBlanks, at), line.size());
  name = line.substr(at, end - at);
  return end;
}

// One argument after the program name, from `at` up to the blank outside quotes that ends
// it. Returns where it ends.
size_t ReadArgument(const Text& line, size_t at, Text& argument) {
  // 1 inside quotes, 0 outside; a run of quotes counts up, and three in a row give a
  // literal quote and start over outside.
  int quotes = 0;
  size_t backslashes = 0;  // the run of backslashes just copied
  while (at < line.size() && !(IsBlank(line[at]) && quotes == 0)) {
    const char16_t unit = line[at++];
    if (unit != u'"') {
      argument.push_back(unit);
      backslashes = unit == u'\\' ? backslashes + 1 : 0;
      continue;
    }
    // Half the backslashes stay; an odd one out escapes this quote.
    argument.resize(argument.size() - (backslashes + 1) / 2);
    if (backslashes % 2 == 1) {
      argument.push_back(u'"');
    } else {
      ++quotes;
    }
    backslashes = 0;
    for (; at < line.size() && line[at] == u'"'; ++at) {
      if (++quotes == 3) {
        argument.push_back(u'"');
        quotes = 0;
      }
    }
    if (quotes == 2) quotes = 0;
  }
  return at;
}

}  // namespace

std::vector<Text> SplitCommandLine(const Text& line) {
  std::vector<Text> words;
  if (line.empty()) return words;
  Text word;
  size_t at = ReadProgramName(line, 0, word);
  words.push_back(std::move(word));
  for (at = SkipBlanks(line, at); at < line.size(); at = SkipBlanks(line, at)) {
    word.clear();
    at = ReadArgument(line, at, word);
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace quorvex
