#include "frontends/qt/literal_text.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

// A dbusmenu host shows "__" as "_" and takes a lone "_" as the mark of the next
// character's access key.
TEST(LiteralText, MenuCaptionsForEachKindOfTray) {
  const struct {
    const char* name;
    Text caption, qmenu, dbusmenu;
  } cases[] = {
      // the list's text: every "&" and "_" a character
      {"menServername", u"x__y & z", u"x__y && z", u"x____y & z"},
      {"menServername", u"        a_b   C&amp;D", u"        a_b   C&&amp;D", u"        a__b   C&amp;D"},
      {"menServername", u"        _lead   tail_", u"        _lead   tail_", u"        __lead   tail__"},
      {"menServerTitle", u"R&amp;D_Team&", u"R&&amp;D_Team&&", u"R&amp;D__Team&"},
      // the program's own captions keep their access keys
      {"menAbout", u"&Quorvex", u"&Quorvex", u"_Quorvex"},
      {"menServer", u"Servers (3)", u"Servers (3)", u"Servers (3)"},
  };
  for (const auto& c : cases) {
    const MenuItem item{c.name, 1, c.caption};
    EXPECT_EQ(QMenuActionText(item), c.qmenu) << ToUtf8(c.caption);
    EXPECT_EQ(DbusMenuLabel(QMenuActionText(item)), c.dbusmenu) << ToUtf8(c.caption);
  }
}

TEST(LiteralText, NotificationBodyEscapesMarkupOnlyForAServerThatReadsIt) {
  const Text text = u"<b>R&D</b> & co\r\nPlayers: 10";
  EXPECT_EQ(NotificationBody(text, true), u"&lt;b&gt;R&amp;D&lt;/b&gt; &amp; co\r\nPlayers: 10");
  EXPECT_EQ(NotificationBody(text, false), text);
}

}  // namespace
}  // namespace quorvex
