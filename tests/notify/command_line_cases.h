// Command lines and the words Windows' own CommandLineToArgvW makes of them: the unit test
// checks the splitter against the words, the Wine run checks the words against Windows.
#pragma once
#include <vector>

#include "common/text.h"

namespace quorvex::testing {

struct CommandLineCase {
  Text line;
  std::vector<Text> words;
};

inline const std::vector<CommandLineCase>& CommandLineCases() {
  static const std::vector<CommandLineCase> cases = {
      // Blanks separate, runs of them and trailing ones included; quotes group.
      {u"notify a b", {u"notify", u"a", u"b"}},
      {u"notify \t a\tb  ", {u"notify", u"a", u"b"}},
      {u"notify \"a b\" c\"d e\"f", {u"notify", u"a b", u"cd ef"}},
      {u"notify \"\" x \"\"", {u"notify", u"", u"x", u""}},
      {u"notify \"open to the end", {u"notify", u"open to the end"}},
      // Backslashes: literal unless before a quote, where 2n give n and group, 2n+1 give n
      // and a quote.
      {u"notify C:\\a\\b\\ \\\\x", {u"notify", u"C:\\a\\b\\", u"\\\\x"}},
      {u"notify a\\\"b \\\\\"c d\" \\\\\\\"e", {u"notify", u"a\"b", u"\\c d", u"\\\"e"}},
      {u"notify \"C:\\dir\\\\\" next", {u"notify", u"C:\\dir\\", u"next"}},
      {u"notify \"a\\\"b\" c \"d\"\\\"e", {u"notify", u"a\"b", u"c", u"d\"e"}},
      // Two quotes inside quotes: one literal quote, and the quoted part ends there (so the
      // next quote opens one again).
      {u"notify \"c\"\" d", {u"notify", u"c\"", u"d"}},
      {u"notify \"a\"\"b\" c", {u"notify", u"a\"b c"}},
      {u"notify \"\"\"a\"\"\" \"\"\"\"", {u"notify", u"\"a\"", u"\""}},
      {u"notify \"\"\"\" x", {u"notify", u"\" x"}},
      // Nothing a shell would read is special here.
      {u"notify $(id) a&calc %TEMP% 'q r' \u00e9\u65e5", {u"notify", u"$(id)", u"a&calc", u"%TEMP%", u"'q", u"r'",
                                                        u"\u00e9\u65e5"}},
      // The program name: quoted up to the next quote whatever comes before it, else up to
      // the first blank; what follows a closing quote is the next word.
      {u"\"C:\\Program Files\\x\\\" a", {u"C:\\Program Files\\x\\", u"a"}},
      {u"\"C:\\a b\\n.exe\"x y", {u"C:\\a b\\n.exe", u"x", u"y"}},
      {u"C:\\a\\\"b\"c d", {u"C:\\a\\\"b\"c", u"d"}},
      {u"\"unclosed name", {u"unclosed name"}},
      {u"\"\" a", {u"", u"a"}},
      {u" leading", {u"", u"leading"}},
      {u"notify", {u"notify"}},
  };
  return cases;
}

}  // namespace quorvex::testing
