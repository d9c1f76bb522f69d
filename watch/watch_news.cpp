#include "watch/watch_news.h"

#include "watch/listed_servers.h"

namespace quorvex {

WatchNews::WatchNews(const std::vector<Text>& watchPatterns, const std::vector<AlertRule>& alertRules)
    : playerWatch_(watchPatterns), serverAlerts_(alertRules) {}

void WatchNews::TakeReply(const Text& listReply, int64_t nowMs) {
  if (!WatchesAnything()) return;
  const std::vector<ListedServer> servers = ScanListedServers(listReply);
  pending_.AddPlayerNews(playerWatch_.TakeReply(servers, nowMs));
  pending_.AddServerNews(serverAlerts_.TakeReply(servers, nowMs));
}

}  // namespace quorvex
