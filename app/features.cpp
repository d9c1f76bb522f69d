#include "app/features.h"

#include "common/steps.h"

namespace quorvex {

void Features::Start(FeatureList list, MenuTree& menu) {
  list_ = std::move(list);
  std::string after = "menServer";
  for (const auto& feature : list_.all) {
    for (MenuItem& item : feature->MenuItems()) {
      const std::string name = item.name;
      menu.InsertAfter(after, std::move(item));
      after = name;
    }
    RunStep([&] { feature->Start(); });
  }
}

void Features::TakeList(const Text& reply, int32_t status) {
  status_ = status;
  servers_.clear();
  bool withPlayerNames = false;
  for (const auto& feature : list_.all) withPlayerNames = withPlayerNames || feature->ReadsPlayerNames();
  // A reply that could not be scanned is taken by none of them, as if unanswered.
  scanned_ = RunStep([&] { servers_ = ScanListedServers(reply, withPlayerNames); });
  if (!scanned_) return;
  for (const auto& feature : list_.all) {
    RunStep([&] {
      if (const auto problem = feature->TakeList({servers_, status_})) desktop_.ReportError("Timer3_Timer", *problem);
    });
  }
}

bool Features::EndPoll(const PollFigures& figures, MenuTree& menu) {
  bool menuWritten = false;
  if (!scanned_) return false;
  for (const auto& feature : list_.all) {
    RunStep([&] { menuWritten = feature->PollEnded({servers_, status_}, figures, menu) || menuWritten; });
  }
  return menuWritten;
}

NativeHandle Features::TrayIcon(NativeHandle designed, const PollFigures& figures) {
  for (const auto& feature : list_.all) designed = feature->TrayIcon(designed, figures);
  return designed;
}

bool Features::HoldBalloon(const BalloonToShow& balloon) {
  for (const auto& feature : list_.all) {
    if (feature->HoldBalloon(balloon)) return true;
  }
  return false;
}

std::optional<NewsBalloon> Features::TakeNews(std::u16string_view lineBreak) {
  for (const auto& feature : list_.all) {
    if (std::optional<NewsBalloon> balloon = feature->TakeNews(lineBreak)) return balloon;
  }
  return std::nullopt;
}

void Features::Click(std::string_view name, int index, const PopupSnapshot& snapshot) {
  for (const auto& feature : list_.all) {
    if (feature->Click(name, index, snapshot)) return;
  }
}

void Features::AddToSnapshot(PopupSnapshot& snapshot) const {
  for (const auto& feature : list_.all) feature->AddToSnapshot(snapshot);
}

void Features::Unload() {
  for (const auto& feature : list_.all) {
    RunStep([&] {
      if (const auto problem = feature->Unload()) desktop_.ReportError("Form_Unload", *problem);
    });
  }
}

}  // namespace quorvex
