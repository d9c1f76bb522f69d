// The popup menu as data: a tree of named items that the front ends render and click.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/text.h"

namespace quorvex {

struct MenuItem {
  std::string name;  // the control name, e.g. "menServername"
  int index = -1;    // element of a control array; -1 for a single control
  Text caption;      // "-" makes a separator; "&" marks the access key
  bool visible = true;
  bool checked = false;
  bool enabled = true;             // a disabled item is drawn grey and cannot be chosen
  std::vector<MenuItem> children;  // a submenu when not empty
  // A choice that shows a check mark when it is on (Sound, a rate, a sort, a limit). Some
  // menu hosts decide once, when they first see an item, whether it can show a mark.
  bool checkable = false;

  bool IsSeparator() const { return caption == u"-"; }
};

// The whole tree with lookup by control name and index. Copies are independent snapshots.
class MenuTree {
 public:
  explicit MenuTree(MenuItem root);
  MenuTree(const MenuTree& other);
  MenuTree& operator=(const MenuTree& other);

  // Throws std::out_of_range for a control that does not exist.
  MenuItem& Item(std::string_view name, int index = -1);
  const MenuItem& Item(std::string_view name, int index = -1) const;
  bool Has(std::string_view name, int index = -1) const;
  // Puts `item` right after the single control `sibling`, in the same submenu. Throws
  // std::out_of_range when there is no such control.
  void InsertAfter(std::string_view sibling, MenuItem item);

  const MenuItem& Root() const { return root_; }
  // The item drawn bold and chosen by Enter.
  static constexpr std::string_view kDefaultItem = "menAbout";

 private:
  void Reindex();
  MenuItem root_;
  std::unordered_map<std::string, MenuItem*> byKey_;
};

// Whether the item's caption is text from the server list (the server and player lines,
// the column title, the lines of the Players submenu), which every front end shows
// character for character: an "&" there,
// and over dbusmenu an "_", is a character, never an access-key mark. The program's own
// captions ("&Quorvex", "&Exit", ...) keep their access keys.
bool ShowsCaptionLiterally(const MenuItem& item);
// The caption in the access-key notation of Windows and Qt menus, where "&" marks the next
// character's access key and "&&" is one "&": a literal caption's every "&" doubled, the
// program's own captions as they are.
Text AccessKeyCaption(const MenuItem& item);
// The text a caption in that notation shows, as a person reads it on the menu and a screen
// reader is to say it: "&&" shows one "&", an "&" before a character marks that character
// and is not shown, and a last "&" is not shown either (a QMenu draws "tail&" as "tail").
Text ShownText(const Text& accessKeyCaption);

// The design tree: popup, About, Servers (header, rule, 48 server items), Player-Limit,
// Config, Exit. Defined in resources/.
MenuTree MakeDesignMenu();

// The separator line of the servers menu: 146 macrons.
const Text& MacronLine();

}  // namespace quorvex
