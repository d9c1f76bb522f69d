// The tray's popup: rebuilt from Form1's menu each time it opens, clicks routed back to
// the form with the snapshot the popup showed. Every QMenu, submenus too, has the
// desktop's menu font, which QApplication takes from the platform theme for the class
// "QMenu"; the server lines are laid out for such a proportional font. (A font set on the
// top menu alone would not reach its submenus.)
#pragma once
#include <QMenu>

#include <memory>
#include <vector>

#include "app/form1.h"

namespace quorvex {

class PopupMenu {
 public:
  explicit PopupMenu(Form1& form);
  QMenu& Menu() { return root_; }

 private:
  void Rebuild();
  void AddItems(QMenu& menu, const MenuItem& parent);
  static QString ActionText(const MenuItem& item);

  Form1& form_;
  QMenu root_;
  std::shared_ptr<const PopupSnapshot> snapshot_;
  std::vector<QMenu*> submenus_;  // of the last build, gone at the next one
};

}  // namespace quorvex
