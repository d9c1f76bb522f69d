#include "frontends/qt/literal_text.h"

#include <gtest/gtest.h>

#include <utility>

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
  };
  for (const auto& [actionText, label] : cases) EXPECT_EQ(DbusMenuLabel(actionText), label) << ToUtf8(actionText);
}

TEST(LiteralText, NotificationBodyEscapesMarkupOnlyForAServerThatReadsIt) {
  const Text text = u"<b>R&D</b> & co\r\nPlayers: 10";
  EXPECT_EQ(NotificationBody(text, true), u"&lt;b&gt;R&amp;D&lt;/b&gt; &amp; co\r\nPlayers: 10");
  EXPECT_EQ(NotificationBody(text, false), text);
}

}  // namespace
}  // namespace quorvex
