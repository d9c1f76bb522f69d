#include "frontends/qt/literal_text.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

// Qt turns the first "&" of the dbusmenu text into "_" unless it is last; a host shows "__"
// as "_" and takes a lone "_" as the mark of the next character's access key.
TEST(LiteralText, MenuCaptionsForEachKindOfTray) {
  const struct {
    const char* name;
    Text caption, qmenu, dbusmenu;
  } cases[] = {
      // the list's text: every "&" and "_" a character
      {"menServername", u"x__y & z", u"x__y && z", u"x&___y & z"},  // Qt sends "x____y & z"
      {"menServername", u"        a_b   C&amp;D", u"        a_b   C&&amp;D", u"        a&_b   C&amp;D"},
      {"menServername", u"        _lead   tail_", u"        _lead   tail_", u"        __lead   tail__"},
      {"menServername", u"a_b&", u"a_b&&", u"a__b&"},  // a last "&" is not converted
      // no "_" before the first "&": Qt converts it whatever; written twice, the host shows it
      {"menServerTitle", u"R&amp;D_Team", u"R&&amp;D_Team", u"R&&amp;D__Team"},
      // the program's own captions keep their access keys
      {"menAbout", u"&Quorvex", u"&Quorvex", u"&Quorvex"},
      {"menServer", u"Servers (3)", u"Servers (3)", u"Servers (3)"},
  };
  for (const auto& c : cases) {
    const MenuItem item{c.name, 1, c.caption};
    EXPECT_EQ(QMenuActionText(item), c.qmenu) << ToUtf8(c.caption);
    EXPECT_EQ(DbusMenuActionText(item), c.dbusmenu) << ToUtf8(c.caption);
  }
}

TEST(LiteralText, NotificationBodyEscapesMarkupOnlyForAServerThatReadsIt) {
  const Text text = u"<b>R&D</b> & co\r\nPlayers: 10";
  EXPECT_EQ(NotificationBody(text, true), u"&lt;b&gt;R&amp;D&lt;/b&gt; &amp; co\r\nPlayers: 10");
  EXPECT_EQ(NotificationBody(text, false), text);
}

}  // namespace
}  // namespace quorvex
