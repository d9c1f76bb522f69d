// The balloons held back while the game ran, kept as the one balloon that tells them after
// it: the player-limit balloon's text, then the watch's lines, each player and each server
// once, with the latest of its lines.
#pragma once
#include <optional>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "servers/server_table.h"
#include "watch/news_balloon.h"

namespace quorvex {

class HeldBalloons {
 public:
  // The player-limit balloon; a later one takes its place.
  void HoldLimit(const Text& text, const std::optional<ServerRecord>& server);
  // The limit balloon was shown after all: the summary does not tell it again.
  void ForgetLimit() { limit_.reset(); }
  // A watch balloon: its lines ("NAME on SERVER", "NAME moved to SERVER", "SERVER has P
  // players"). A player or server already held keeps its place and takes the new line. Only
  // the first line's server is known (the one its click joins). A last line "and N more"
  // stands for lines this balloon never held, so it is not kept.
  void HoldNews(const Text& text, const std::optional<ServerRecord>& server);
  bool IsEmpty() const { return !limit_ && playerLines_.empty() && serverLines_.empty(); }
  // The one balloon of all that is held, the limit part only `withLimit`; then all is
  // forgotten. None when that leaves nothing to tell. Its click joins the server of its first
  // line, as the watch's balloon does.
  std::optional<NewsBalloon> TakeSummary(bool withLimit, std::u16string_view lineBreak);

 private:
  struct HeldLine {
    Text key;  // what two lines about the same player or server share
    Text text;
    std::optional<ServerPlace> server;
  };
  struct HeldLimit {
    Text text;
    std::optional<ServerPlace> server;
  };

  static void Hold(std::vector<HeldLine>& lines, HeldLine line);

  std::optional<HeldLimit> limit_;
  std::vector<HeldLine> playerLines_;  // in the summary before the servers' lines
  std::vector<HeldLine> serverLines_;
};

}  // namespace quorvex
