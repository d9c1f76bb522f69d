#include "watch/watch_news.h"

namespace quorvex {

WatchNews::WatchNews(const std::vector<Text>& watchPatterns, const std::vector<AlertRule>& alertRules)
    : playerWatch_(watchPatterns), serverAlerts_(alertRules) {}

void WatchNews::TakeServers(const std::vector<ListedServer>& servers, int64_t nowMs) {
  if (!WatchesAnything()) return;
  pending_.AddPlayerNews(playerWatch_.TakeReply(servers, nowMs));
  pending_.AddServerNews(serverAlerts_.TakeReply(servers, nowMs));
}

}  // namespace quorvex
