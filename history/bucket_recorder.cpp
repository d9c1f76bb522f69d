#include "history/bucket_recorder.h"

#include <algorithm>

#include "history/utc_time.h"

namespace quorvex {

namespace {

// The address's length, ":", the address and the port: no two pairs make one key.
void MakeKey(const Text& address, const Text& port, Text& key) {
  key.clear();
  for (const char digit : std::to_string(address.size())) key += static_cast<char16_t>(digit);
  key.append(1, u':').append(address).append(port);
}

bool CanBeToldApart(const Text& address, const Text& port) { return !address.empty() && !(address == u"*" && port == u"0"); }

}  // namespace

std::optional<FinishedBucket> BucketRecorder::TakeReply(const std::vector<ListedServer>& servers, int64_t utcMs) {
  const int64_t bucketMs = BucketStart(utcMs);
  std::optional<FinishedBucket> finished;
  if (bucketMs_ != bucketMs) finished = Finish();
  bucketMs_ = bucketMs;
  int64_t total = 0;
  for (const ListedServer& server : servers) {
    const int64_t players = server.current_players.value_or(0);
    total += players;
    if (!CanBeToldApart(server.address, server.port)) continue;
    MakeKey(server.address, server.port, key_);
    auto found = servers_.find(key_);
    if (found == servers_.end()) {
      if (players <= 0) continue;
      found = servers_.emplace(key_, ServerCount{}).first;
      order_.emplace_back(server.address, server.port);
    }
    if (found->second.name != server.name) found->second.name = server.name;  // a listing without players renames it too
    found->second.players = std::max(found->second.players, players);
  }
  highestTotal_ = std::max(highestTotal_, std::min(total, kMaxRowPlayers));
  return finished;
}

std::optional<FinishedBucket> BucketRecorder::OpenBucket() const {
  if (!bucketMs_) return std::nullopt;
  FinishedBucket bucket{*bucketMs_, {}};
  bucket.rows.reserve(order_.size() + 1);
  bucket.rows.push_back({*bucketMs_, std::string(kTotalAddress), std::string(kTotalPort), "", highestTotal_});
  Text key;
  for (const auto& [address, port] : order_) {
    MakeKey(address, port, key);
    const ServerCount& count = servers_.at(key);
    bucket.rows.push_back({*bucketMs_, TextAsWritten(ToUtf8(address)), TextAsWritten(ToUtf8(port)),
                           TextAsWritten(ToUtf8(count.name)), count.players});
  }
  return bucket;
}

std::optional<FinishedBucket> BucketRecorder::Finish() {
  std::optional<FinishedBucket> bucket = OpenBucket();
  bucketMs_.reset();
  highestTotal_ = 0;
  servers_.clear();
  order_.clear();
  return bucket;
}

}  // namespace quorvex
