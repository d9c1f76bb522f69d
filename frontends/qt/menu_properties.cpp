#include "frontends/qt/menu_properties.h"

#include "frontends/qt/literal_text.h"
#include "menu/menu_model.h"

namespace quorvex {

MenuProperties PropertiesOf(const MenuItem& item, bool root, LabelRule rule) {
  MenuProperties properties;
  // Whether an item is a submenu or a separator never changes: it is sent only where it
  // holds, as a host rebuilds an item whose "type" or "children-display" it is told.
  if (!item.children.empty() || root) properties["children-display"] = Text(u"submenu");
  if (root) return properties;
  if (item.IsSeparator()) {
    properties["type"] = Text(u"separator");
  } else {
    const Text text = AccessKeyCaption(item);
    properties["label"] = rule == LabelRule::kGnomeShell ? GnomeShellLabel(text) : DbusMenuLabel(text);
    // What a screen reader reads. Without it libdbusmenu-gtk3 (xfce4-panel's) names an
    // item once, by its first label with every "_" dropped, and never again.
    properties["accessible-desc"] = ShownText(text);
    if (item.children.empty()) {
      // Plasma's host makes an item checkable only when it first sees it: a choice is
      // always a check item, so a mark set later still shows.
      properties["toggle-type"] = Text(item.checkable || item.checked ? u"checkmark" : u"");
      properties["toggle-state"] = int32_t{item.checked ? 1 : 0};
    }
  }
  properties["visible"] = item.visible;
  properties["enabled"] = item.enabled;
  return properties;
}

}  // namespace quorvex
