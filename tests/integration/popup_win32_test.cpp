// The popup as Windows holds it, read back from the menu the renderer made: the visible
// items in order with their checks, and the command behind each. (wine-e2e opens it.)
#include "frontends/win32/popup_menu.h"

#include <gtest/gtest.h>

#include "menu/players_menu.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quorvex {
namespace {

// The texts of a menu and its submenus, depth first: "-" for a separator, "*" after a
// checked item, "!" after the default one, "~" after a disabled one; `commands` gets each
// plain item's command.
void Walk(const PopupMenu& popup, HMENU menu, std::vector<std::wstring>& texts,
          std::vector<std::pair<std::string, int>>& commands) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[512] = {};
    MENUITEMINFOW item{.cbSize = sizeof item, .fMask = MIIM_STRING | MIIM_FTYPE | MIIM_STATE, .dwTypeData = text,
                       .cch = 511};
    ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &item));
    const bool separator = item.fType & MFT_SEPARATOR;
    texts.push_back(separator ? L"-" : std::wstring(text) + (item.fState & MFS_CHECKED ? L"*" : L"") +
                                           (item.fState & MFS_DEFAULT ? L"!" : L"") +
                                           (item.fState & MFS_DISABLED ? L"~" : L""));
    if (HMENU submenu = GetSubMenu(menu, i)) {
      Walk(popup, submenu, texts, commands);
    } else if (!separator) {
      const auto command = popup.CommandOf(GetMenuItemID(menu, i));
      ASSERT_TRUE(command.has_value()) << texts.back();
      commands.emplace_back(command->name, command->index);
    }
  }
}

TEST(PopupWin32, TheVisibleItemsInOrderWithTheirChecksAndADistinctCommandEach) {
  MenuTree tree = MakeDesignMenu();
  tree.Item("menServer").caption = u"&Servers (2)";
  tree.Item("menServerTitle").caption = u"Server & Co";  // the column header and the servers show "&"
  const char16_t* lines[] = {u"R&D Base", u"alice & bob", u"-", u"Plain"};
  for (int i = 1; i <= 48; ++i) tree.Item("menServername", i).visible = i <= 4;
  for (int i = 1; i <= 4; ++i) tree.Item("menServername", i).caption = lines[i - 1];
  for (const auto& [name, index] : {std::pair("men", 3), {"menSort", 5}, {"menRate", 2}, {"menSound", -1}}) {
    tree.Item(name, index).checked = true;
  }
  const PopupMenu popup(tree);
  std::vector<std::wstring> texts;
  std::vector<std::pair<std::string, int>> commands;
  Walk(popup, popup.Handle(), texts, commands);
  const std::vector<std::wstring> expected = {
      L"&Quorvex!", L"-", L"&Servers (2)", L"Server && Co", std::wstring(146, L'\u00AF'), L"R&&D Base", L"alice && bob",
      L"-", L"Plain", L"&Player-Limit", L"4", L"8", L"16*", L"32", L"64", L"Config", L"Autostart", L"Sort", L"Server",
      L"Version", L"Map", L"Players", L"Bots", L"Ping*", L"Update-Rate", L"10s", L"20s*", L"40s", L"Sound*", L"-",
      L"&Exit"};
  EXPECT_EQ(texts, expected);
  ASSERT_EQ(commands.size(), 23u);
  EXPECT_EQ(commands[5], (std::pair<std::string, int>("menServername", 4)));
  EXPECT_EQ(commands[20], (std::pair<std::string, int>("menRate", 4)));
  EXPECT_EQ(std::set(commands.begin(), commands.end()).size(), commands.size());  // each its own
  EXPECT_FALSE(popup.CommandOf(0).has_value());  // the menu closed without a choice
}

// The Players submenu after Servers: the names as they are ("&" a character, "_" too), the
// note disabled, each line its own command.
TEST(PopupWin32, ThePlayersSubmenuShowsNamesLiterallyAndItsNoteDisabled) {
  MenuTree tree = MakeDesignMenu();
  for (int i = 1; i <= 48; ++i) tree.Item("menServername", i).visible = false;
  AddPlayersMenu(tree);
  WritePlayersMenu(tree, std::vector<Text>(33, u"R&D_x    A & B"));
  const PopupMenu popup(tree);
  std::vector<std::wstring> texts;
  std::vector<std::pair<std::string, int>> commands;
  Walk(popup, popup.Handle(), texts, commands);
  std::vector<std::wstring> expected = {L"&Quorvex!", L"-", L"&Servers", L"", std::wstring(146, L'\u00AF'),
                                        L"Players (33)"};
  expected.insert(expected.end(), 32, L"R&&D_x    A && B");
  expected.push_back(L"and 1 more~");
  EXPECT_EQ(std::vector<std::wstring>(texts.begin(), texts.begin() + 39), expected);
  EXPECT_EQ(texts[39], L"&Player-Limit");
  // After About, the column header and the rule.
  EXPECT_EQ(commands[3], (std::pair<std::string, int>("menOnlinePlayer", 1)));
  EXPECT_EQ(commands[34], (std::pair<std::string, int>("menOnlinePlayer", 32)));
  EXPECT_EQ(commands[35], (std::pair<std::string, int>("menOnlineNote", -1)));
}

}  // namespace
}  // namespace quorvex
