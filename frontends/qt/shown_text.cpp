#include "frontends/qt/shown_text.h"

namespace quorvex {

Text ShownText(const Text& actionText) {
  Text shown;
  for (size_t i = 0; i < actionText.size(); ++i) {
    const bool mark = actionText[i] == u'&' && i + 1 < actionText.size();
    if (mark) ++i;  // "&&" is one "&"; "&x" is x, marked
    shown += actionText[i];
  }
  return shown;
}

}  // namespace quorvex
