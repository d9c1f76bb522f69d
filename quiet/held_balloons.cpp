#include "quiet/held_balloons.h"

#include <algorithm>

#include "common/numbers.h"

namespace quorvex {

namespace {

bool IsNumber(std::u16string_view text) {
  return !text.empty() && std::ranges::all_of(text, [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// The balloon's text cut at each line break (CR LF on Windows, LF on Linux).
std::vector<Text> Lines(const Text& text) {
  std::vector<Text> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(text.find(u'\n', start), text.size());
    const bool crBefore = end > start && text[end - 1] == u'\r';
    lines.push_back(text.substr(start, end - start - (crBefore ? 1 : 0)));
    if (end == text.size()) return lines;
    start = end + 1;
  }
}

// "and N more": the count of lines a full balloon left out.
bool IsMoreLine(std::u16string_view line) {
  constexpr std::u16string_view kAnd = u"and ", kMore = u" more";
  return line.size() > kAnd.size() + kMore.size() && line.starts_with(kAnd) && line.ends_with(kMore) &&
         IsNumber(line.substr(kAnd.size(), line.size() - kAnd.size() - kMore.size()));
}

// The server of "SERVER has P players", if the line is one.
std::optional<Text> ServerOfCountLine(std::u16string_view line) {
  constexpr std::u16string_view kHas = u" has ", kPlayers = u" players";
  if (!line.ends_with(kPlayers)) return std::nullopt;
  const std::u16string_view beforePlayers = line.substr(0, line.size() - kPlayers.size());
  const size_t has = beforePlayers.rfind(kHas);
  if (has == std::u16string_view::npos || !IsNumber(beforePlayers.substr(has + kHas.size()))) return std::nullopt;
  return Text(line.substr(0, has));
}

// The player of "NAME on SERVER" or "NAME moved to SERVER", if the line is one.
std::optional<Text> PlayerOfLine(std::u16string_view line) {
  const size_t end = std::min(line.find(u" on "), line.find(u" moved to "));
  if (end == std::u16string_view::npos) return std::nullopt;
  return Text(line.substr(0, end));
}

std::optional<ServerPlace> PlaceOf(const std::optional<ServerRecord>& server) {
  if (!server) return std::nullopt;
  return ServerPlace{server->name, server->address, FormatPlain(server->port)};
}

}  // namespace

void HeldBalloons::HoldLimit(const Text& text, const std::optional<ServerRecord>& server) {
  limit_ = HeldLimit{text, PlaceOf(server)};
}

void HeldBalloons::HoldNews(const Text& text, const std::optional<ServerRecord>& server) {
  const std::vector<Text> lines = Lines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const Text& line = lines[i];
    if (IsMoreLine(line)) continue;
    std::optional<ServerPlace> place = i == 0 ? PlaceOf(server) : std::nullopt;
    if (const std::optional<Text> name = ServerOfCountLine(line)) {
      Hold(serverLines_, {u"server " + *name, line, std::move(place)});
    } else if (const std::optional<Text> player = PlayerOfLine(line)) {
      Hold(playerLines_, {u"player " + *player, line, std::move(place)});
    } else {
      Hold(playerLines_, {u"line " + line, line, std::move(place)});
    }
  }
}

void HeldBalloons::Hold(std::vector<HeldLine>& lines, HeldLine line) {
  const auto same = std::ranges::find(lines, line.key, &HeldLine::key);
  if (same == lines.end()) {
    lines.push_back(std::move(line));
  } else {
    // The same line again, from a place of its balloon whose server is not known, keeps
    // the server known before.
    if (!line.server && line.text == same->text) line.server = same->server;
    *same = std::move(line);
  }
}

std::optional<NewsBalloon> HeldBalloons::TakeSummary(bool withLimit, std::u16string_view lineBreak) {
  std::vector<Text> texts;
  std::vector<std::optional<ServerPlace>> servers;
  if (limit_ && withLimit) {
    texts.push_back(limit_->text);
    servers.push_back(limit_->server);
  }
  for (const auto* held : {&playerLines_, &serverLines_}) {
    for (const HeldLine& line : *held) {
      texts.push_back(line.text);
      servers.push_back(line.server);
    }
  }
  limit_.reset();
  playerLines_.clear();
  serverLines_.clear();
  if (texts.empty()) return std::nullopt;
  JoinedNews joined = JoinNewsLines(texts, lineBreak);
  NewsBalloon balloon{std::move(joined.text), std::nullopt, true};
  if (joined.wholeLines > 0) balloon.server = servers.front();
  return balloon;
}

}  // namespace quorvex
