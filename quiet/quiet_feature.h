// The quietWhilePlaying=1 line as a feature: while the game runs no balloon and no sound (the
// notifyCommand still runs at once); once it ended, one balloon tells what happened meanwhile.
#pragma once
#include "features/feature.h"
#include "quiet/game_check.h"
#include "quiet/held_balloons.h"

namespace quorvex {

class QuietFeature final : public Feature {
 public:
  explicit QuietFeature(GameCheck& game) : game_(game) {}

  // The one look at the process list of a poll: before the poll's balloons.
  std::optional<std::string> TakeList(const AnsweredList& list) override;
  // Whether the player limit is still reached, for the summary's limit part.
  bool PollEnded(const AnsweredList& list, const PollFigures& figures, MenuTree& menu) override;
  // While the game runs, every balloon is kept for the summary.
  bool HoldBalloon(const BalloonToShow& balloon) override;
  // The summary, at the first poll that finds the game ended. Made before the watch, so it
  // comes before the watch's fresh news, which waits a poll.
  std::optional<NewsBalloon> TakeNews(std::u16string_view lineBreak) override;

 private:
  GameCheck& game_;
  bool playing_ = false;  // as the latest look found it
  bool limitReached_ = false;
  HeldBalloons held_;
};

}  // namespace quorvex
