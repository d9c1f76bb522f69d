// The popup as Windows holds it, read back from the menu handle the renderer made.
#include "menu/popup_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex {
namespace {

std::wstring ItemText(HMENU menu, int position) {
  wchar_t buffer[512] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = buffer;
  info.cch = 511;
  EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info));
  return buffer;
}

// Asked through the item's type: GetMenuState mixes a submenu's item count into its flags.
bool IsSeparator(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info));
  return (info.fType & MFT_SEPARATOR) != 0;
}

std::vector<std::wstring> ItemTexts(HMENU menu) {
  std::vector<std::wstring> texts;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) texts.push_back(IsSeparator(menu, i) ? L"-" : ItemText(menu, i));
  return texts;
}

bool Checked(HMENU menu, int position) { return (GetMenuState(menu, position, MF_BYPOSITION) & MF_CHECKED) != 0; }

UINT IdAt(HMENU menu, int position) { return GetMenuItemID(menu, position); }

// The design menu as it stands after a poll that listed two servers.
MenuTree TwoServerMenu() {
  MenuTree tree = MakeDesignMenu();
  tree.Item("menServer").caption = u"&Servers (2)";
  tree.Item("menServerTitle").caption = u"Server & Co";
  const char16_t* lines[] = {u"R&D Base", u"alice & bob", u"-", u"Plain", u"carol", u"-"};
  for (int i = 1; i <= 48; ++i) {
    tree.Item("menServername", i).visible = i <= 6;
    if (i <= 6) tree.Item("menServername", i).caption = lines[i - 1];
  }
  tree.Item("men", 3).checked = true;
  tree.Item("menPlayer").caption = u"&Player-Limit (16)";
  tree.Item("menSort", 5).checked = true;
  tree.Item("menRate", 2).checked = true;
  tree.Item("menSound").checked = true;
  return tree;
}

TEST(PopupWin32, TheVisibleItemsInOrderWithTheirChecksAndCommands) {
  const PopupMenu popup(TwoServerMenu());
  const HMENU menu = popup.Handle();
  EXPECT_EQ(ItemTexts(menu), (std::vector<std::wstring>{L"&Quorvex", L"-", L"&Servers (2)", L"&Player-Limit (16)",
                                                          L"Config", L"-", L"&Exit"}));
  EXPECT_EQ(popup.CommandOf(GetMenuDefaultItem(menu, FALSE, 0)), (MenuCommand{"menAbout", -1}));
  EXPECT_EQ(popup.CommandOf(IdAt(menu, 6)), (MenuCommand{"menExit", -1}));
  EXPECT_EQ(IdAt(menu, 2), static_cast<UINT>(-1));  // submenu owners carry no command
  // Header, macron rule, then the six visible server items with "&" shown as itself.
  const HMENU servers = GetSubMenu(menu, 2);
  EXPECT_EQ(ItemTexts(servers), (std::vector<std::wstring>{L"Server && Co", std::wstring(146, L'\u00AF'), L"R&&D Base",
                                                             L"alice && bob", L"-", L"Plain", L"carol", L"-"}));
  EXPECT_EQ(popup.CommandOf(IdAt(servers, 5)), (MenuCommand{"menServername", 4}));
  const HMENU limits = GetSubMenu(menu, 3);
  ASSERT_EQ(ItemTexts(limits), (std::vector<std::wstring>{L"4", L"8", L"16", L"32", L"64"}));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Checked(limits, i), i == 2) << i;
  EXPECT_EQ(popup.CommandOf(IdAt(limits, 0)), (MenuCommand{"men", 1}));
  const HMENU config = GetSubMenu(menu, 4);
  ASSERT_EQ(ItemTexts(config), (std::vector<std::wstring>{L"Autostart", L"Sort", L"Update-Rate", L"Sound"}));
  EXPECT_FALSE(Checked(config, 0));
  EXPECT_TRUE(Checked(config, 3));
  const HMENU sorts = GetSubMenu(config, 1), rates = GetSubMenu(config, 2);
  ASSERT_EQ(GetMenuItemCount(sorts), 6);
  EXPECT_TRUE(Checked(sorts, 5) && !Checked(sorts, 0));
  EXPECT_EQ(popup.CommandOf(IdAt(sorts, 0)), (MenuCommand{"menSort", 0}));
  ASSERT_EQ(ItemTexts(rates), (std::vector<std::wstring>{L"10s", L"20s", L"40s"}));
  EXPECT_TRUE(Checked(rates, 1));
  EXPECT_EQ(popup.CommandOf(IdAt(rates, 2)), (MenuCommand{"menRate", 4}));
}

TEST(PopupWin32, EveryCommandIdIsDistinctAndUnknownIdsMeanNothing) {
  const PopupMenu popup(MakeDesignMenu());
  std::vector<MenuCommand> seen;
  std::vector<HMENU> pending{popup.Handle()};
  while (!pending.empty()) {
    const HMENU menu = pending.back();
    pending.pop_back();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      if (HMENU sub = GetSubMenu(menu, i)) {
        pending.push_back(sub);
      } else if (!IsSeparator(menu, i)) {
        const auto command = popup.CommandOf(IdAt(menu, i));
        ASSERT_TRUE(command.has_value());
        for (const MenuCommand& other : seen) EXPECT_FALSE(other == *command) << command->name << command->index;
        seen.push_back(*command);
      }
    }
  }
  EXPECT_FALSE(popup.CommandOf(0).has_value());  // the menu closed without a choice
  EXPECT_FALSE(popup.CommandOf(60000).has_value());
}

TEST(PopupWin32, OnlyNetworkCaptionsShowTheirAmpersands) {
  EXPECT_EQ(PopupCaption(MenuItem{.name = "menExit", .caption = u"&Exit"}), u"&Exit");
  EXPECT_EQ(PopupCaption(MenuItem{.name = "menServername", .index = 1, .caption = u"&&"}), u"&&&&");
}

}  // namespace
}  // namespace quorvex
