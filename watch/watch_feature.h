// The watch= and alert= lines as a feature: the news of each answered poll in one balloon, and
// with watch= lines the Players submenu of the watched players online, whose lines join
// their server.
#pragma once
#include "features/feature.h"
#include "watch/watch_news.h"

namespace quorvex {

class WatchFeature final : public Feature {
 public:
  WatchFeature(WatchNews news, FeatureHost& host) : news_(std::move(news)), host_(host) {}

  // The Players submenu, with watch= lines only.
  std::vector<MenuItem> MenuItems() override;
  bool ReadsPlayerNames() const override { return true; }
  // Any answered reply, error page or not, as the watch always took it; then the Players
  // submenu shows who is online.
  bool PollEnded(const AnsweredList& list, const PollFigures& figures, MenuTree& menu) override;
  std::optional<NewsBalloon> TakeNews(std::u16string_view lineBreak) override;
  void AddToSnapshot(PopupSnapshot& snapshot) const override;
  // A line of the Players submenu: joins the server the player was on when the popup opened.
  bool Click(std::string_view name, int index, const PopupSnapshot& snapshot) override;

 private:
  void ShowOnlinePlayers(MenuTree& menu);

  WatchNews news_;
  FeatureHost& host_;
  std::vector<ServerRecord> onlinePlayerServers_;  // of the Players submenu's lines
};

}  // namespace quorvex
