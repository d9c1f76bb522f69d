#include "watch/news_balloon.h"

#include "common/numbers.h"

namespace quorvex {

Text CutServerName(const Text& serverName) { return CutUnits(serverName, kNewsServerNameUnits); }

Text PlayerNewsLine(const PlayerNews& news) {
  return news.name + (news.event == PlayerEvent::kMoved ? u" moved to " : u" on ") + CutServerName(news.server.name);
}

Text ServerNewsLine(const ServerNews& news) {
  return CutServerName(news.server.name) + u" has " + FormatPlain(news.players) + u" players";
}

Text OnlinePlayerLine(const OnlinePlayer& player) { return player.name + u"    " + CutServerName(player.server.name); }

JoinedNews JoinNewsLines(const std::vector<Text>& lines, std::u16string_view separator) {
  Text kept;
  size_t keptLines = 0;
  for (; keptLines < lines.size(); ++keptLines) {
    Text longer = keptLines == 0 ? lines[keptLines] : kept + Text(separator) + lines[keptLines];
    const size_t leftOut = lines.size() - keptLines - 1;
    const Text more = leftOut == 0 ? Text() : Text(separator) + u"and " + FormatPlain(int64_t(leftOut)) + u" more";
    if (longer.size() + more.size() > kNewsTextUnits) break;
    kept = std::move(longer);
  }
  if (keptLines == lines.size()) return {kept, keptLines};
  const Text more = u"and " + FormatPlain(int64_t(lines.size() - keptLines)) + u" more";
  return {keptLines == 0 ? more : kept + Text(separator) + more, keptLines};
}

namespace {

// `item` after the others, or in the place of the one pending under the same key.
template <typename News>
void AddOrReplace(std::vector<News>& pending, std::unordered_map<Text, size_t>& places, const Text& key,
                  const News& item) {
  const auto [entry, isNew] = places.try_emplace(key, pending.size());
  if (isNew) {
    pending.push_back(item);
  } else {
    pending[entry->second] = item;
  }
}

}  // namespace

void PendingNews::AddPlayerNews(const std::vector<PlayerNews>& news) {
  for (const PlayerNews& item : news) AddOrReplace(players_, placeOfName_, item.name, item);
}

void PendingNews::AddServerNews(const std::vector<ServerNews>& news) {
  for (const ServerNews& item : news) {
    const Text key = FormatPlain(int64_t(item.server.address.size())) + u":" + item.server.address + item.server.port;
    AddOrReplace(servers_, placeOfServer_, key, item);
  }
}

std::vector<Text> PendingNews::Lines() const {
  std::vector<Text> lines;
  for (const PlayerNews& news : players_) lines.push_back(PlayerNewsLine(news));
  for (const ServerNews& news : servers_) lines.push_back(ServerNewsLine(news));
  return lines;
}

std::vector<ServerPlace> PendingNews::ServersOfLines() const {
  std::vector<ServerPlace> servers;
  for (const PlayerNews& news : players_) servers.push_back(news.server);
  for (const ServerNews& news : servers_) servers.push_back(news.server);
  return servers;
}

NewsBalloon PendingNews::TakeBalloon(std::u16string_view separator) {
  JoinedNews joined = JoinNewsLines(Lines(), separator);
  NewsBalloon balloon{std::move(joined.text), std::nullopt};
  if (joined.wholeLines > 0) balloon.server = ServersOfLines().front();
  players_.clear();
  placeOfName_.clear();
  servers_.clear();
  placeOfServer_.clear();
  return balloon;
}

}  // namespace quorvex
