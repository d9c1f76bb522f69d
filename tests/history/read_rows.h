// Every row a history file's bytes hold, as owned rows: what the tests compare.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "history/history_csv.h"

namespace quorvex::testing {

inline std::vector<HistoryRow> ReadAllRows(std::string_view bytes) {
  std::vector<HistoryRow> rows;
  HistoryRowReader reader(bytes);
  for (HistoryRowView row; reader.Next(row);)
    rows.push_back({row.bucketMs, std::string(row.address), std::string(row.port), std::string(row.name), row.players});
  return rows;
}

}  // namespace quorvex::testing
