#include "icon_number/icon_number_feature.h"

namespace quorvex {

IconNumberFeature::IconNumberFeature(IconNumber shown, const std::vector<Text>& watchPatterns, NumberedIcons& icons,
                                     FeatureHost& host)
    : shown_(shown), watch_(watchPatterns), icons_(icons), host_(host) {}

std::optional<std::string> IconNumberFeature::TakeList(const AnsweredList& list) {
  answered_ = true;
  if (shown_ != IconNumber::kWatched) return std::nullopt;  // the busiest count comes with the figures
  watch_.TakeReply(list.servers, host_.NowMs());
  watchedOnline_ = static_cast<int>(watch_.OnlineNow().size());
  return std::nullopt;
}

NativeHandle IconNumberFeature::TrayIcon(NativeHandle designed, const PollFigures& figures) {
  if (!answered_) return designed;
  return icons_.WithNumber(designed, shown_ == IconNumber::kBusiest ? figures.maxPlayers : watchedOnline_);
}

}  // namespace quorvex
