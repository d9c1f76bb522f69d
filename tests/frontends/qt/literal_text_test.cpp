#include "frontends/qt/literal_text.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

// What Qt puts on the wire for an action's text: the first "&" that is not the last
// character becomes dbusmenu's "_".
Text QtDbusLabel(Text text) {
  const size_t at = text.find(u'&');
  if (at != Text::npos && at + 1 < text.size()) text[at] = u'_';
  return text;
}

struct Shown {
  Text text;
  Text accessKey;  // the character a lone "_" marks; empty when none
};

// What a dbusmenu host draws: "__" is one "_", a lone "_" marks the next character as the
// access key and is not shown (nor is one at the end).
Shown HostShows(const Text& label) {
  Shown shown;
  for (size_t i = 0; i < label.size(); ++i) {
    if (label[i] != u'_') {
      shown.text += label[i];
    } else if (i + 1 < label.size() && label[i + 1] == u'_') {
      shown.text += u'_';
      ++i;
    } else if (i + 1 < label.size() && shown.accessKey.empty()) {
      shown.accessKey = label.substr(i + 1, 1);
    }
  }
  return shown;
}

MenuItem Item(const char* name, const Text& caption) { return {name, 1, caption}; }

TEST(DbusMenuActionText, ListTextReachesTheHostAsItStandsWithoutAnAccessKey) {
  const Text captions[] = {
      u"x__y & z   1.31",          // "__" and a lone "&" after an "_"
      u"        a_b   C&amp;D",    // a player line: "_" before the entity
      u"        _lead   tail_",    // leading and trailing "_"
      u"a_b&",                     // an "&" at the end is passed on unconverted
      u"plain   1.31   Map",       // nothing to escape
      u"",
  };
  for (const Text& caption : captions) {
    for (const char* name : {"menServername", "menServerTitle"}) {
      const Shown shown = HostShows(QtDbusLabel(DbusMenuActionText(Item(name, caption))));
      EXPECT_EQ(shown.text, caption) << name << " " << ToUtf8(caption);
      EXPECT_EQ(shown.accessKey, u"") << name << " " << ToUtf8(caption);
    }
  }
}

TEST(DbusMenuActionText, AnAmpersandWithNoUnderscoreBeforeItStillShows) {
  // Qt converts that "&" whatever comes with it; the host shows it as the access key.
  for (const Text caption : {u"R&amp;D_Team   1.31", u"& first", u"a && b_"}) {
    const Shown shown = HostShows(QtDbusLabel(DbusMenuActionText(Item("menServername", caption))));
    EXPECT_EQ(shown.text, caption) << ToUtf8(caption);
    EXPECT_EQ(shown.accessKey, u"&") << ToUtf8(caption);
  }
}

TEST(ActionTexts, TheProgramsOwnCaptionsKeepTheirAccessKeys) {
  const struct {
    const char* name;
    Text caption, accessKey;
  } cases[] = {{"menAbout", u"&Quorvex", u"Q"}, {"menExit", u"&Exit", u"E"}, {"menServer", u"Servers (3)", u""},
               {"menChecktime", u"Update-Rate", u""}};
  for (const auto& c : cases) {
    const MenuItem item = Item(c.name, c.caption);
    EXPECT_EQ(QMenuActionText(item), c.caption) << c.name;
    EXPECT_EQ(HostShows(QtDbusLabel(DbusMenuActionText(item))).accessKey, c.accessKey) << c.name;
  }
}

TEST(QMenuActionText, ListTextDoublesEveryAmpersand) {
  EXPECT_EQ(QMenuActionText(Item("menServername", u"R&amp;D_Team & co&")), u"R&&amp;D_Team && co&&");
  EXPECT_EQ(QMenuActionText(Item("menServerTitle", u"Server_\u00B9 &")), u"Server_\u00B9 &&");
}

TEST(NotificationBody, EscapesMarkupOnlyForAServerThatReadsIt) {
  const Text text = u"<b>R&D</b> & co\r\nPlayers: 10";
  EXPECT_EQ(NotificationBody(text, true), u"&lt;b&gt;R&amp;D&lt;/b&gt; &amp; co\r\nPlayers: 10");
  EXPECT_EQ(NotificationBody(text, false), text);
}

}  // namespace
}  // namespace quorvex
