// The iconNumber= line as a feature: the tray icon, normal or alert, with a number on it, the
// players on the busiest server or the watched players online, new with every poll.
#pragma once
#include <optional>
#include <vector>

#include "features/feature.h"
#include "icon_number/numbered_icons.h"
#include "settings/ini_file.h"
#include "watch/player_watch.h"

namespace quorvex {

class IconNumberFeature final : public Feature {
 public:
  // `watchPatterns`: the watch= lines, whose players online `IconNumber::kWatched` counts.
  IconNumberFeature(IconNumber shown, const std::vector<Text>& watchPatterns, NumberedIcons& icons, FeatureHost& host);

  bool ReadsPlayerNames() const override { return shown_ == IconNumber::kWatched; }
  // Any answered reply, error page or not, as the watch takes it: who is online in it. A
  // failed poll is no reply: who was online stays.
  std::optional<std::string> TakeList(const AnsweredList& list) override;
  // Before the first answered poll, `designed` itself: there is no number yet.
  NativeHandle TrayIcon(NativeHandle designed, const PollFigures& figures) override;

 private:
  IconNumber shown_;
  PlayerWatch watch_;
  NumberedIcons& icons_;
  FeatureHost& host_;
  bool answered_ = false;  // whether a poll has been answered yet
  int watchedOnline_ = 0;
};

}  // namespace quorvex
