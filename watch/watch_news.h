// The news of the player's watch= and alert= lines, reply by reply: who came online or moved,
// which favourite server reached its count, gathered for the one news balloon.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "watch/alert_rule.h"
#include "watch/listed_servers.h"
#include "watch/news_balloon.h"
#include "watch/player_watch.h"
#include "watch/server_alerts.h"

namespace quorvex {

class WatchNews {
 public:
  WatchNews(const std::vector<Text>& watchPatterns, const std::vector<AlertRule>& alertRules);

  // Whether there is anything to watch: without watch= or alert= lines no reply is scanned.
  bool WatchesAnything() const { return playerWatch_.WatchesAnyone() || serverAlerts_.HasRules(); }
  // Takes in the servers of an answered list reply (ScanListedServers) that arrived at `nowMs`
  // (the program's monotonic clock); its news joins what waits to be shown.
  void TakeServers(const std::vector<ListedServer>& servers, int64_t nowMs);
  bool HasNews() const { return !pending_.IsEmpty(); }
  // The balloon of everything waiting, its lines joined by `lineBreak`; then forgotten.
  NewsBalloon TakeBalloon(std::u16string_view lineBreak) { return pending_.TakeBalloon(lineBreak); }
  // Whether watch= lines name players: only then has the menu a Players submenu.
  bool WatchesPlayers() const { return playerWatch_.WatchesAnyone(); }
  // The watched players of the latest reply taken, sorted by name (see PlayerWatch::OnlineNow).
  const std::vector<OnlinePlayer>& OnlinePlayers() const { return playerWatch_.OnlineNow(); }

 private:
  PlayerWatch playerWatch_;
  ServerAlerts serverAlerts_;
  PendingNews pending_;
};

}  // namespace quorvex
