// The player counts of the open 5-minute bucket: per server the highest count it had and its
// latest name, and the highest total of one reply.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "history/history_csv.h"
#include "watch/listed_servers.h"

namespace quorvex {

// One bucket's rows, ready to be written.
struct FinishedBucket {
  int64_t bucketMs = 0;
  std::vector<HistoryRow> rows;  // the total row first, then the servers as they first had players
};

class BucketRecorder {
 public:
  // Takes in an answered list reply read at `utcMs`. When it falls in another bucket than the
  // open one, the open one is finished and handed back, and this reply opens the next.
  // A server counts with a whole number of players above 0; one without an address, or
  // with address "*" and port "0" (the total row's), cannot be told apart and is left out
  // of the rows, though its players count in the total. The rows' texts are as the files
  // hold them (TextAsWritten: line breaks and control characters blanks).
  std::optional<FinishedBucket> TakeReply(const std::vector<ListedServer>& servers, int64_t utcMs);
  // The open bucket as it stands (Exit, and the chart's latest bucket); nothing when no reply
  // was taken since the last one was handed back.
  std::optional<FinishedBucket> OpenBucket() const;
  // Hands back the open bucket and forgets it.
  std::optional<FinishedBucket> Finish();

 private:
  // Texts stay as the reply has them until the bucket is handed back: a poll converts nothing.
  struct ServerCount {
    Text name;
    int64_t players = 0;
  };
  std::optional<int64_t> bucketMs_;
  int64_t highestTotal_ = 0;
  // Keyed by address and port; `order_` keeps the order servers first had players in.
  std::unordered_map<Text, ServerCount> servers_;
  std::vector<std::pair<Text, Text>> order_;  // address, port
  Text key_;  // reused, so a poll of known servers makes no allocation for keys
};

}  // namespace quorvex
