#include "frontends/win32/popup_menu.h"

#include "common/wide_win32.h"

namespace quorvex {

PopupMenu::PopupMenu(const MenuTree& tree) : menu_(CreatePopupMenu()) {
  AppendItems(menu_.get(), tree.Root().children);
  if (defaultId_ != 0) SetMenuDefaultItem(menu_.get(), defaultId_, FALSE);
}

void PopupMenu::AppendItems(HMENU into, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    if (!item.visible) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    std::wstring caption;
    ScopedHandle<MenuCloser> submenu;
    if (item.IsSeparator()) {
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
    } else {
      caption = Wide(AccessKeyCaption(item));
      info.fMask = MIIM_STRING | MIIM_STATE;
      info.dwTypeData = caption.data();
      info.fState = (item.checked ? MFS_CHECKED : MFS_UNCHECKED) | (item.enabled ? MFS_ENABLED : MFS_DISABLED);
      if (!item.children.empty()) {
        submenu.Reset(CreatePopupMenu());
        AppendItems(submenu.get(), item.children);
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = submenu.get();
      } else {
        commands_.push_back({item.name, item.index});
        info.fMask |= MIIM_ID;
        info.wID = static_cast<UINT>(commands_.size());
        if (item.name == MenuTree::kDefaultItem) defaultId_ = info.wID;
      }
    }
    // Once in, a submenu is destroyed with the menu it is in.
    if (InsertMenuItemW(into, GetMenuItemCount(into), TRUE, &info)) submenu.release();
  }
}

std::optional<MenuCommand> PopupMenu::CommandOf(UINT id) const {
  if (id == 0 || id > commands_.size()) return std::nullopt;
  return commands_[id - 1];
}

std::optional<MenuCommand> PopupMenu::Track(HWND owner, POINT at) const {
  // A tray menu only closes when the user clicks elsewhere if its owner is in the
  // foreground, and it only opens properly a second time after a message has followed it.
  SetForegroundWindow(owner);
  const UINT id = static_cast<UINT>(
      TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner,
                     nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  return CommandOf(id);
}

}  // namespace quorvex
