// The menu as StatusNotifierItem hosts read it over com.canonical.dbusmenu: every
// published state of the form's menu is a revision, each item keeps one id through all of
// them, and a click acts on the revision that host read last, so it reaches the server of
// the line the host showed even when a poll has re-sorted the list since. Plain C++, so the
// unit tests check it without a desktop.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/form1.h"

namespace quorvex {

class MenuRevisions {
 public:
  static constexpr int kRootId = 0;
  // Hosts whose last read is remembered; one more forgets the one that read longest ago.
  static constexpr size_t kMaxReaders = 8;

  // A click that is to run: the item's control name and index, and the menu it was on.
  struct Click {
    std::string name;
    int index = -1;
    std::shared_ptr<const PopupSnapshot> shown;
  };

  explicit MenuRevisions(PopupSnapshot first);

  // Makes `menu` the current revision; returns its number.
  uint32_t Publish(PopupSnapshot menu);
  uint32_t Revision() const { return revision_; }
  const PopupSnapshot& Current() const { return *revisions_.at(revision_); }

  // The item with this id in the current revision, the root for kRootId; null when none.
  const MenuItem* Find(int id) const { return Find(id, Current()); }
  // An item's id, the same in every revision (the root's is kRootId).
  int IdOf(const MenuItem& item) const;

  // `reader` (a host's bus name) has read the current revision.
  void ReadBy(const std::string& reader);
  // What a click by `reader` on item `id` runs: the item as the revision that reader read
  // last had it (the current one for a reader never seen). Nothing for an item that is
  // not there, not shown, a separator or a submenu.
  std::optional<Click> Clicked(const std::string& reader, int id) const;

 private:
  using Key = std::pair<std::string, int>;  // control name and index
  const MenuItem* Find(int id, const PopupSnapshot& menu) const;
  void NameItems(const MenuItem& item);
  void Forget();

  std::map<uint32_t, std::shared_ptr<const PopupSnapshot>> revisions_;
  uint32_t revision_ = 0;
  std::map<Key, int> ids_;
  std::map<int, Key> keys_;
  // Per reader: the revision it read last, and when (a count of reads), for forgetting.
  std::map<std::string, std::pair<uint32_t, uint64_t>> readers_;
  uint64_t reads_ = 0;
};

}  // namespace quorvex
