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

TEST(PopupWin32, TopLevelItemsInOrderWithAboutAsDefault) {
  const PopupMenu popup(TwoServerMenu());
  const HMENU menu = popup.Handle();
  EXPECT_EQ(ItemTexts(menu), (std::vector<std::wstring>{L"&Quorvex", L"-", L"&Servers (2)", L"&Player-Limit (16)",
                                                          L"Config", L"-", L"&Exit"}));
  const UINT defaultId = GetMenuDefaultItem(menu, FALSE, 0);
  EXPECT_EQ(popup.CommandOf(defaultId), (MenuCommand{"menAbout", -1}));
  EXPECT_EQ(popup.CommandOf(IdAt(menu, 6)), (MenuCommand{"menExit", -1}));
  // Submenu owners carry no command.
  EXPECT_NE(GetSubMenu(menu, 2), nullptr);
  EXPECT_EQ(IdAt(menu, 2), static_cast<UINT>(-1));
}

TEST(PopupWin32, ServerLinesShowAmpersandsAndHiddenSlotsAreLeftOut) {
  const PopupMenu popup(TwoServerMenu());
  const HMENU servers = GetSubMenu(popup.Handle(), 2);
  ASSERT_NE(servers, nullptr);
  // Header, macron rule, then the six visible server items; the 42 hidden ones are absent.
  ASSERT_EQ(GetMenuItemCount(servers), 8);
  EXPECT_EQ(ItemText(servers, 0), L"Server && Co");
  EXPECT_EQ(ItemText(servers, 1), std::wstring(146, L'\u00AF'));
  EXPECT_EQ(ItemText(servers, 2), L"R&&D Base");
  EXPECT_EQ(ItemText(servers, 3), L"alice && bob");
  EXPECT_TRUE(IsSeparator(servers, 4));
  EXPECT_EQ(ItemText(servers, 5), L"Plain");
  EXPECT_EQ(popup.CommandOf(IdAt(servers, 5)), (MenuCommand{"menServername", 4}));
  EXPECT_EQ(popup.CommandOf(IdAt(servers, 6)), (MenuCommand{"menServername", 5}));
}

TEST(PopupWin32, ChecksAndControlArrayIndexesSurviveTheRendering) {
  const PopupMenu popup(TwoServerMenu());
  const HMENU limits = GetSubMenu(popup.Handle(), 3);
  ASSERT_EQ(ItemTexts(limits), (std::vector<std::wstring>{L"4", L"8", L"16", L"32", L"64"}));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Checked(limits, i), i == 2) << i;
  EXPECT_EQ(popup.CommandOf(IdAt(limits, 0)), (MenuCommand{"men", 1}));

  const HMENU config = GetSubMenu(popup.Handle(), 4);
  ASSERT_EQ(ItemTexts(config), (std::vector<std::wstring>{L"Autostart", L"Sort", L"Update-Rate", L"Sound"}));
  EXPECT_FALSE(Checked(config, 0));
  EXPECT_TRUE(Checked(config, 3));
  const HMENU sorts = GetSubMenu(config, 1);
  ASSERT_EQ(GetMenuItemCount(sorts), 6);
  EXPECT_TRUE(Checked(sorts, 5));
  EXPECT_FALSE(Checked(sorts, 0));
  EXPECT_EQ(popup.CommandOf(IdAt(sorts, 0)), (MenuCommand{"menSort", 0}));
  const HMENU rates = GetSubMenu(config, 2);
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

TEST(PopupWin32, OtherCaptionsKeepTheirAccessKeys) {
  MenuItem exit;
  exit.name = "menExit";
  exit.caption = u"&Exit";
  EXPECT_EQ(PopupCaption(exit), u"&Exit");
  MenuItem server;
  server.name = "menServername";
  server.caption = u"&&";
  EXPECT_EQ(PopupCaption(server), u"&&&&");
}

}  // namespace
}  // namespace quorvex
