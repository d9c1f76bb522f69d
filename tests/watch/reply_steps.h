// Replies fed one at a time to a watch over a clock the test sets, each with the news it
// must give.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "watch/listed_servers.h"

namespace quorvex {

template <typename News>
struct ReplyStep {
  int64_t atMs;  // when the reply arrived
  std::vector<ListedServer> reply;
  std::vector<News> news;
};

// `watch` is a PlayerWatch or a ServerAlerts: anything with TakeReply(servers, nowMs).
template <typename Watch, typename News>
void RunReplySteps(Watch& watch, const std::vector<ReplyStep<News>>& steps) {
  for (size_t i = 0; i < steps.size(); ++i)
    EXPECT_EQ(watch.TakeReply(steps[i].reply, steps[i].atMs), steps[i].news) << "reply " << i + 1;
}

}  // namespace quorvex
