#include "frontends/qt/literal_text.h"

namespace quorvex {

Text QMenuActionText(const MenuItem& item) {
  return ShowsCaptionLiterally(item) ? ReplaceAll(item.caption, u"&", u"&&") : item.caption;
}

Text DbusMenuActionText(const MenuItem& item) {
  if (!ShowsCaptionLiterally(item)) return item.caption;
  Text text = ReplaceAll(item.caption, u"_", u"__");
  const size_t firstAmpersand = text.find(u'&');
  if (firstAmpersand == Text::npos || firstAmpersand + 1 == text.size()) return text;  // Qt converts nothing
  const size_t doubledUnderscore = text.find(u"__");
  if (doubledUnderscore < firstAmpersand) {
    text[doubledUnderscore] = u'&';  // Qt turns it back into the "_" it stood for
  } else {
    text.insert(firstAmpersand, 1, u'&');
  }
  return text;
}

Text NotificationBody(const Text& text, bool serverReadsMarkup) {
  if (!serverReadsMarkup) return text;
  return ReplaceAll(ReplaceAll(ReplaceAll(text, u"&", u"&amp;"), u"<", u"&lt;"), u">", u"&gt;");
}

}  // namespace quorvex
