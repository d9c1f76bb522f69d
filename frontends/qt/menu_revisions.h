// The menu as StatusNotifierItem hosts read it over com.canonical.dbusmenu, and what each
// host knows of it. Every published state of the form's menu is a revision and each item
// keeps one id through all of them. Per host and per item the properties it was given are
// kept, so a publish tells each host only what changed for it (its label rule may differ
// from another host's), a parent whose children changed is named, and a click acts on the
// line as that host showed it, even when a poll has re-sorted the list since. Plain C++,
// so the unit tests check it with stand-in hosts.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "frontends/qt/menu_properties.h"

namespace quorvex {

class MenuRevisions {
 public:
  static constexpr int kRootId = 0;
  // Hosts remembered; one more forgets the one that called longest ago.
  static constexpr size_t kMaxHosts = 8;
  // A click this soon after the host was sent a change of that line may have been aimed
  // at the line as it was before: the host draws the change only once it has it.
  static constexpr uint64_t kSettleMs = 500;
  using Clock = std::function<uint64_t()>;  // milliseconds, never going back

  struct Host {
    std::string name;  // its bus name
    LabelRule rule = LabelRule::kMnemonic;
  };

  // An item with the properties asked for, and its children down to the depth asked for.
  struct Node {
    int id = kRootId;
    MenuProperties properties;
    std::vector<Node> children;
  };

  struct ItemProperties {
    int id = kRootId;
    MenuProperties properties;
  };

  struct ItemPropertyNames {
    int id = kRootId;
    std::vector<std::string> names;
  };

  // What one host is to be told after a publish: its ItemsPropertiesUpdated and the
  // parents whose children it read and which changed (LayoutUpdated).
  struct News {
    std::string host;
    std::vector<ItemProperties> updated;
    std::vector<ItemPropertyNames> removed;
    std::vector<int> changedParents;

    bool Empty() const { return updated.empty() && removed.empty() && changedParents.empty(); }
  };

  // A click that is to run: the item's control name and index, and the menu it was on.
  struct Click {
    std::string name;
    int index = -1;
    std::shared_ptr<const PopupSnapshot> shown;
  };

  explicit MenuRevisions(PopupSnapshot first, Clock clock = SteadyMs);

  // Makes `menu` the current revision; returns, for each host that is to hear of it, what
  // changed for it (hosts with nothing to hear are left out). The host's knowledge is
  // updated as if it had been told.
  std::vector<News> Publish(PopupSnapshot menu);
  uint32_t Revision() const { return revision_; }
  const PopupSnapshot& Current() const { return *revisions_.at(revision_); }

  // The item with this id in the current revision, the root for kRootId; null when none.
  const MenuItem* Find(int id) const { return Find(id, Current()); }
  // An item's id, the same in every revision (the root's is kRootId).
  int IdOf(const MenuItem& item) const;

  // The host reads: GetLayout (depth -1 is all), GetGroupProperties, GetProperty. No names
  // asks for every property. Null/empty for an id that is not in the current menu.
  std::optional<Node> Layout(const Host& host, int parentId, int depth, const std::vector<std::string>& names);
  std::vector<ItemProperties> GroupProperties(const Host& host, const std::vector<int>& ids,
                                              const std::vector<std::string>& names);
  std::optional<MenuProperty> Property(const Host& host, int id, const std::string& name);

  // Whether the submenu `id` changed since `host` last read it: it never read its
  // children, or was told since that they are others (their properties it is told of as
  // they change). Never for an item that is no submenu.
  bool ChangedSinceRead(const std::string& host, int id) const;
  // The submenus whose items the host has never read though it knows the submenu: a host
  // that reads one level at a time would show such a submenu empty when it is first
  // opened. Each is named once per host.
  std::vector<int> SubmenusNeverRead(const std::string& host);

  // What a click by `host` on item `id` runs: the item as the revision whose state of it
  // the host showed. Nothing for a host that has not been shown that item as a whole (it
  // read only some of its properties, or never read it), for a line whose text, showing or
  // enabling the host was sent less than kSettleMs ago, for an item that is not there, a
  // separator, a submenu, or not shown or disabled as the host has it.
  std::optional<Click> Clicked(const std::string& host, int id) const;

  // The hosts that are remembered, and forgetting one (its bus name has gone) or all.
  std::vector<std::string> Hosts() const;
  void Forget(const std::string& host);
  void ForgetHosts();

 private:
  using Key = std::pair<std::string, int>;  // control name and index
  // One item as a host has it: the properties it was given, and the revision whose item
  // they all agree with (0 while they agree with none).
  struct ItemView {
    MenuProperties known;
    uint32_t shownAt = 0;
    std::optional<uint64_t> redrawnAt;  // when it was last sent a change that shows
  };
  struct HostView {
    LabelRule rule = LabelRule::kMnemonic;
    std::map<int, ItemView> items;
    std::map<int, std::vector<int>> children;  // per parent whose children it read
    std::vector<int> changedParents;           // told they changed, not read since
    std::vector<int> namedSubmenus;            // told of by SubmenusNeverRead
    uint64_t lastCall = 0;
  };

  const MenuItem* Find(int id, const PopupSnapshot& menu) const;
  void NameItems(const MenuItem& item);
  std::vector<int> ChildIds(const MenuItem& item) const;
  HostView& Meet(const Host& host);
  Node Read(HostView& view, const MenuItem& item, int depth, const std::vector<std::string>& names);
  void Learn(HostView& view, int id, const MenuProperties& given);
  void Settle(ItemView& item, int id, LabelRule rule) const;
  void Settle(ItemView& item, const MenuProperties& now) const;
  News Tell(const std::string& host, HostView& view, const PopupSnapshot& before);
  void TellItem(LabelRule rule, int id, ItemView& item, const PopupSnapshot& before, News& news);
  void Prune();
  static uint64_t SteadyMs();

  std::map<uint32_t, std::shared_ptr<const PopupSnapshot>> revisions_;
  uint32_t revision_ = 0;
  std::map<Key, int> ids_;
  std::map<int, Key> keys_;
  std::map<std::string, HostView> hosts_;
  uint64_t calls_ = 0;
  Clock clock_;
};

}  // namespace quorvex
