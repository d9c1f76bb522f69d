#include "quiet/quiet_feature.h"

namespace quorvex {

std::optional<std::string> QuietFeature::TakeList(const AnsweredList& /*list*/) {
  playing_ = game_.GameRuns();
  return std::nullopt;
}

bool QuietFeature::PollEnded(const AnsweredList& /*list*/, const PollFigures& figures, MenuTree& /*menu*/) {
  limitReached_ = figures.maxPlayers >= figures.playerLimit;
  return false;
}

bool QuietFeature::HoldBalloon(const BalloonToShow& balloon) {
  if (!playing_) {
    if (balloon.event == NotifyEvent::Limit) held_.ForgetLimit();  // shown now: not told twice
    return false;
  }
  if (balloon.event == NotifyEvent::Limit) {
    held_.HoldLimit(balloon.text, balloon.server);
  } else {
    held_.HoldNews(balloon.text, balloon.server);
  }
  return true;
}

std::optional<NewsBalloon> QuietFeature::TakeNews(std::u16string_view lineBreak) {
  if (playing_ || held_.IsEmpty()) return std::nullopt;
  return held_.TakeSummary(limitReached_, lineBreak);
}

}  // namespace quorvex
