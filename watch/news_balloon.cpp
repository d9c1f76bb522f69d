#include "watch/news_balloon.h"

#include "common/numbers.h"

namespace quorvex {

Text PlayerNewsLine(const PlayerNews& news) {
  const Text server = CutUnits(news.serverName, kNewsServerNameUnits);
  return news.name + (news.event == PlayerEvent::kMoved ? u" moved to " : u" on ") + server;
}

Text JoinNewsLines(const std::vector<Text>& lines, std::u16string_view separator) {
  Text kept;
  size_t keptLines = 0;
  for (; keptLines < lines.size(); ++keptLines) {
    Text longer = keptLines == 0 ? lines[keptLines] : kept + Text(separator) + lines[keptLines];
    const size_t leftOut = lines.size() - keptLines - 1;
    const Text more = leftOut == 0 ? Text() : Text(separator) + u"and " + FormatPlain(int64_t(leftOut)) + u" more";
    if (longer.size() + more.size() > kNewsTextUnits) break;
    kept = std::move(longer);
  }
  if (keptLines == lines.size()) return kept;
  const Text more = u"and " + FormatPlain(int64_t(lines.size() - keptLines)) + u" more";
  return keptLines == 0 ? more : kept + Text(separator) + more;
}

void PendingNews::AddPlayerNews(const std::vector<PlayerNews>& news) {
  for (const PlayerNews& item : news) {
    const auto [entry, isNew] = placeOfName_.try_emplace(item.name, players_.size());
    if (isNew) {
      players_.push_back(item);
    } else {
      players_[entry->second] = item;
    }
  }
}

std::vector<Text> PendingNews::Lines() const {
  std::vector<Text> lines;
  for (const PlayerNews& news : players_) lines.push_back(PlayerNewsLine(news));
  return lines;
}

Text PendingNews::TakeText(std::u16string_view separator) {
  const Text text = JoinNewsLines(Lines(), separator);
  players_.clear();
  placeOfName_.clear();
  return text;
}

}  // namespace quorvex
