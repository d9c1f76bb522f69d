#include "history/history_feature.h"

#include "history/history_menu.h"

namespace quorvex {

std::vector<MenuItem> HistoryFeature::MenuItems() { return {HistoryItem()}; }

void HistoryFeature::Start() { history_->DeleteOldMonths(host_.WallClockMs()); }

std::optional<std::string> HistoryFeature::TakeList(const AnsweredList& list) {
  if (list.status != 200) return std::nullopt;
  return history_->TakeReply(list.servers, host_.WallClockMs());
}

bool HistoryFeature::Click(std::string_view name, int /*index*/, const PopupSnapshot& /*snapshot*/) {
  if (name != "menHistory") return false;
  openWindow_();
  return true;
}

}  // namespace quorvex
