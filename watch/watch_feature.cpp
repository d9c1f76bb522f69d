#include "watch/watch_feature.h"

#include "common/steps.h"
#include "join/game_start.h"
#include "menu/players_menu.h"

namespace quorvex {

std::vector<MenuItem> WatchFeature::MenuItems() {
  if (!news_.WatchesPlayers()) return {};
  return {PlayersMenu()};
}

bool WatchFeature::PollEnded(const AnsweredList& list, const PollFigures& /*figures*/, MenuTree& menu) {
  RunStep([&] { news_.TakeServers(list.servers, host_.NowMs()); });
  if (!news_.WatchesPlayers()) return false;
  return RunStep([&] { ShowOnlinePlayers(menu); });
}

void WatchFeature::ShowOnlinePlayers(MenuTree& menu) {
  std::vector<Text> lines;
  onlinePlayerServers_.clear();
  for (const OnlinePlayer& player : news_.OnlinePlayers()) {
    lines.push_back(OnlinePlayerLine(player));
    if (onlinePlayerServers_.size() < kPlayerLines)
      onlinePlayerServers_.push_back(RecordToJoin(player.server.name, player.server.address, player.server.port));
  }
  WritePlayersMenu(menu, lines);
}

std::optional<NewsBalloon> WatchFeature::TakeNews(std::u16string_view lineBreak) {
  if (!news_.HasNews()) return std::nullopt;
  return news_.TakeBalloon(lineBreak);
}

void WatchFeature::AddToSnapshot(PopupSnapshot& snapshot) const { snapshot.onlinePlayerServers = onlinePlayerServers_; }

bool WatchFeature::Click(std::string_view name, int index, const PopupSnapshot& snapshot) {
  if (name != "menOnlinePlayer") return false;
  if (index >= 1 && index <= std::ssize(snapshot.onlinePlayerServers))
    host_.Join(snapshot.onlinePlayerServers[static_cast<size_t>(index - 1)]);
  return true;
}

}  // namespace quorvex
