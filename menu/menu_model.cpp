#include "menu/menu_model.h"

#include <stdexcept>

namespace quorvex {

namespace {

std::string Key(std::string_view name, int index) { return std::string(name) + "#" + std::to_string(index); }

void IndexInto(MenuItem& item, std::unordered_map<std::string, MenuItem*>& byKey) {
  byKey[Key(item.name, item.index)] = &item;
  for (MenuItem& child : item.children) IndexInto(child, byKey);
}

}  // namespace

MenuTree::MenuTree(MenuItem root) : root_(std::move(root)) { Reindex(); }
MenuTree::MenuTree(const MenuTree& other) : root_(other.root_) { Reindex(); }
MenuTree& MenuTree::operator=(const MenuTree& other) {
  if (this != &other) {
    root_ = other.root_;
    Reindex();
  }
  return *this;
}

void MenuTree::Reindex() {
  byKey_.clear();
  IndexInto(root_, byKey_);
}

MenuItem& MenuTree::Item(std::string_view name, int index) {
  const auto found = byKey_.find(Key(name, index));
  if (found == byKey_.end()) throw std::out_of_range("no menu item " + Key(name, index));
  return *found->second;
}

const MenuItem& MenuTree::Item(std::string_view name, int index) const {
  return const_cast<MenuTree*>(this)->Item(name, index);
}

bool MenuTree::Has(std::string_view name, int index) const { return byKey_.count(Key(name, index)) != 0; }

namespace {

// Inserts into the children of `parent` or of a submenu below it; whether it found `sibling`.
bool InsertBelow(MenuItem& parent, std::string_view sibling, MenuItem& item) {
  auto& children = parent.children;
  for (auto child = children.begin(); child != children.end(); ++child) {
    if (child->name == sibling && child->index == -1) {
      children.insert(child + 1, std::move(item));
      return true;
    }
    if (InsertBelow(*child, sibling, item)) return true;
  }
  return false;
}

}  // namespace

void MenuTree::InsertAfter(std::string_view sibling, MenuItem item) {
  if (!InsertBelow(root_, sibling, item)) throw std::out_of_range("no menu item " + Key(sibling, -1));
  Reindex();  // the insert moved the items after it
}

bool ShowsCaptionLiterally(const MenuItem& item) {
  return item.name == "menServername" || item.name == "menServerTitle" || item.name == "menOnlinePlayer";
}

Text AccessKeyCaption(const MenuItem& item) {
  return ShowsCaptionLiterally(item) ? ReplaceAll(item.caption, u"&", u"&&") : item.caption;
}

Text ShownText(const Text& accessKeyCaption) {
  Text shown;
  for (size_t i = 0; i < accessKeyCaption.size(); ++i) {
    if (accessKeyCaption[i] == u'&' && ++i == accessKeyCaption.size()) break;  // the mark goes, "&&" keeps one
    shown += accessKeyCaption[i];
  }
  return shown;
}

const Text& MacronLine() {
  static const Text line(146, u'\u00AF');
  return line;
}

}  // namespace quorvex
