#include "frontends/qt/menu_revisions.h"

#include <algorithm>

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

}  // namespace

MenuRevisions::MenuRevisions(PopupSnapshot first) { Publish(std::move(first)); }

uint32_t MenuRevisions::Publish(PopupSnapshot menu) {
  NameItems(menu.menu.Root());
  revisions_[++revision_] = std::make_shared<const PopupSnapshot>(std::move(menu));
  Forget();
  return revision_;
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

const MenuItem* MenuRevisions::Find(int id, const PopupSnapshot& menu) const {
  if (id == kRootId) return &menu.menu.Root();
  const auto key = keys_.find(id);
  if (key == keys_.end() || !menu.menu.Has(key->second.first, key->second.second)) return nullptr;
  return &menu.menu.Item(key->second.first, key->second.second);
}

void MenuRevisions::ReadBy(const std::string& reader) {
  readers_[reader] = {revision_, ++reads_};
  Forget();
}

std::optional<MenuRevisions::Click> MenuRevisions::Clicked(const std::string& reader, int id) const {
  const auto read = readers_.find(reader);
  const auto& shown = revisions_.at(read == readers_.end() ? revision_ : read->second.first);
  const MenuItem* item = Find(id, *shown);
  if (item == nullptr || id == kRootId || item->IsSeparator() || !item->children.empty() ||
      !ShownUnder(shown->menu.Root(), item->name, item->index)) {
    return std::nullopt;
  }
  return Click{item->name, item->index, shown};
}

// Keeps the current revision and those a remembered reader read last.
void MenuRevisions::Forget() {
  while (readers_.size() > kMaxReaders) {
    readers_.erase(std::min_element(readers_.begin(), readers_.end(), [](const auto& a, const auto& b) {
      return a.second.second < b.second.second;
    }));
  }
  std::erase_if(revisions_, [this](const auto& entry) {
    return entry.first != revision_ && std::none_of(readers_.begin(), readers_.end(), [&](const auto& reader) {
             return reader.second.first == entry.first;
           });
  });
}

}  // namespace quorvex
