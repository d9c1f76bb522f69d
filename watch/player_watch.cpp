#include "watch/player_watch.h"

#include <algorithm>
#include <utility>

#include "watch/wildcard.h"

namespace quorvex {

PlayerWatch::PlayerWatch(std::vector<Text> patterns) : patterns_(std::move(patterns)) {}

bool PlayerWatch::IsWatched(const Text& playerName) const {
  return std::any_of(patterns_.begin(), patterns_.end(),
                     [&](const Text& pattern) { return WildcardMatch(pattern, playerName); });
}

std::vector<PlayerNews> PlayerWatch::TakeReply(const std::vector<ListedServer>& servers, int64_t nowMs) {
  std::vector<PlayerNews> news;
  if (patterns_.empty()) return news;
  ++replies_;
  for (const ListedServer& server : servers) {
    for (const Text& name : server.playerNames) {
      if (!IsWatched(name)) continue;
      const auto [entry, isNew] = lastSeen_.try_emplace(name);
      Sighting& seen = entry->second;
      if (!isNew && seen.reply == replies_) continue;  // an earlier server of this reply has it
      if (isNew || nowMs - seen.atMs > kOnlineWindowMs) {
        news.push_back({name, PlayerEvent::kOnline, server.name});
      } else if (seen.address != server.address || seen.port != server.port) {
        news.push_back({name, PlayerEvent::kMoved, server.name});
      }
      seen = {nowMs, server.address, server.port, replies_};
    }
  }
  // Names out of the window would come back as online anyway: forgetting them keeps the
  // memory to the names of the last five minutes.
  std::erase_if(lastSeen_, [&](const auto& entry) { return nowMs - entry.second.atMs > kOnlineWindowMs; });
  return news;
}

}  // namespace quorvex
