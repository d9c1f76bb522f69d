// The player history of a history= line as a feature: "History…" in the popup, each answered
// list recorded at the time of day, the open bucket written at Exit.
#pragma once
#include <functional>
#include <memory>

#include "features/feature.h"
#include "history/player_history.h"

namespace quorvex {

class HistoryFeature final : public Feature {
 public:
  // `openWindow` shows the history window (the front end's).
  HistoryFeature(std::unique_ptr<PlayerHistory> history, FeatureHost& host, std::function<void()> openWindow)
      : history_(std::move(history)), host_(host), openWindow_(std::move(openWindow)) {}

  // What the history window draws.
  const PlayerHistory& History() const { return *history_; }

  std::vector<MenuItem> MenuItems() override;
  // Deletes the months past keeping.
  void Start() override;
  // Only a list that is one: an error page of a master that is down is a time without a
  // list, not a time without players.
  std::optional<std::string> TakeList(const AnsweredList& list) override;
  bool Click(std::string_view name, int index, const PopupSnapshot& snapshot) override;
  // Writes the open bucket.
  std::optional<std::string> Unload() override { return history_->Flush(); }

 private:
  std::unique_ptr<PlayerHistory> history_;
  FeatureHost& host_;
  std::function<void()> openWindow_;
};

}  // namespace quorvex
