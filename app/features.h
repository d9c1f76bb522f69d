// The features Quorvex.ini switched on, called at their hooks in one place: Form1 calls these
// once each, whatever features there are.
#pragma once
#include <optional>
#include <string_view>
#include <vector>

#include "app/desktop.h"
#include "app/feature_list.h"

namespace quorvex {

class Features {
 public:
  explicit Features(Desktop& desktop) : desktop_(desktop) {}

  // Takes the features made (MakeFeatures), puts their menu items after the Servers submenu
  // and starts each.
  void Start(FeatureList list, MenuTree& menu);
  bool Any() const { return !list_.all.empty(); }
  // An answered list reply with its HTTP status: scanned once into every server, each
  // feature's TakeList. What they report is told by Timer3_Timer.
  void TakeList(const Text& reply, int32_t status);
  // After the menu rebuild, the same list to each feature's PollEnded; returns whether one
  // wrote the menu.
  bool EndPoll(const PollFigures& figures, MenuTree& menu);
  // `designed` as the features draw on it, in turn.
  NativeHandle TrayIcon(NativeHandle designed, const PollFigures& figures);
  // Whether a feature holds `balloon` back (the first that does keeps it).
  bool HoldBalloon(const BalloonToShow& balloon);
  // The news balloon of the first feature that has news.
  std::optional<NewsBalloon> TakeNews(std::u16string_view lineBreak);
  // A click on an item no specified handler has: to the feature whose item it is.
  void Click(std::string_view name, int index, const PopupSnapshot& snapshot);
  void AddToSnapshot(PopupSnapshot& snapshot) const;
  // Form_Unload's: what each must write; a failure is told by Form_Unload.
  void Unload();
  const HistoryFeature* History() const { return list_.history; }

 private:
  Desktop& desktop_;
  FeatureList list_;
  std::vector<ListedServer> servers_;  // of the poll's reply, scanned once
  int32_t status_ = 0;
  bool scanned_ = false;
};

}  // namespace quorvex
