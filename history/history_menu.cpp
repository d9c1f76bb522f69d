#include "history/history_menu.h"

namespace quorvex {

MenuItem HistoryItem() { return MenuItem{.name = "menHistory", .caption = u"History\u2026"}; }

}  // namespace quorvex
