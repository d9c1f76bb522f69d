#include "menu/line_layout.h"

#include <algorithm>
#include <array>

#include "common/numbers.h"
#include "ping/no_answer.h"

namespace quorvex {

namespace {

struct LetterWeight {
  char16_t letter;
  double weight;
};

// The order matters: the width is rounded after every row.
constexpr std::array<LetterWeight, 22> kLetterWeights = {{
    {u'm', 0.9},   {u'w', 0.75},  {u'M', 0.9},   {u'W', 0.9},   {u'C', 0.9},   {u'P', 0.9},
    {u'F', 0.9},   {u'U', 0.9},   {u'B', 0.9},   {u' ', -0.3},  {u'.', -0.3},  {u',', -0.3},
    {u'i', -0.3},  {u'l', -0.3},  {u'j', -0.35}, {u'f', -0.35}, {u'r', -0.35}, {u's', -0.35},
    {u't', -0.35}, {u'I', -0.5},  {u'[', -0.6},  {u']', -0.6},
}};

constexpr int kWidestName = 18;
constexpr size_t kNameUnits = 17;
constexpr size_t kMapUnits = 16;
constexpr size_t kPlayerNamesUnits = 110;

Text Spaces(size_t count) { return Text(count, u' '); }

// The first 17 characters of the name and the spaces that line the version column up.
Text NameColumn(const Text& name) {
  const Text field = CutUnits(name, kNameUnits);
  const int pad = std::min(2 * (kWidestName - NameWidth(field)), 29);
  return field + Spaces(static_cast<size_t>(std::max(pad, 0)));
}

// map_name, or the last part of the map_id path when the server gives no map name.
Text MapText(const ServerRecord& record) {
  if (!record.map_name.empty()) return record.map_name;
  const size_t slash = record.map_id.rfind(u'/');
  return slash == Text::npos ? record.map_id : record.map_id.substr(slash + 1);
}

Text MapColumn(const ServerRecord& record) {
  const Text field = CutUnits(MapText(record), kMapUnits);
  const double pad = RoundHalfEven(static_cast<double>(kMapUnits - field.size()) * 1.66);
  return field + Spaces(static_cast<size_t>(pad));
}

// Right-aligned in `width` characters; a longer number keeps only its last digits.
Text RightAligned(const Text& number, size_t width) {
  if (number.size() >= width) return LastUnits(number, width);
  return Spaces(width - number.size()) + number;
}

// A server that gave no echo reply has the ping 999, shown as "--" (as is every "999" of
// the column's last six digits).
Text PingColumn(int16_t ping) {
  return ReplaceAll(RightAligned(FormatPlain(ping), 6), Text(kNoAnswerPing), u"--");
}

}  // namespace

int CountChar(const Text& text, char16_t character) {
  return static_cast<int>(std::count(text.begin(), text.end(), character));
}

int NameWidth(const Text& name) {
  double width = static_cast<double>(name.size());
  for (const LetterWeight& row : kLetterWeights) {
    const int count = CountChar(name, row.letter);
    if (count != 0) width = RoundHalfEven(width + count * row.weight);
  }
  return std::min(static_cast<int>(width), kWidestName);
}

Text FormatServerLine(const ServerRecord& record) {
  return NameColumn(record.name) + Spaces(13) + record.version + Spaces(20) + record.dedicated + Spaces(22) +
         (record.mode.empty() ? Text(u"-----") : record.mode) + Spaces(17) + MapColumn(record) + Spaces(7) +
         FormatSignedBlank(record.current_players) + Spaces(23) + RightAligned(FormatPlain(record.bots), 4) +
         Spaces(20) + PingColumn(record.ping);
}

Text FormatPlayerLine(const ServerRecord& record) {
  const Text& names = record.player_names;
  if (names.size() <= kPlayerNamesUnits) return Spaces(8) + names;
  const size_t lastSpace = CutUnits(names, kPlayerNamesUnits).rfind(u' ');
  if (lastSpace == Text::npos) return Spaces(8) + u"...";
  return Spaces(8) + names.substr(0, lastSpace + 1) + u"...";
}

const Text& HeaderLine() {
  static const Text header = Spaces(6) + u"Server" + Spaces(31) + u"Version" + Spaces(11) + u"Dedicated" +
                             Spaces(17) + u"Mode" + Spaces(17) + u"Map" + Spaces(20) + u"Players" + Spaces(17) +
                             u"Bots" + Spaces(21) + u"Ping";
  return header;
}

Text MarkedHeaderLine(int16_t sort) {
  static const std::array<Text, 6> kSortCaptions = {u"Server", u"Version", u"Map", u"Players", u"Bots", u"Ping"};
  if (sort < 0 || sort >= static_cast<int16_t>(kSortCaptions.size())) return HeaderLine();
  const Text& caption = kSortCaptions[static_cast<size_t>(sort)];
  return ReplaceAll(HeaderLine(), caption, caption + u"\u00B9");
}

}  // namespace quorvex
