// The popup's "History…" item, there only when a history= line keeps the player history.
#pragma once
#include "menu/menu_model.h"

namespace quorvex {

// The item "menHistory", which opens the history window.
MenuItem HistoryItem();

}  // namespace quorvex
