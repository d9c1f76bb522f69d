// The popup menu drawn from the menu model into a fresh Windows menu each time it opens.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/scoped_handle.h"
#include "menu/menu_model.h"

namespace quorvex {

// Which control a command id stands for.
struct MenuCommand {
  std::string name;
  int index = -1;

  bool operator==(const MenuCommand&) const = default;
};

class PopupMenu {
 public:
  // Renders the visible items of `tree`, in order, with submenus, checks, disabled items and
  // separators.
  explicit PopupMenu(const MenuTree& tree);
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  HMENU Handle() const { return menu_.get(); }
  // The control behind a command id; nullopt for 0 (nothing chosen) or an unknown id.
  std::optional<MenuCommand> CommandOf(UINT id) const;
  // Shows the menu with its top left at `at` (screen pixels) for the tray window `owner`
  // and returns the item chosen, once the menu has closed.
  std::optional<MenuCommand> Track(HWND owner, POINT at) const;

 private:
  void AppendItems(HMENU into, const std::vector<MenuItem>& items);
  struct MenuCloser {
    static HMENU None() { return nullptr; }
    static void Close(HMENU menu) { DestroyMenu(menu); }  // destroys the submenus with it
  };
  ScopedHandle<MenuCloser> menu_;
  std::vector<MenuCommand> commands_;  // command id k stands for commands_[k - 1]
  UINT defaultId_ = 0;
};

}  // namespace quorvex
