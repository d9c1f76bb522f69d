#include "frontends/qt/menu_revisions.h"

#include <algorithm>
#include <chrono>

namespace quorvex {

namespace {

// Whether the item `name`/`index` is under `item` with every menu on the way to it shown.
bool ShownUnder(const MenuItem& item, const std::string& name, int index) {
  for (const MenuItem& child : item.children) {
    if (child.name == name && child.index == index) return child.visible;
    if (child.visible && ShownUnder(child, name, index)) return true;
  }
  return false;
}

MenuProperties OnlyNamed(MenuProperties properties, const std::vector<std::string>& names) {
  if (names.empty()) return properties;  // no names asks for all
  std::erase_if(properties, [&](const auto& property) {
    return std::find(names.begin(), names.end(), property.first) == names.end();
  });
  return properties;
}

// Whether a host that knows `known` shows an item that has `properties`: every property it
// knows is as it is there, and it knows the label (a host may leave out what it does not
// draw, but an item without its label is a blank line).
bool Agrees(const MenuProperties& known, const MenuProperties& properties) {
  const bool hasLabel = properties.count("label") == 0 || known.count("label") != 0;
  return hasLabel && std::all_of(properties.begin(), properties.end(), [&](const auto& property) {
           const auto found = known.find(property.first);
           return found == known.end() || found->second == property.second;
         });
}

}  // namespace

MenuRevisions::MenuRevisions(PopupSnapshot first, Clock clock) : clock_(std::move(clock)) {
  NameItems(first.menu.Root());
  revisions_[++revision_] = std::make_shared<const PopupSnapshot>(std::move(first));
}

std::vector<MenuRevisions::News> MenuRevisions::Publish(PopupSnapshot menu) {
  NameItems(menu.menu.Root());
  const std::shared_ptr<const PopupSnapshot> before = revisions_.at(revision_);
  revisions_[++revision_] = std::make_shared<const PopupSnapshot>(std::move(menu));
  std::vector<News> news;
  for (auto& [name, view] : hosts_) {
    News told = Tell(name, view, *before);
    if (!told.Empty()) news.push_back(std::move(told));
  }
  Prune();
  return news;
}

// Ids in the order of the first revision that had the item; the root is not numbered.
void MenuRevisions::NameItems(const MenuItem& item) {
  for (const MenuItem& child : item.children) {
    const Key key{child.name, child.index};
    if (ids_.count(key) == 0) {
      const int id = static_cast<int>(ids_.size()) + 1;
      ids_[key] = id;
      keys_[id] = key;
    }
    NameItems(child);
  }
}

int MenuRevisions::IdOf(const MenuItem& item) const {
  const Key key{item.name, item.index};
  const MenuItem& root = Current().menu.Root();
  return key == Key{root.name, root.index} ? kRootId : ids_.at(key);
}

std::vector<int> MenuRevisions::ChildIds(const MenuItem& item) const {
  std::vector<int> ids;
  for (const MenuItem& child : item.children) ids.push_back(IdOf(child));
  return ids;
}

const MenuItem* MenuRevisions::Find(int id, const PopupSnapshot& menu) const {
  if (id == kRootId) return &menu.menu.Root();
  const auto key = keys_.find(id);
  if (key == keys_.end() || !menu.menu.Has(key->second.first, key->second.second)) return nullptr;
  return &menu.menu.Item(key->second.first, key->second.second);
}

MenuRevisions::HostView& MenuRevisions::Meet(const Host& host) {
  HostView& view = hosts_[host.name];
  view.rule = host.rule;
  view.lastCall = ++calls_;
  while (hosts_.size() > kMaxHosts) {
    hosts_.erase(std::min_element(hosts_.begin(), hosts_.end(), [](const auto& a, const auto& b) {
      return a.second.lastCall < b.second.lastCall;
    }));
  }
  return view;
}

std::optional<MenuRevisions::Node> MenuRevisions::Layout(const Host& host, int parentId, int depth,
                                                         const std::vector<std::string>& names) {
  const MenuItem* parent = Find(parentId);
  if (parent == nullptr) return std::nullopt;
  return Read(Meet(host), *parent, depth, names);
}

MenuRevisions::Node MenuRevisions::Read(HostView& view, const MenuItem& item, int depth,
                                        const std::vector<std::string>& names) {
  const int id = IdOf(item);
  Node node{id, OnlyNamed(PropertiesOf(item, id == kRootId, view.rule), names), {}};
  Learn(view, id, node.properties);
  if (depth == 0) return node;  // below it, -1 never reaches 0: the whole tree
  view.children[id] = ChildIds(item);
  std::erase(view.changedParents, id);
  for (const MenuItem& child : item.children) node.children.push_back(Read(view, child, depth - 1, names));
  return node;
}

std::vector<MenuRevisions::ItemProperties> MenuRevisions::GroupProperties(const Host& host, const std::vector<int>& ids,
                                                                          const std::vector<std::string>& names) {
  HostView& view = Meet(host);
  std::vector<ItemProperties> found;
  for (int id : ids) {
    if (const MenuItem* item = Find(id)) {
      found.push_back({id, OnlyNamed(PropertiesOf(*item, id == kRootId, view.rule), names)});
      Learn(view, id, found.back().properties);
    }
  }
  return found;
}

std::optional<MenuProperty> MenuRevisions::Property(const Host& host, int id, const std::string& name) {
  const MenuItem* item = Find(id);
  if (item == nullptr) return std::nullopt;
  HostView& view = Meet(host);
  const MenuProperties properties = OnlyNamed(PropertiesOf(*item, id == kRootId, view.rule), {name});
  if (properties.empty()) return std::nullopt;
  Learn(view, id, properties);
  return properties.begin()->second;
}

void MenuRevisions::Learn(HostView& view, int id, const MenuProperties& given) {
  ItemView& item = view.items[id];
  for (const auto& [name, value] : given) item.known[name] = value;
  Settle(item, id, view.rule);
}

// The host shows the item as it is now when what it has agrees with it. (What it has is
// kept as it is now by every publish, so once it agrees with a revision it agrees with
// each later one that still has the item.)
void MenuRevisions::Settle(ItemView& item, int id, LabelRule rule) const {
  const MenuItem* now = Find(id);
  if (now != nullptr) Settle(item, PropertiesOf(*now, id == kRootId, rule));
}

void MenuRevisions::Settle(ItemView& item, const MenuProperties& now) const {
  if (Agrees(item.known, now)) item.shownAt = revision_;
}

// Per item the host has, what changed for it; and the parents whose children it read and
// which now has others (once each, until it reads them again).
MenuRevisions::News MenuRevisions::Tell(const std::string& host, HostView& view, const PopupSnapshot& before) {
  News news{host, {}, {}, {}};
  for (auto& [id, item] : view.items) TellItem(view.rule, id, item, before, news);
  for (auto& [parent, children] : view.children) {
    const MenuItem* item = Find(parent);
    if (item == nullptr || ChildIds(*item) == children) continue;
    children = ChildIds(*item);  // told: not again for this change
    view.changedParents.push_back(parent);
    news.changedParents.push_back(parent);
  }
  return news;
}

// The properties the host has otherwise than they are now, and those it never read that
// this publish changed; the ones it has that the item no longer has. A gone item is left
// to its parent's LayoutUpdated.
void MenuRevisions::TellItem(LabelRule rule, int id, ItemView& item, const PopupSnapshot& before, News& news) {
  const MenuItem* now = Find(id);
  if (now == nullptr) return;
  const MenuProperties properties = PropertiesOf(*now, id == kRootId, rule);
  const MenuItem* then = Find(id, before);
  const MenuProperties previous = then ? PropertiesOf(*then, id == kRootId, rule) : MenuProperties();
  ItemProperties changed{id, {}};
  for (const auto& [name, value] : properties) {
    const auto known = item.known.find(name);
    const auto old = previous.find(name);
    const bool differs = known != item.known.end() ? known->second != value : old == previous.end() || old->second != value;
    if (differs) changed.properties[name] = value;
  }
  ItemPropertyNames gone{id, {}};
  for (const auto& [name, value] : item.known) {
    if (properties.count(name) == 0) gone.names.push_back(name);
  }
  for (const auto& [name, value] : changed.properties) item.known[name] = value;
  for (const std::string& name : gone.names) item.known.erase(name);
  Settle(item, properties);
  const auto drawn = [](const auto& property) {
    return property.first == "label" || property.first == "visible" || property.first == "enabled";
  };
  if (std::any_of(changed.properties.begin(), changed.properties.end(), drawn)) item.redrawnAt = clock_();
  if (!changed.properties.empty()) news.updated.push_back(std::move(changed));
  if (!gone.names.empty()) news.removed.push_back(std::move(gone));
}

// Every publish tells each host what changed of the items it has, so what a host has of
// a submenu it read is current unless its children changed.
bool MenuRevisions::ChangedSinceRead(const std::string& host, int id) const {
  const auto view = hosts_.find(host);
  const MenuItem* item = Find(id);
  if (item == nullptr || item->children.empty()) return false;  // no submenu to show
  if (view == hosts_.end()) return true;
  const std::vector<int>& told = view->second.changedParents;
  return view->second.children.count(id) == 0 || std::count(told.begin(), told.end(), id) != 0;
}

std::vector<int> MenuRevisions::SubmenusNeverRead(const std::string& host) {
  std::vector<int> submenus;
  const auto view = hosts_.find(host);
  if (view == hosts_.end()) return submenus;
  std::vector<int>& named = view->second.namedSubmenus;
  for (const auto& [id, item] : view->second.items) {
    const MenuItem* now = Find(id);
    if (now == nullptr || now->children.empty() || view->second.children.count(id) != 0 ||
        std::count(named.begin(), named.end(), id) != 0) {
      continue;
    }
    named.push_back(id);
    submenus.push_back(id);
  }
  return submenus;
}

std::optional<MenuRevisions::Click> MenuRevisions::Clicked(const std::string& host, int id) const {
  const auto view = hosts_.find(host);
  if (view == hosts_.end()) return std::nullopt;
  const auto item = view->second.items.find(id);
  if (item == view->second.items.end() || item->second.shownAt == 0) return std::nullopt;
  if (item->second.redrawnAt && clock_() - *item->second.redrawnAt < kSettleMs) return std::nullopt;
  const std::shared_ptr<const PopupSnapshot>& shown = revisions_.at(item->second.shownAt);
  const MenuItem* line = Find(id, *shown);
  if (line == nullptr || line->IsSeparator() || !line->children.empty() || !line->enabled ||
      !ShownUnder(shown->menu.Root(), line->name, line->index)) {
    return std::nullopt;
  }
  return Click{line->name, line->index, shown};
}

std::vector<std::string> MenuRevisions::Hosts() const {
  std::vector<std::string> names;
  for (const auto& [name, view] : hosts_) names.push_back(name);
  return names;
}

void MenuRevisions::Forget(const std::string& host) {
  hosts_.erase(host);
  Prune();
}

uint64_t MenuRevisions::SteadyMs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

void MenuRevisions::ForgetHosts() {
  hosts_.clear();
  Prune();
}

// Keeps the current revision and those an item of a remembered host agrees with.
void MenuRevisions::Prune() {
  std::erase_if(revisions_, [this](const auto& entry) {
    return entry.first != revision_ && std::none_of(hosts_.begin(), hosts_.end(), [&](const auto& host) {
             return std::any_of(host.second.items.begin(), host.second.items.end(),
                                [&](const auto& item) { return item.second.shownAt == entry.first; });
           });
  });
}

}  // namespace quorvex
