// The com.canonical.dbusmenu properties of one menu item, as a host of a given label rule
// is to get them. Every property is sent even at its default, so a host that kept an
// older value learns the new one. Plain C++, so the unit tests check it without a desktop.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <variant>

#include "menu/menu_model.h"

namespace quorvex {

using MenuProperty = std::variant<bool, int32_t, std::u16string>;
using MenuProperties = std::map<std::string, MenuProperty>;

// How a host reads a label: the dbusmenu rule ("__" is "_", a lone "_" marks the access
// key), or GNOME Shell's AppIndicator extension's (literal_text.h: GnomeShellLabel).
enum class LabelRule { kMnemonic, kGnomeShell };

// `root` is the menu itself, which has only its children.
MenuProperties PropertiesOf(const MenuItem& item, bool root, LabelRule rule);

}  // namespace quorvex
