#include "watch/server_alerts.h"

#include <functional>

#include "watch/wildcard.h"

namespace quorvex {

size_t ServerAlerts::ServerKeyHash::operator()(const ServerKey& key) const {
  const size_t address = std::hash<Text>{}(key.address);
  return address ^ (std::hash<Text>{}(key.port) + 0x9e3779b97f4a7c15u + (address << 6) + (address >> 2));
}

ServerAlerts::ServerAlerts(const std::vector<AlertRule>& rules) {
  for (const AlertRule& rule : rules) rules_.push_back({rule.players, FoldAsciiCase(rule.pattern), {}});
}

bool ServerAlerts::Reached(Rule& rule, const ServerKey& key, int32_t players, int64_t nowMs) {
  const auto told = rule.toldAtMs.find(key);
  if (told == rule.toldAtMs.end()) {
    if (players < rule.players) return false;
    rule.toldAtMs.emplace(key, nowMs);
    return true;
  }
  if (players < rule.players && nowMs - told->second >= kRearmDelayMs) rule.toldAtMs.erase(told);
  return false;
}

std::vector<ServerNews> ServerAlerts::TakeReply(const std::vector<ListedServer>& servers, int64_t nowMs) {
  std::vector<ServerNews> news;
  if (rules_.empty()) return news;
  std::unordered_set<ServerKey, ServerKeyHash> seen;
  Text folded;  // one buffer for every server name of the reply
  for (const ListedServer& server : servers) {
    const ServerKey key{server.address, server.port};
    // Only the first element of a server counts, whatever its count says.
    if (!seen.insert(key).second || !server.current_players) continue;
    FoldAsciiCaseInto(server.name, folded);
    bool told = false;
    for (Rule& rule : rules_) {
      // Every matching rule is asked, so each one a told server reached disarms for it.
      if (FoldedWildcardMatch(rule.foldedPattern, folded) && Reached(rule, key, *server.current_players, nowMs))
        told = true;
    }
    if (told) news.push_back({PlaceOf(server), *server.current_players});
  }
  // A told server the list no longer holds ten minutes on counts as below every count (it is
  // offline), so the rules keep only servers still listed: a master inventing new addresses
  // at every poll cannot grow them without end.
  for (Rule& rule : rules_) {
    std::erase_if(rule.toldAtMs, [&](const auto& told) {
      return nowMs - told.second >= kRearmDelayMs && !seen.contains(told.first);
    });
  }
  return news;
}

}  // namespace quorvex
