#include "watch/player_watch.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "watch/wildcard.h"

namespace quorvex {

PlayerWatch::PlayerWatch(const std::vector<Text>& patterns) {
  for (const Text& pattern : patterns) foldedPatterns_.push_back(FoldAsciiCase(pattern));
}

bool PlayerWatch::IsWatched(const Text& playerName) const { return MatchesAnyPattern(FoldAsciiCase(playerName)); }

bool PlayerWatch::MatchesAnyPattern(std::u16string_view foldedName) const {
  return std::any_of(foldedPatterns_.begin(), foldedPatterns_.end(),
                     [&](const Text& pattern) { return FoldedWildcardMatch(pattern, foldedName); });
}

std::vector<PlayerNews> PlayerWatch::TakeReply(const std::vector<ListedServer>& servers, int64_t nowMs) {
  std::vector<PlayerNews> news;
  if (foldedPatterns_.empty()) return news;
  ++replies_;
  std::vector<std::pair<Text, OnlinePlayer>> online;  // with the folded name, their order's first key
  Text folded;  // one buffer for the tens of thousands of names a reply may hold
  for (const ListedServer& server : servers) {
    for (const Text& name : server.playerNames) {
      FoldAsciiCaseInto(name, folded);
      if (!MatchesAnyPattern(folded)) continue;
      const auto [entry, isNew] = lastSeen_.try_emplace(name);
      Sighting& seen = entry->second;
      if (!isNew && seen.reply == replies_) continue;  // an earlier server of this reply has it
      if (isNew || nowMs - seen.atMs > kOnlineWindowMs) {
        news.push_back({name, PlayerEvent::kOnline, PlaceOf(server)});
      } else if (seen.address != server.address || seen.port != server.port) {
        news.push_back({name, PlayerEvent::kMoved, PlaceOf(server)});
      }
      seen = {nowMs, server.address, server.port, replies_};
      online.push_back({folded, {name, PlaceOf(server)}});
    }
  }
  std::sort(online.begin(), online.end(), [](const auto& a, const auto& b) {
    return std::tie(a.first, a.second.name) < std::tie(b.first, b.second.name);
  });
  online_.clear();
  for (auto& [key, player] : online) online_.push_back(std::move(player));
  // Names out of the window would come back as online anyway: forgetting them keeps the
  // memory to the names of the last five minutes.
  std::erase_if(lastSeen_, [&](const auto& entry) { return nowMs - entry.second.atMs > kOnlineWindowMs; });
  return news;
}

}  // namespace quorvex
