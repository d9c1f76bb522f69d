#include "frontends/qt/literal_text.h"

#include <gtest/gtest.h>

#include <utility>

#include "menu/menu_model.h"

namespace quorvex {
namespace {

// A dbusmenu host shows "__" as "_" and takes a lone "_" as the mark of the next
// character's access key. The action texts are those of AccessKeyCaption (menu/).
TEST(LiteralText, DbusMenuLabelsShowWhatTheQMenuShows) {
  const std::pair<Text, Text> cases[] = {
      // the list's text: every "&" and "_" a character
      {u"x__y && z", u"x____y & z"},
      {u"        a_b   C&&amp;D", u"        a__b   C&amp;D"},
      {u"        _lead   tail_", u"        __lead   tail__"},
      {u"R&&amp;D_Team&&", u"R&amp;D__Team&"},
      // the program's own captions keep their access keys
      {u"&Quorvex", u"_Quorvex"},
      {u"Servers (3)", u"Servers (3)"},
      {u"tail&", u"tail"},  // a last "&" is not drawn
  };
  for (const auto& [actionText, label] : cases) EXPECT_EQ(DbusMenuLabel(actionText), label) << ToUtf8(actionText);
}

// GNOME Shell's AppIndicator extension shows label.replace(/_([^_])/, '$1'): the first "_"
// that another character follows is dropped, and nothing else is changed.
Text AsGnomeShellShows(const Text& label) {
  for (size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] == u'_' && label[i + 1] != u'_') return label.substr(0, i) + label.substr(i + 1);
  }
  return label;
}

TEST(LiteralText, GnomeShellShowsItsLabelsAsTheQMenuShowsTheText) {
  const std::pair<Text, Text> cases[] = {
      {u"Co_op_Night", u"_Co_op_Night"},
      {u"_x_ and _x_", u"__x_ and _x_"},
      {u"__init__", u"___init__"},
      {u"tail_", u"_tail_"},
      {u"R&&amp;D_Team&&", u"_R&amp;D_Team&"},
      {u"&Quorvex", u"_Quorvex"},
      {u"E&xit", u"_Exit"},
      {u"_", u"_"},
      {u"___", u"___"},
      {u"", u""},
  };
  for (const auto& [actionText, label] : cases) {
    EXPECT_EQ(GnomeShellLabel(actionText), label) << ToUtf8(actionText);
    EXPECT_EQ(AsGnomeShellShows(GnomeShellLabel(actionText)), ShownText(actionText)) << ToUtf8(actionText);
  }
  // The dbusmenu rule's label would show another text there.
  EXPECT_EQ(AsGnomeShellShows(DbusMenuLabel(u"Co_op_Night")), u"Co_op__Night");
}

TEST(LiteralText, NotificationBodyEscapesMarkupOnlyForAServerThatReadsIt) {
  const Text text = u"<b>R&D</b> & co\r\nPlayers: 10";
  EXPECT_EQ(NotificationBody(text, true), u"&lt;b&gt;R&amp;D&lt;/b&gt; &amp; co\r\nPlayers: 10");
  EXPECT_EQ(NotificationBody(text, false), text);
}

}  // namespace
}  // namespace quorvex
