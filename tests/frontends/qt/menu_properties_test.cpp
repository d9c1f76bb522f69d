#include "frontends/qt/menu_properties.h"

#include <gtest/gtest.h>

#include <utility>

namespace quorvex {
namespace {

// Every property goes out even at its default, so that a host that kept an older value
// (a line hidden, a check mark) learns the new one.
TEST(MenuProperties, EveryItemCarriesItsPropertiesEvenAtTheirDefaults) {
  MenuItem line{"menServername", 1, u"R&D_Team"};
  const MenuProperties shown{{"label", Text(u"R&D__Team")},       {"accessible-desc", Text(u"R&D_Team")},
                             {"visible", true},                    {"enabled", true},
                             {"toggle-type", Text(u"")},           {"toggle-state", int32_t{0}}};
  EXPECT_EQ(PropertiesOf(line, false, LabelRule::kMnemonic), shown);
  line.visible = false;
  line.enabled = false;
  EXPECT_EQ(PropertiesOf(line, false, LabelRule::kGnomeShell).at("label"), MenuProperty(Text(u"_R&D_Team")));
  EXPECT_EQ(PropertiesOf(line, false, LabelRule::kMnemonic).at("visible"), MenuProperty(false));
  EXPECT_EQ(PropertiesOf(line, false, LabelRule::kMnemonic).at("enabled"), MenuProperty(false));

  const MenuItem sound{"menSound", -1, u"Sound", true, true};
  EXPECT_EQ(PropertiesOf(sound, false, LabelRule::kMnemonic).at("toggle-type"), MenuProperty(Text(u"checkmark")));
  EXPECT_EQ(PropertiesOf(sound, false, LabelRule::kMnemonic).at("toggle-state"), MenuProperty(int32_t{1}));
}

// Plasma's host fixes whether an item can show a mark when it first reads it: a choice that
// is off is a check item all the same, so the mark shows once it is chosen.
TEST(MenuProperties, AChoiceIsACheckItemEvenWhenOff) {
  const MenuTree design = MakeDesignMenu();
  for (const auto& [name, index] : {std::pair{"menSound", -1}, {"menAutostart", -1}, {"menRate", 2}, {"menSort", 5},
                                    {"men", 3}}) {
    const MenuProperties properties = PropertiesOf(design.Item(name, index), false, LabelRule::kMnemonic);
    EXPECT_EQ(properties.at("toggle-type"), MenuProperty(Text(u"checkmark"))) << name;
    EXPECT_EQ(properties.at("toggle-state"), MenuProperty(int32_t{0})) << name;
  }
  EXPECT_EQ(PropertiesOf(design.Item("menAbout"), false, LabelRule::kMnemonic).at("toggle-type"),
            MenuProperty(Text(u"")));
}

// What makes an item a separator or a submenu is sent only where it holds: a host rebuilds
// an item whose "type" or "children-display" it is given.
TEST(MenuProperties, OnlySeparatorsHaveATypeAndOnlySubmenusAndTheRootShowChildren) {
  const MenuItem separator{"menA", -1, u"-"};
  EXPECT_EQ(PropertiesOf(separator, false, LabelRule::kMnemonic),
            (MenuProperties{{"type", Text(u"separator")}, {"visible", true}, {"enabled", true}}));
  const MenuItem submenu{"menServer", -1, u"&Servers (3)", true, false, true, {separator}};
  const MenuProperties properties = PropertiesOf(submenu, false, LabelRule::kMnemonic);
  EXPECT_EQ(properties.at("children-display"), MenuProperty(Text(u"submenu")));
  EXPECT_EQ(properties.at("label"), MenuProperty(Text(u"_Servers (3)")));
  EXPECT_EQ(properties.count("toggle-type") + properties.count("type"), 0u);
  EXPECT_EQ(PropertiesOf(submenu, true, LabelRule::kMnemonic),
            (MenuProperties{{"children-display", Text(u"submenu")}}));
  EXPECT_EQ(PropertiesOf(separator, true, LabelRule::kMnemonic),
            (MenuProperties{{"children-display", Text(u"submenu")}}));
}

}  // namespace
}  // namespace quorvex
